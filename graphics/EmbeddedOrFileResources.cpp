#include "graphics/EmbeddedOrFileResources.h"

#include "resources/EmbeddedResources.h"

#include <fstream>
#include <iterator>

namespace kit::gfx
{
namespace
{

bool FileExists(const std::string& path)
{
  return !path.empty() && std::ifstream(path, std::ios::binary).good();
}

} // namespace

EResourceLocation LocateEmbeddedOrFile(const char* name, const char* ext,
                                       const std::vector<std::string>& dirs, std::string& result)
{
  result.clear();
  if (!name || !*name) return EResourceLocation::NotFound;
  // Embedded names match without regard to case.
  if (qm::resources::FindEmbeddedResource(name, ext ? ext : ""))
  {
    result = name;
    return EResourceLocation::WinBinary;
  }
  if (FileExists(name))
  {
    result = name;
    return EResourceLocation::AbsolutePath;
  }
  for (const std::string& dir : dirs)
  {
    if (const std::string path = dir + "/" + name; FileExists(path))
    {
      result = path;
      return EResourceLocation::AbsolutePath;
    }
  }
  return EResourceLocation::NotFound;
}

std::vector<uint8_t> LoadEmbeddedOrFile(const char* name, const char* ext,
                                        const std::vector<std::string>& dirs)
{
  std::string location;
  switch (LocateEmbeddedOrFile(name, ext, dirs, location))
  {
  case EResourceLocation::WinBinary:
  {
    const auto* res = qm::resources::FindEmbeddedResource(location, ext ? ext : "");
    return res ? std::vector<uint8_t>(res->data.begin(), res->data.end()) : std::vector<uint8_t>();
  }
  case EResourceLocation::AbsolutePath:
  {
    std::ifstream in(location, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  default:
    return {};
  }
}

PlatformFontPtr LoadFontEmbeddedOrFile(const char* name, const std::vector<std::string>& dirs)
{
  if (!name) return nullptr;
  const std::string file = name;
  const size_t dot = file.find_last_of('.');
  const std::string ext = dot == std::string::npos ? "ttf" : file.substr(dot + 1);
  std::vector<uint8_t> bytes = LoadEmbeddedOrFile(name, ext.c_str(), dirs);
  if (bytes.empty()) return nullptr;
  return std::make_unique<MemoryPlatformFont>(std::move(bytes));
}

} // namespace kit::gfx
