#include "tools/vsthost/PluginLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vsthost
{

#ifdef _WIN32

PluginLibrary::PluginLibrary(const std::string& path)
{
  mHandle = static_cast<void*>(::LoadLibraryA(path.c_str()));
  if (mHandle == nullptr)
    mError = "LoadLibrary failed with error " + std::to_string(::GetLastError());
}

PluginLibrary::~PluginLibrary()
{
  if (mHandle != nullptr) ::FreeLibrary(static_cast<HMODULE>(mHandle));
}

EntryPoint PluginLibrary::Find(const char* name) const
{
  if (mHandle == nullptr) return nullptr;
  return reinterpret_cast<EntryPoint>(
      reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(mHandle), name)));
}

#else

PluginLibrary::PluginLibrary(const std::string& path)
{
  mHandle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (mHandle == nullptr)
  {
    const char* error = ::dlerror();
    mError = error != nullptr ? error : "dlopen failed";
  }
}

PluginLibrary::~PluginLibrary()
{
  if (mHandle != nullptr) ::dlclose(mHandle);
}

EntryPoint PluginLibrary::Find(const char* name) const
{
  if (mHandle == nullptr) return nullptr;
  return reinterpret_cast<EntryPoint>(::dlsym(mHandle, name));
}

#endif

} // namespace vsthost
