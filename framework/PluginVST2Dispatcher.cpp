// The host's dispatcher: every opcode the binding answers. Opcodes not listed
// here (among them effSetBypass, effStartProcess, effStopProcess and
// effSetProcessPrecision) answer 0 and do nothing. effEditIdle answers 0 too;
// where the platform has no timer it drives the editor timer and the window.

#include "framework/PluginVST2Internal.h"
#include "graphics/GraphicsContext.h"
#include "graphics/GraphicsInput.h"

#include <cmath>
#include <cstdio>

namespace kit
{

using namespace vst2;

namespace
{
// Far above any real host's block (a few thousand frames), far below what would exhaust memory:
// every channel gets a scratch buffer of this many doubles.
constexpr std::intptr_t kMaxBlockSize = 1 << 20;
} // namespace

std::intptr_t PluginVST2::VSTDispatcher(AEffect* effect, std::int32_t opCode, std::int32_t idx,
                                        std::intptr_t value, void* ptr, float opt)
{
  PluginVST2* plug = GetPlug(effect);
  if (plug == nullptr) return 0;
  Trace("kit::PluginVST2::VSTDispatcher", "opCode:%i idx:%i value:%i\n", opCode, idx,
        static_cast<int>(value));
  // No exception may cross into the host: a failure anywhere answers 0.
  try
  {
    if (opCode == effClose)
    {
      delete plug;
      return 0;
    }
    return plug->Dispatch(opCode, idx, value, ptr, opt);
  }
  catch (...)
  {
    return 0;
  }
}

std::intptr_t PluginVST2::Dispatch(std::int32_t opCode, std::int32_t idx, std::intptr_t value,
                                   void* ptr, float opt)
{
  IParam* param = GetParam(idx);

  switch (opCode)
  {
  case effOpen:
    OpenHost();
    return 0;

  case effSetProgram:
    if (!DoesStateChunks()) ModifyCurrentPreset();
    if (value >= 0 && value < NPresets()) RestorePreset(static_cast<int>(value));
    return 0;

  case effGetProgram:
    return GetCurrentPresetIdx();

  case effSetProgramName:
    // The interface sizes the host's buffer at kVstMaxProgNameLen, whatever a preset may hold.
    if (ptr != nullptr) ModifyCurrentPreset(ReadText(ptr, kVstMaxProgNameLen).c_str());
    return 0;

  case effGetProgramName:
    CopyText(ptr, GetPresetName(GetCurrentPresetIdx()), kVstMaxProgNameLen);
    return 0;

  case effGetParamLabel:
    if (param != nullptr) CopyText(ptr, param->GetLabel().c_str(), kVstMaxParamStrLen);
    return 0;

  case effGetParamDisplay:
    if (param != nullptr) CopyText(ptr, param->GetDisplay().c_str(), kVstMaxParamStrLen);
    return 0;

  case effGetParamName:
    if (param != nullptr) CopyText(ptr, param->GetName().c_str(), kVstMaxParamStrLen);
    return 0;

  case effSetSampleRate:
    SetSampleRate(static_cast<double>(opt));
    OnReset();
    return 0;

  case effSetBlockSize:
    // Refused before anything is allocated for it.
    if (value < 0 || value > kMaxBlockSize) return 0;
    SetBlockSize(static_cast<int>(value));
    OnReset();
    return 0;

  case effMainsChanged:
    if (value == 0)
    {
      OnActivate(false);
      OnReset();
    }
    else
    {
      OnActivate(true);
    }
    return 0;

  case effEditGetRect:
    if (ptr != nullptr && HasUI())
    {
      *static_cast<ERect**>(ptr) = &mRecords->editRect;
      return 1;
    }
    return 0;

  case effEditOpen:
    return OpenWindow(ptr) != nullptr ? 1 : 0;

  case effEditClose:
    return EditClose();

  case effEditIdle:
    // Drives the editor timer where the platform has none; a no-op elsewhere.
    if (Timer* timer = GetTimer()) timer->Poll();
    if (gfx::GraphicsContext* ui = GetUI()) ui->PlatformIdle();
    return 0;

  case effIdentify:
    return FourCC('N', 'v', 'E', 'f');

  case effGetChunk:
    return GetChunk(idx, ptr);

  case effSetChunk:
    return SetChunk(idx, value, ptr);

  case effProcessEvents:
    return ProcessEvents(ptr);

  case effCanBeAutomated:
    return (param != nullptr && param->GetCanAutomate()) ? 1 : 0;

  case effString2Parameter:
    if (param == nullptr) return 0;
    if (ptr != nullptr) SetParameterFromHost(idx, param->StringToValue(ReadText(ptr, 255).c_str()));
    return 1;

  case effGetProgramNameIndexed:
    if (ptr == nullptr) return 0;
    CopyText(ptr, GetPresetName(idx), kVstMaxProgNameLen);
    return static_cast<const char*>(ptr)[0] != '\0' ? 1 : 0;

  case effGetInputProperties:
    return GetPinProperties(kInput, idx, ptr);

  case effGetOutputProperties:
    return GetPinProperties(kOutput, idx, ptr);

  case effGetPlugCategory:
    return GetPlugType() == kInstrument ? kPlugCategSynth : kPlugCategEffect;

  case effSetSpeakerArrangement:
    return SetSpeakerArrangements(reinterpret_cast<const void*>(value), ptr);

  case effGetEffectName:
    if (ptr == nullptr) return 0;
    CopyText(ptr, GetPluginName().c_str(), kVstMaxEffectNameLen);
    return 1;

  case effGetVendorString:
    if (ptr == nullptr) return 0;
    CopyText(ptr, GetMfrName().c_str(), kVstMaxVendorStrLen);
    return 1;

  case effGetProductString:
    if (ptr == nullptr) return 0;
    CopyText(ptr, GetProductName().c_str(), kVstMaxProductStrLen);
    return 1;

  case effGetVendorVersion:
    return GetPluginVersion(true);

  case effVendorSpecific:
    return VendorSpecific(idx, value, ptr, opt);

  case effCanDo:
    return CanDo(static_cast<const char*>(ptr));

  case effGetTailSize:
    return GetTailSize();

  case effGetParameterProperties:
  {
    if (param == nullptr || ptr == nullptr) return 0;
    auto& props = *static_cast<VstParameterProperties*>(ptr);
    std::memset(&props, 0, sizeof(props));
    switch (param->Type())
    {
    case IParam::kTypeBool:
      props.flags = kVstParameterIsSwitch;
      break;
    case IParam::kTypeInt:
    case IParam::kTypeEnum:
      props.flags = kVstParameterUsesIntegerMinMax | kVstParameterUsesIntStep;
      props.minInteger = static_cast<VstInt32>(param->GetMin());
      props.maxInteger = static_cast<VstInt32>(param->GetMax());
      props.stepInteger = 1;
      props.largeStepInteger = 1;
      break;
    default:
      props.flags = kVstParameterUsesFloatStep;
      props.stepFloat = props.smallStepFloat = props.largeStepFloat =
          static_cast<float>(param->GetStep());
      break;
    }
    CopyText(props.label, param->GetLabel().c_str(), kVstMaxLabelLen);
    return 1;
  }

  case effGetVstVersion:
    return kVstVersion;

  case effEditKeyDown:
  case effEditKeyUp:
    return EditKey(opCode == effEditKeyDown, idx, value, opt);

  case effGetMidiKeyName:
  {
    if (ptr == nullptr) return 0;
    auto& keyName = *static_cast<MidiKeyName*>(ptr);
    keyName.keyName[0] = '\0';
    char text[kVstMaxNameLen] = {};
    if (!GetMidiNoteText(keyName.thisKeyNumber, text)) return 0;
    text[kVstMaxNameLen - 1] = '\0';
    CopyText(keyName.keyName, text, kVstMaxNameLen);
    return 1;
  }

  case effGetSpeakerArrangement:
    if (value != 0) *reinterpret_cast<VstSpeakerArrangement**>(value) = &mRecords->inputArrangement;
    if (ptr != nullptr) *static_cast<VstSpeakerArrangement**>(ptr) = &mRecords->outputArrangement;
    return 1;

  default:
    return 0;
  }
}

std::intptr_t PluginVST2::EditClose()
{
  if (!HasUI()) return 0;
  CloseWindow(); // a close already in progress does nothing
  return 1;
}

std::intptr_t PluginVST2::GetChunk(std::int32_t idx, void* ptr)
{
  if (ptr == nullptr) return 0;
  IByteChunk& chunk = idx != 0 ? mState : mBankState;
  IByteChunk::InitChunkWithPluginVer(chunk);
  bool ok = false;
  if (idx != 0)
  {
    ok = SerializeState(chunk);
  }
  else
  {
    ModifyCurrentPreset();
    ok = SerializePresets(chunk);
  }
  if (!ok || chunk.Size() == 0) return 0;
  *static_cast<void**>(ptr) = chunk.GetData();
  return chunk.Size();
}

std::intptr_t PluginVST2::SetChunk(std::int32_t idx, std::intptr_t size, const void* ptr)
{
  if (ptr == nullptr || size < 0 || size > INT32_MAX) return 0;
  const bool isBank = idx == 0;
  // Hosts hand back the very buffer effGetChunk returned: copy out of it before anything of ours
  // is resized or overwritten.
  IByteChunk chunk;
  chunk.Resize(static_cast<int>(size));
  if (size > 0) std::memcpy(chunk.GetData(), ptr, static_cast<size_t>(size));

  int pos = 0;
  const int version = IByteChunk::GetPluginVerFromChunk(chunk, pos);
  if (isBank && version >= IByteChunk::kVersion)
  {
    pos = UnserializePresets(chunk, pos);
  }
  else
  {
    // UnserializeState answers 0 for a state it cannot read; nothing was loaded then.
    pos = UnserializeState(chunk, pos);
    if (pos > 0) ModifyCurrentPreset();
  }
  if (pos <= 0) return 0;
  OnRestoreState();
  return 1;
}

std::intptr_t PluginVST2::SetSpeakerArrangements(const void* input, const void* output)
{
  const auto* in = static_cast<const VstSpeakerArrangement*>(input);
  const auto* out = static_cast<const VstSpeakerArrangement*>(output);
  AEffect& effect = mRecords->effect;
  // Check both before changing anything, so that a refusal leaves the
  // connections as they were.
  if (in != nullptr && (in->numChannels < 0 || in->numChannels > effect.numInputs)) return 0;
  if (out != nullptr && (out->numChannels < 0 || out->numChannels > effect.numOutputs)) return 0;
  if (in != nullptr)
  {
    SetChannelConnections(kInput, 0, in->numChannels, true);
    SetChannelConnections(kInput, in->numChannels, NChannels(kInput) - in->numChannels, false);
  }
  if (out != nullptr)
  {
    SetChannelConnections(kOutput, 0, out->numChannels, true);
    SetChannelConnections(kOutput, out->numChannels, NChannels(kOutput) - out->numChannels, false);
  }
  return 1;
}

std::intptr_t PluginVST2::GetPinProperties(ERoute direction, std::int32_t idx, void* ptr)
{
  if (ptr == nullptr || idx < 0 || idx >= NChannels(direction)) return 0;
  auto& props = *static_cast<VstPinProperties*>(ptr);
  props.flags = kVstPinIsActive;
  if (idx % 2 == 0 && idx < NChannels(direction) - 1) props.flags |= kVstPinIsStereo;

  const std::string& label = GetChannelData(direction, idx).label;
  char text[kVstMaxLabelLen];
  if (!label.empty())
    std::snprintf(text, sizeof(text), "%s", label.c_str());
  else
    std::snprintf(text, sizeof(text), "%s %d", direction == kInput ? "Input" : "Output", idx + 1);
  CopyText(props.label, text, kVstMaxLabelLen);
  return 1;
}

std::intptr_t PluginVST2::ProcessEvents(const void* ptr)
{
  const auto* events = static_cast<const VstEvents*>(ptr);
  if (events == nullptr) return 1;
  for (VstInt32 i = 0; i < events->numEvents; ++i)
  {
    const VstEvent* event = events->events[i];
    if (event == nullptr) continue;
    if (event->type == kVstMidiType)
    {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      IMidiMsg msg;
      msg.offset = midi->deltaFrames;
      msg.status = static_cast<std::uint8_t>(midi->midiData[0]);
      msg.data1 = static_cast<std::uint8_t>(midi->midiData[1]);
      msg.data2 = static_cast<std::uint8_t>(midi->midiData[2]);
      ProcessMidiMessage(msg);
      SendMidiMsgToEditor(msg); // dropped when the editor's queue is full
    }
    else if (event->type == kVstSysExType)
    {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      ISysEx msg;
      msg.offset = sysex->deltaFrames;
      msg.size = sysex->dumpBytes;
      msg.data = reinterpret_cast<const std::uint8_t*>(sysex->sysexDump);
      ProcessSysEx(msg);
    }
  }
  return 1;
}

std::intptr_t PluginVST2::CanDo(const char* text)
{
  if (text == nullptr) return 0;
  const std::string_view what(text);
  if (what == "receiveVstTimeInfo") return 1;
  if (DoesMidiIn() && (what == "receiveVstEvents" || what == "receiveVstMidiEvent")) return 1;
  if (DoesMidiOut() && (what == "sendVstEvents" || what == "sendVstMidiEvent")) return 1;
  if (what == "hasCockosExtensions")
  {
    mHostExtensions |= 1;
    return static_cast<std::intptr_t>(0xBEEF0000);
  }
  if (what == "hasCockosViewAsConfig")
  {
    mHostExtensions |= 2;
    return static_cast<std::intptr_t>(0xBEEF0000);
  }
  if (what == "wantsChannelCountNotifications") return 1;
  return VSTCanDo(text);
}

std::intptr_t PluginVST2::VendorSpecific(std::int32_t idx, std::intptr_t value, void* ptr,
                                         float opt)
{
  // The text buffers of these extension requests are larger than the plain
  // parameter texts; a name-sized buffer is what every host that asks provides.
  constexpr int kTextSize = kVstMaxNameLen;
  const IParam* param = GetParam(static_cast<int>(value));
  switch (idx)
  {
  case effGetParamDisplay:
    if (ptr == nullptr) break;
    if (param != nullptr)
      CopyText(ptr, param->GetDisplay(static_cast<double>(opt), true).c_str(), kTextSize);
    return 0xBEEF;

  case effGetParamName:
    if (param != nullptr &&
        (param->Type() == IParam::kTypeBool ||
         ((param->Type() == IParam::kTypeInt || param->Type() == IParam::kTypeEnum) &&
          param->GetRange() < 1.5)))
      return 0xBEEF;
    break;

  case effString2Parameter:
  {
    if (ptr == nullptr || param == nullptr) break;
    const std::string text = ReadText(ptr, kTextSize - 1);
    if (!text.empty())
    {
      char normalized[kTextSize];
      std::snprintf(normalized, sizeof(normalized), "%.17f",
                    param->ToNormalized(param->StringToValue(text.c_str())));
      CopyText(ptr, normalized, kTextSize);
    }
    return 0xBEEF;
  }

  default:
    break;
  }
  return VSTVendorSpecific(idx, value, ptr, opt);
}

std::intptr_t PluginVST2::EditKey(bool down, std::int32_t character, std::intptr_t value, float opt)
{
  const char text[2] = {static_cast<char>(character), '\0'};
  const int modifiers = static_cast<int>(opt);
  const gfx::IKeyPress key(text, VSTKeyCodeToVK(static_cast<int>(value), character),
                           modifiers & MODIFIER_SHIFT, modifiers & MODIFIER_CONTROL,
                           modifiers & MODIFIER_ALTERNATE);
  return (down ? OnKeyDown(key) : OnKeyUp(key)) ? 1 : 0;
}

void PluginVST2::SetParameterFromHost(int paramIdx, double value)
{
  IParam* param = GetParam(paramIdx);
  if (param == nullptr) return;
  param->Set(value); // snaps to the step and clamps
  SendParameterValueFromAPI(paramIdx, param->Value(), false);
  OnParamChange(paramIdx, kHost, -1);
}

float PluginVST2::VSTGetParameter(AEffect* effect, std::int32_t idx)
{
  PluginVST2* plug = GetPlug(effect);
  const IParam* param = plug != nullptr ? plug->GetParam(idx) : nullptr;
  return param != nullptr ? static_cast<float>(param->GetNormalized()) : 0.f;
}

void PluginVST2::VSTSetParameter(AEffect* effect, std::int32_t idx, float value)
{
  PluginVST2* plug = GetPlug(effect);
  IParam* param = plug != nullptr ? plug->GetParam(idx) : nullptr;
  if (param == nullptr) return;
  try
  {
    param->SetNormalized(value);
    plug->SendParameterValueFromAPI(idx, value, true);
    plug->OnParamChange(idx, kHost, -1);
  }
  catch (...)
  {
  }
}

} // namespace kit
