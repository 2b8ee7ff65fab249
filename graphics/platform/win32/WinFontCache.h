#pragma once

// Fonts the Windows window has loaded, shared by every editor in the process.
// Each font's bytes are registered privately with the system (so the text
// entry box can use the face by name) and kept for the NanoVG back end. The
// cache lives while at least one window object exists; the last one to go
// unregisters the fonts.

#include "graphics/FontNameTable.h"
#include "graphics/platform/win32/WinIncludes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kit::gfx
{

struct WinFont
{
  std::vector<uint8_t> bytes;
  FontFaceNames names;
  HANDLE memoryFont = nullptr; // AddFontMemResourceEx handle
};

class WinFontCache
{
public:
  // Reference counting by live window objects. [ui thread]
  static void Retain();
  static void Release();

  // The font cached under `key`, or null.
  static std::shared_ptr<const WinFont> Find(const std::string& key);
  // Registers `bytes` with the system, reads the face names and caches the
  // result under `key`; null when the bytes are not a usable font.
  static std::shared_ptr<const WinFont> Add(const std::string& key, std::vector<uint8_t> bytes);
  // The cached font whose fontID (key without the scale suffix) is `fontID`.
  static std::shared_ptr<const WinFont> FindByFontID(const std::string& fontID);
};

} // namespace kit::gfx
