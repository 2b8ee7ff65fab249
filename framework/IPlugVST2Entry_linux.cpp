// The plug-in library's only exports. Built into the shared library alone
// (not into the core library, whose test programs have their own main).

#include "framework/IPlugVST2.h"

#define TRAZELLE_EXPORT extern "C" __attribute__((visibility("default")))

TRAZELLE_EXPORT iplug::vst2::AEffect* VSTPluginMain(iplug::VSTHostCallback hostCallback)
{
  return iplug::VSTPluginMainImpl(hostCallback);
}

// Older hosts look for "main"; a C++ function cannot be called that, so the
// symbol is named by its assembler label.
TRAZELLE_EXPORT iplug::vst2::AEffect*
VSTPluginMainLegacy(iplug::VSTHostCallback hostCallback) __asm__("main");

iplug::vst2::AEffect* VSTPluginMainLegacy(iplug::VSTHostCallback hostCallback)
{
  return iplug::VSTPluginMainImpl(hostCallback);
}
