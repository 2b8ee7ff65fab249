#include "graphics/FontNameTable.h"

namespace kit::gfx
{
namespace
{

uint16_t U16(std::span<const uint8_t> d, size_t at)
{
  return static_cast<uint16_t>(d[at] << 8 | d[at + 1]);
}

uint32_t U32(std::span<const uint8_t> d, size_t at)
{
  return static_cast<uint32_t>(U16(d, at)) << 16 | U16(d, at + 2);
}

bool Contains(const std::string& s, const char* word)
{
  return s.find(word) != std::string::npos;
}

// Whether a record's text is UTF-16 big-endian (Unicode and Windows
// platforms) or single-byte (Macintosh).
bool IsWide(uint16_t platform)
{
  return platform == 0 || platform == 3;
}

// Higher is better; 0 means unusable.
int Rank(uint16_t platform, uint16_t encoding, uint16_t language)
{
  if (platform == 3 && (encoding == 1 || encoding == 10)) return language == 0x0409 ? 4 : 3;
  if (platform == 0) return 2;
  if (platform == 1 && encoding == 0) return language == 0 ? 1 : 0;
  return 0;
}

std::string Decode(std::span<const uint8_t> text, bool wide)
{
  std::string out;
  const size_t step = wide ? 2 : 1;
  for (size_t i = 0; i + step <= text.size(); i += step)
  {
    const unsigned ch = wide ? U16(text, i) : text[i];
    if (ch >= 0x20 && ch < 0x7F) out.push_back(static_cast<char>(ch));
  }
  return out;
}

} // namespace

bool FontFaceNames::IsBold() const
{
  return Contains(style, "Bold");
}
bool FontFaceNames::IsItalic() const
{
  return Contains(style, "Italic") || Contains(style, "Oblique");
}

bool ReadFontFaceNames(std::span<const uint8_t> font, FontFaceNames& names)
{
  if (font.size() < 12) return false;
  size_t directory = 0;
  if (U32(font, 0) == 0x74746366) // 'ttcf': use the first face of a collection
  {
    if (font.size() < 16) return false;
    directory = U32(font, 12);
    if (directory > font.size() || font.size() - directory < 12) return false;
  }
  const uint16_t numTables = U16(font, directory + 4);
  size_t nameTable = 0, nameLength = 0;
  for (uint16_t i = 0; i < numTables; ++i)
  {
    const size_t entry = directory + 12 + size_t{i} * 16;
    if (entry + 16 > font.size()) return false;
    if (U32(font, entry) == 0x6E616D65) // 'name'
    {
      nameTable = U32(font, entry + 8);
      nameLength = U32(font, entry + 12);
    }
  }
  if (nameTable == 0 || nameTable > font.size() || font.size() - nameTable < nameLength ||
      nameLength < 6)
    return false;
  const auto table = font.subspan(nameTable, nameLength);
  const uint16_t count = U16(table, 2);
  const size_t strings = U16(table, 4);

  std::string found[2];
  int rank[2] = {0, 0};
  for (uint16_t i = 0; i < count; ++i)
  {
    const size_t record = 6 + size_t{i} * 12;
    if (record + 12 > table.size()) break;
    const uint16_t platform = U16(table, record), encoding = U16(table, record + 2);
    const uint16_t language = U16(table, record + 4), nameId = U16(table, record + 6);
    const size_t length = U16(table, record + 8), offset = U16(table, record + 10);
    if (nameId != 1 && nameId != 2) continue;
    const int r = Rank(platform, encoding, language);
    if (r <= rank[nameId - 1]) continue;
    if (strings + offset + length > table.size()) continue;
    std::string text = Decode(table.subspan(strings + offset, length), IsWide(platform));
    if (text.empty()) continue;
    found[nameId - 1] = std::move(text);
    rank[nameId - 1] = r;
  }
  if (found[0].empty()) return false;
  names.family = found[0];
  names.style = found[1].empty() ? "Regular" : found[1];
  return true;
}

} // namespace kit::gfx
