// The plug-in library's only exports, and the library's load hook that
// records its module handle (the editor loads its resources through it).

#include "framework/PluginVST2.h"

#include <windows.h>

#define TRAZELLE_EXPORT extern "C" __declspec(dllexport)

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

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
  if (reason == DLL_PROCESS_ATTACH) kit::gModuleHandle = instance;
  return TRUE;
}
