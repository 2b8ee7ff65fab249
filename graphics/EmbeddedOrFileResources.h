#pragma once

// Resource lookup for platforms that carry no resources of their own (the X11
// window and the headless one): the plug-in's embedded resources first (name,
// and the extension as type), then a file at that path, then the same name in
// each extra directory, in order.

#include "graphics/GraphicsContext.h"
#include "graphics/PlatformFont.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kit::gfx
{

// Where the resource is; `result` names it (the embedded name or the file's
// path), empty when not found.
EResourceLocation LocateEmbeddedOrFile(const char* name, const char* ext,
                                       const std::vector<std::string>& dirs, std::string& result);
// Its bytes; empty when it is nowhere or cannot be read.
std::vector<uint8_t> LoadEmbeddedOrFile(const char* name, const char* ext,
                                        const std::vector<std::string>& dirs);
// A font by file name (the extension defaults to ttf); null when not found.
PlatformFontPtr LoadFontEmbeddedOrFile(const char* name, const std::vector<std::string>& dirs);

} // namespace kit::gfx
