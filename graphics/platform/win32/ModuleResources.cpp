#include "graphics/platform/win32/ModuleResources.h"

#include <cctype>
#include <cstdio>

namespace kit::gfx
{
namespace
{

std::string Upper(std::string s)
{
  for (char& c : s)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::wstring Wide(const std::string& utf8)
{
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes)
{
  FILE* f = _wfopen(Wide(path).c_str(), L"rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size > 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok)
  {
    bytes.resize(static_cast<size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  std::fclose(f);
  if (!ok) bytes.clear();
  return ok;
}

} // namespace

void ResourceNameAndType(const std::string& fileName, const char* defaultExtension,
                         std::string& name, std::string& type)
{
  // Only the file's own name identifies a resource, not its folder.
  const size_t slash = fileName.find_last_of("/\\");
  name = Upper(slash == std::string::npos ? fileName : fileName.substr(slash + 1));
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos)
  {
    type = name.substr(dot + 1);
    return;
  }
  type = Upper(defaultExtension ? defaultExtension : "");
  if (!type.empty()) name += "." + type;
}

std::span<const uint8_t> FindModuleResource(HMODULE module, const std::string& fileName,
                                            const char* defaultExtension)
{
  std::string name, type;
  ResourceNameAndType(fileName, defaultExtension, name, type);
  if (name.empty() || type.empty()) return {};
  HRSRC res = FindResourceExA(module, type.c_str(), name.c_str(), kResourceLanguage);
  if (!res) res = FindResourceA(module, name.c_str(), type.c_str());
  if (!res) return {};
  const DWORD size = SizeofResource(module, res);
  HGLOBAL handle = LoadResource(module, res);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data || size < kMinResourceBytes) return {};
  return {static_cast<const uint8_t*>(data), size};
}

std::vector<uint8_t> LoadResourceOrFile(HMODULE module, const std::string& fileName,
                                        const char* defaultExtension)
{
  const auto res = FindModuleResource(module, fileName, defaultExtension);
  if (!res.empty()) return {res.begin(), res.end()};
  std::vector<uint8_t> bytes;
  ReadFile(fileName, bytes);
  return bytes;
}

} // namespace kit::gfx
