// The plug-in library's only exports. Built into the shared library alone
// (not into the core library, whose test programs have their own main).

#include "framework/PluginVST2.h"

#define TRAZELLE_EXPORT extern "C" __attribute__((visibility("default")))

TRAZELLE_EXPORT kit::vst2::AEffect* VSTPluginMain(kit::VSTHostCallback hostCallback)
{
  return kit::VSTPluginMainImpl(hostCallback);
}

// Older hosts look for "main"; a C++ function cannot be called that, so the
// symbol is named by its assembler label.
TRAZELLE_EXPORT kit::vst2::AEffect*
VSTPluginMainLegacy(kit::VSTHostCallback hostCallback) __asm__("main");

kit::vst2::AEffect* VSTPluginMainLegacy(kit::VSTHostCallback hostCallback)
{
  return kit::VSTPluginMainImpl(hostCallback);
}
