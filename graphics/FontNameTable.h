#pragma once

// Family and style names read from a TrueType font's 'name' table, so that a
// platform can ask its font system for a face it was only given as bytes.

#include <cstdint>
#include <span>
#include <string>

namespace kit::gfx
{

struct FontFaceNames
{
  std::string family; // name id 1, e.g. "Roboto"
  std::string style;  // name id 2, e.g. "Regular", "Bold Italic"

  bool IsBold() const;
  bool IsItalic() const;
  // 700 for a bold face, 400 otherwise.
  int Weight() const { return IsBold() ? 700 : 400; }
};

// Reads the first face's names. Prefers Windows Unicode English records and
// falls back to Macintosh Roman ones; only ASCII survives the conversion.
// False when the data is not a font or has no family name; every offset is
// bounds-checked, so truncated or hostile data fails cleanly.
bool ReadFontFaceNames(std::span<const uint8_t> font, FontFaceNames& names);

} // namespace kit::gfx
