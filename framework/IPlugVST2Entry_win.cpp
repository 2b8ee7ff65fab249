// The plug-in library's only exports, and the library's load hook that
// records its module handle (the editor loads its resources through it).

#include "framework/IPlugVST2.h"

#include <windows.h>

#define TRAZELLE_EXPORT extern "C" __declspec(dllexport)

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

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
  if (reason == DLL_PROCESS_ATTACH) iplug::gModuleHandle = instance;
  return TRUE;
}
