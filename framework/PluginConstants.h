#pragma once

// Small shared definitions of the plug-in framework: parameter-change
// sources and the trace hook.

namespace kit
{

// Who changed a parameter. The names are what the trace output uses.
enum EParamSource
{
  kReset = 0,
  kHost,
  kPresetRecall,
  kUI,
  kDelegate,
  kRecompile,
  kUnknown,
  kNumParamSources
};

inline const char* ParamSourceName(int source)
{
  static constexpr const char* kNames[kNumParamSources] = {
      "Reset", "Host", "Preset", "UI", "Editor Delegate", "Recompile", "Unknown"};
  return (source >= 0 && source < kNumParamSources) ? kNames[source] : kNames[kUnknown];
}

// Entry points record where they are and what they were given. The release
// sink discards everything; keeping the calls documents the traffic and lets a
// debugging build route them somewhere without touching the callers.
template <typename... Args>
inline void Trace(const char* /*location*/, const char* /*format*/, const Args&... /*args*/)
{
}

} // namespace kit
