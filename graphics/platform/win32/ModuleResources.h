#pragma once

// Bytes the editor loads by file name: first a resource of the plug-in's own
// module (name = the upper-cased file name, type = its upper-cased
// extension, language English (United Kingdom)), then a file of that name on
// disk. A resource smaller than 8 bytes counts as missing: no font or image
// is that small, and an empty placeholder must not hide the file.

#include "graphics/platform/win32/WinIncludes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kit::gfx
{

inline constexpr WORD kResourceLanguage = 2057;
inline constexpr size_t kMinResourceBytes = 8;

// "Roboto-Regular.ttf" → name "ROBOTO-REGULAR.TTF", type "TTF". A name
// without extension gets `defaultExtension` ("Roboto-Regular", "ttf" → the
// same pair).
void ResourceNameAndType(const std::string& fileName, const char* defaultExtension,
                         std::string& name, std::string& type);

// The resource's bytes, mapped for the life of the module, or empty.
std::span<const uint8_t> FindModuleResource(HMODULE module, const std::string& fileName,
                                            const char* defaultExtension = "");

// The resource's bytes, else the file's, copied; empty when neither exists.
std::vector<uint8_t> LoadResourceOrFile(HMODULE module, const std::string& fileName,
                                        const char* defaultExtension = "");

} // namespace kit::gfx
