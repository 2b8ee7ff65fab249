#include "framework/PluginVST2.h"

#include "framework/PluginVST2Internal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace kit
{

using namespace vst2;

static_assert(std::is_same_v<VSTHostCallback, audioMasterCallback>);

void* gModuleHandle = nullptr;

namespace
{

// Hosts that offer more input channels than they feed: only the first stereo
// pair of inputs stays connected for them.
bool HostWantsStereoInputOnly(EHost host)
{
  return host == kHostForte || host == kHostAudition || host == kHostOrion ||
         host == kHostSAWStudio;
}

} // namespace

PluginVST2::PluginVST2(const InstanceInfo& info, const Config& config)
    : PluginAPIBase(config, kAPIVST2), PluginProcessor(config),
      mRecords(std::make_unique<Records>()), mHostCallback(info.mVSTHostCallback)
{
  AEffect& effect = mRecords->effect;
  effect.magic = kEffectMagic;
  effect.object = static_cast<PluginVST2*>(this);
  effect.dispatcher = VSTDispatcher;
  effect.setParameter = VSTSetParameter;
  effect.getParameter = VSTGetParameter;
  effect.process = VSTProcess;
  effect.processReplacing = VSTProcessReplacing;
  effect.processDoubleReplacing = VSTProcessDoubleReplacing;
  effect.numPrograms = NPresets();
  effect.numParams = NParams();
  effect.numInputs = NChannels(kInput);
  effect.numOutputs = NChannels(kOutput);
  effect.uniqueID = GetUniqueID();
  effect.version = GetPluginVersion(true);
  effect.initialDelay = GetLatency();
  effect.ioRatio = 1.f;
  effect.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (DoesStateChunks()) effect.flags |= effFlagsProgramChunks;
  if (LegalIO(1, -1)) effect.flags |= effFlagsCanMono;
  if (GetPlugType() == kInstrument) effect.flags |= effFlagsIsSynth;

  SetArrangement(mRecords->inputArrangement, NChannels(kInput));
  SetArrangement(mRecords->outputArrangement, NChannels(kOutput));

  SetChannelConnections(kInput, 0, NChannels(kInput), true);
  SetChannelConnections(kOutput, 0, NChannels(kOutput), true);
  SetBlockSize(512);

  if (HasUI())
  {
    effect.flags |= effFlagsHasEditor;
    mRecords->editRect.bottom = static_cast<VstInt16>(GetEditorHeight());
    mRecords->editRect.right = static_cast<VstInt16>(GetEditorWidth());
  }

  CreateTimer();
}

PluginVST2::~PluginVST2() = default;

AEffect* PluginVST2::GetAEffect()
{
  return &mRecords->effect;
}

std::intptr_t PluginVST2::CallHost(std::int32_t opCode, std::int32_t idx, std::intptr_t value,
                                   void* ptr, float opt)
{
  return mHostCallback != nullptr ? mHostCallback(&mRecords->effect, opCode, idx, value, ptr, opt)
                                  : 0;
}

// ---------------------------------------------------------------------------
// Host notifications

void PluginVST2::InformHostOfParamChange(int paramIdx, double normalizedValue)
{
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalizedValue));
}

void PluginVST2::BeginInformHostOfParamChange(int paramIdx)
{
  CallHost(audioMasterBeginEdit, paramIdx);
}

void PluginVST2::EndInformHostOfParamChange(int paramIdx)
{
  CallHost(audioMasterEndEdit, paramIdx);
}

void PluginVST2::InformHostOfParameterDetailsChange()
{
  CallHost(audioMasterUpdateDisplay);
}

bool PluginVST2::EditorResize(int viewWidth, int viewHeight)
{
  ERect& rect = mRecords->editRect;
  if (viewWidth == rect.right - rect.left && viewHeight == rect.bottom - rect.top) return true;
  rect.top = 0;
  rect.left = 0;
  rect.right = static_cast<VstInt16>(viewWidth);
  rect.bottom = static_cast<VstInt16>(viewHeight);
  return CallHost(audioMasterSizeWindow, viewWidth, viewHeight) != 0;
}

void PluginVST2::SetLatency(int samples)
{
  PluginProcessor::SetLatency(samples);
  mRecords->effect.initialDelay = samples;
}

bool PluginVST2::SendMidiMessage(const IMidiMsg& msg)
{
  VstMidiEvent event{};
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = msg.offset;
  event.flags = kVstMidiEventIsRealtime;
  event.midiData[0] = static_cast<char>(msg.status);
  event.midiData[1] = static_cast<char>(msg.data1);
  event.midiData[2] = static_cast<char>(msg.data2);

  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool PluginVST2::SendSysEx(const ISysEx& msg)
{
  VstMidiSysexEvent event{};
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = msg.offset;
  event.dumpBytes = msg.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(msg.data));

  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&event);
  return CallHost(audioMasterProcessEvents, 0, 0, &events) == 1;
}

// ---------------------------------------------------------------------------
// Opening

void PluginVST2::OpenHost()
{
  if (GetHost() == kHostUninit)
  {
    // Zeroed and one byte larger than any host may fill, so always terminated.
    char productName[kVstMaxProductStrLen * 4 + 1] = {};
    CallHost(audioMasterGetProductString, 0, 0, productName);
    productName[sizeof(productName) - 1] = '\0';
    int version = 0;
    if (productName[0] != '\0')
    {
      const auto decimal = static_cast<int>(CallHost(audioMasterGetVendorVersion));
      version = ((decimal / 10000) << 16) | (((decimal % 10000) / 100) << 8) | (decimal % 100);
    }
    SetHost(productName, version);
    HostSpecificChannelSetup();
  }
  OnAllParamsChanged(kReset);
}

void PluginVST2::HostSpecificChannelSetup()
{
  if (HostWantsStereoInputOnly(GetHost()))
  {
    SetChannelConnections(kInput, 2, NChannels(kInput) - 2, false);
    SetChannelConnections(kOutput, 2, NChannels(kOutput) - 2, true);
  }
  AEffect& effect = mRecords->effect;
  effect.numInputs = NChannels(kInput);
  effect.numOutputs = NChannels(kOutput);
  mRecords->inputArrangement.numChannels = NChannels(kInput);
  mRecords->outputArrangement.numChannels = NChannels(kOutput);
}

} // namespace kit
