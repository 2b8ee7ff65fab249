#pragma once

// Shared by the binding's sources only: the ABI records an instance owns and
// the text helpers every host buffer goes through.

#include "framework/PluginVST2.h"
#include "framework/VST2Interface.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kit
{

struct PluginVST2::Records
{
  vst2::AEffect effect{};
  vst2::ERect editRect{};
  vst2::VstSpeakerArrangement inputArrangement{};
  vst2::VstSpeakerArrangement outputArrangement{};
};

// Copies text into a host buffer of bufferSize bytes: cut to fit and always
// terminated. A null buffer is never written.
inline void CopyText(void* ptr, const char* text, int bufferSize)
{
  if (ptr == nullptr || bufferSize <= 0) return;
  auto* out = static_cast<char*>(ptr);
  const size_t length =
      std::min(std::strlen(text != nullptr ? text : ""), static_cast<size_t>(bufferSize - 1));
  if (length > 0) std::memcpy(out, text, length);
  out[length] = '\0';
}

// Reads a host text of at most maxLength characters that may lack a terminator.
inline std::string ReadText(const void* ptr, size_t maxLength)
{
  const auto* text = static_cast<const char*>(ptr);
  size_t length = 0;
  while (length < maxLength && text[length] != '\0')
    ++length;
  return std::string(text, length);
}

inline int SpeakerArrangementType(int nChannels)
{
  switch (nChannels)
  {
  case 0:
    return vst2::kSpeakerArrEmpty;
  case 1:
    return vst2::kSpeakerArrMono;
  case 2:
    return vst2::kSpeakerArrStereo;
  default:
    return vst2::kSpeakerArrUserDefined;
  }
}

inline void SetArrangement(vst2::VstSpeakerArrangement& arrangement, int nChannels)
{
  arrangement.numChannels = nChannels;
  arrangement.type = SpeakerArrangementType(nChannels);
}

inline PluginVST2* GetPlug(vst2::AEffect* effect)
{
  return effect != nullptr ? static_cast<PluginVST2*>(effect->object) : nullptr;
}

} // namespace kit
