// The body of the exported entry points. Kept apart from the binding so that
// programs that use the binding without a plug-in (tests) need no MakePlug.

#include "framework/PluginVST2Internal.h"

#include <algorithm>
#include <mutex>

namespace kit
{

vst2::AEffect* VSTPluginMainImpl(VSTHostCallback hostCallback)
{
  // Hosts may create instances from several threads; construction touches
  // process-wide state (timer registry, caches) and is serialised here.
  static std::mutex constructionLock;
  std::lock_guard guard(constructionLock);

  PluginVST2* plug = nullptr;
  try
  {
    plug = MakePlug(InstanceInfo{hostCallback});
    if (plug == nullptr) return nullptr;
    plug->MakeDefaultPresets("Empty", plug->NPresets());
  }
  catch (...)
  {
    // A host cannot take an exception through a C entry point.
    delete plug;
    return nullptr;
  }

  vst2::AEffect* effect = plug->GetAEffect();
  effect->numPrograms = std::max(effect->numPrograms, 1);
  return effect;
}

} // namespace kit
