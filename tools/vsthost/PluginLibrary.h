#pragma once

// Loads a plug-in library and finds its entry points, the way a host does:
// dlopen/dlsym on Linux, LoadLibrary/GetProcAddress on Windows.

#include "framework/VST2Interface.h"

#include <string>

namespace vsthost
{

using EntryPoint = kit::vst2::AEffect* (*)(kit::vst2::audioMasterCallback);

class PluginLibrary
{
public:
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool IsLoaded() const { return mHandle != nullptr; }
  const std::string& GetError() const { return mError; }
  // Null when the library has no such symbol.
  EntryPoint Find(const char* name) const;

private:
  void* mHandle = nullptr;
  std::string mError;
};

} // namespace vsthost
