// The binding driven in-process through its effect record, with a recording
// host callback. The plug-in binary's own checks (through dlopen) are in
// tools/vsthost.

#include "framework/VST2Interface.h"
#include "tests/unit/TestPlugins.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace kit;
using namespace kit::vst2;
using trazelle_test::StatePlugBase;
using trazelle_test::TestConfig;

namespace
{

struct RecordingHost
{
  std::string productString = "Cubase 12";
  VstIntPtr vendorVersion = 120003;
  VstTimeInfo timeInfo{};
  bool giveTime = true;
  VstIntPtr processLevel = kVstProcessLevelRealtime;
  VstIntPtr eventsAnswer = 1;
  std::map<VstInt32, int> calls;
  std::vector<std::vector<unsigned char>> events; // copies of the first event of each call
  std::vector<std::pair<VstInt32, VstIntPtr>> sizeRequests;
  std::vector<std::pair<VstInt32, float>> automation;
};

RecordingHost* gHost = nullptr;

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt)
{
  RecordingHost& host = *gHost;
  ++host.calls[opcode];
  switch (opcode)
  {
  case audioMasterGetProductString:
    std::snprintf(static_cast<char*>(ptr), kVstMaxProductStrLen, "%s", host.productString.c_str());
    return 1;
  case audioMasterGetVendorVersion:
    return host.vendorVersion;
  case audioMasterGetTime:
    return host.giveTime ? reinterpret_cast<VstIntPtr>(&host.timeInfo) : 0;
  case audioMasterGetCurrentProcessLevel:
    return host.processLevel;
  case audioMasterProcessEvents:
  {
    const auto* list = static_cast<const VstEvents*>(ptr);
    const auto* first = reinterpret_cast<const unsigned char*>(list->events[0]);
    host.events.emplace_back(first, first + list->events[0]->byteSize);
    return host.eventsAnswer;
  }
  case audioMasterSizeWindow:
    host.sizeRequests.emplace_back(index, value);
    return 1;
  case audioMasterAutomate:
    host.automation.emplace_back(index, opt);
    return 0;
  default:
    return 0;
  }
}

class TestVSTPlug : public StatePlugBase<PluginVST2>
{
public:
  explicit TestVSTPlug(const Config& config = TestConfig())
      : StatePlugBase<PluginVST2>(InstanceInfo{HostCallback}, config)
  {
  }
  void ProcessMidiMessage(const IMidiMsg& msg) override { midiIn.push_back(msg); }
  void ProcessSysEx(const ISysEx& msg) override
  {
    sysexIn.emplace_back(msg.data, msg.data + msg.size);
  }
  void OnReset() override { ++resets; }
  void OnActivate(bool active) override { activations.push_back(active); }
  bool Resize(int w, int h) { return EditorResize(w, h); }
  using PluginAPIBase::mMidiMsgsFromEditor;

  std::vector<IMidiMsg> midiIn;
  std::vector<std::vector<std::uint8_t>> sysexIn;
  std::vector<bool> activations;
  int resets = 0;
};

class VST2Binding : public ::testing::Test
{
protected:
  void SetUp() override { gHost = &host; }
  void TearDown() override { gHost = nullptr; }

  // Owned by the test: effClose would delete it.
  std::unique_ptr<TestVSTPlug> Make(const Config& config = TestConfig())
  {
    auto plug = std::make_unique<TestVSTPlug>(config);
    plug->MakeDefaultPresets("Empty", plug->NPresets());
    return plug;
  }

  static VstIntPtr Dispatch(TestVSTPlug& plug, VstInt32 opcode, VstInt32 index = 0,
                            VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.f)
  {
    AEffect* effect = plug.GetAEffect();
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  RecordingHost host;
};

} // namespace

TEST_F(VST2Binding, EffectRecordFollowsTheConfiguration)
{
  auto plug = Make();
  const AEffect& effect = *plug->GetAEffect();
  EXPECT_EQ(effect.magic, 0x56737450);
  EXPECT_EQ(effect.flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks |
                              effFlagsCanDoubleReplacing);
  EXPECT_EQ(effect.version, 10203);
  EXPECT_EQ(effect.uniqueID, FourCC('T', 's', 't', '1'));
  EXPECT_EQ(effect.object, static_cast<PluginVST2*>(plug.get()));
  EXPECT_EQ(plug->GetBlockSize(), 512);
  EXPECT_TRUE(plug->IsChannelConnected(kInput, 1));
  EXPECT_TRUE(plug->IsChannelConnected(kOutput, 1));
}

TEST_F(VST2Binding, MonoInputAndInstrumentFlags)
{
  Config config = TestConfig();
  config.channelIOStr = "1-1 1-2";
  config.plugType = kInstrument;
  config.plugHasUI = false;
  config.plugDoesChunks = false;
  auto plug = Make(config);
  EXPECT_EQ(plug->GetAEffect()->flags,
            effFlagsCanMono | effFlagsIsSynth | effFlagsCanReplacing | effFlagsCanDoubleReplacing);
  EXPECT_EQ(Dispatch(*plug, effGetPlugCategory), kPlugCategSynth);
  ERect* rect = nullptr;
  EXPECT_EQ(Dispatch(*plug, effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(Dispatch(*plug, effEditClose), 0);
}

TEST_F(VST2Binding, OpenIdentifiesTheHostOnce)
{
  auto plug = Make();
  Dispatch(*plug, effOpen);
  EXPECT_EQ(plug->GetHost(), kHostCubase);
  EXPECT_EQ(plug->GetHostVersion(), (12 << 16) | (0 << 8) | 3);
  host.productString = "REAPER";
  Dispatch(*plug, effOpen);
  EXPECT_EQ(plug->GetHost(), kHostCubase);
  EXPECT_EQ(host.calls[audioMasterGetProductString], 1);
}

TEST_F(VST2Binding, HostWithoutANameIsUnknownAndNotAskedForAVersion)
{
  host.productString = "";
  auto plug = Make();
  Dispatch(*plug, effOpen);
  EXPECT_EQ(plug->GetHost(), kHostUnknown);
  EXPECT_EQ(host.calls[audioMasterGetVendorVersion], 0);
}

TEST_F(VST2Binding, SomeHostsGetOnlyTheFirstStereoInput)
{
  Config config = TestConfig();
  config.channelIOStr = "4-4";
  host.productString = "Adobe Audition";
  auto plug = Make(config);
  Dispatch(*plug, effOpen);
  EXPECT_EQ(plug->GetHost(), kHostAudition);
  EXPECT_TRUE(plug->IsChannelConnected(kInput, 1));
  EXPECT_FALSE(plug->IsChannelConnected(kInput, 2));
  EXPECT_FALSE(plug->IsChannelConnected(kInput, 3));
  EXPECT_TRUE(plug->IsChannelConnected(kOutput, 3));
  EXPECT_EQ(plug->GetAEffect()->numInputs, 4);
}

TEST_F(VST2Binding, SampleRateBlockSizeAndSuspendReachTheProcessor)
{
  auto plug = Make();
  Dispatch(*plug, effSetSampleRate, 0, 0, nullptr, 48000.f);
  EXPECT_EQ(plug->GetSampleRate(), 48000.0);
  Dispatch(*plug, effSetBlockSize, 0, 1024);
  EXPECT_EQ(plug->GetBlockSize(), 1024);
  Dispatch(*plug, effMainsChanged, 0, 1);
  Dispatch(*plug, effMainsChanged, 0, 0);
  EXPECT_EQ(plug->activations, (std::vector<bool>{true, false}));
  EXPECT_EQ(plug->resets, 3); // rate, block size, suspend
}

TEST_F(VST2Binding, ProgramChunkIsHeaderThenState)
{
  auto plug = Make();
  plug->mValue = 0x11223344;
  void* data = nullptr;
  ASSERT_EQ(Dispatch(*plug, effGetChunk, 1, 0, &data), 12);
  const std::vector<unsigned char> expected = {0x74, 0x66, 0x66, 0x70, 0,    0,
                                               1,    0,    0x44, 0x33, 0x22, 0x11};
  EXPECT_EQ(std::memcmp(data, expected.data(), expected.size()), 0);
  // Asking twice does not grow the chunk.
  EXPECT_EQ(Dispatch(*plug, effGetChunk, 1, 0, &data), 12);
}

TEST_F(VST2Binding, BankChunkStoresTheCurrentStateFirst)
{
  auto plug = Make();
  plug->mValue = 6;
  void* data = nullptr;
  ASSERT_EQ(Dispatch(*plug, effGetChunk, 0, 0, &data), 8 + 4 + 5 + 1 + 4);
  const auto* bytes = static_cast<const unsigned char*>(data);
  EXPECT_EQ(bytes[8 + 4 + 5], 1);
  EXPECT_EQ(bytes[8 + 4 + 5 + 1], 6);
}

TEST_F(VST2Binding, SetChunkLoadsProgramAndBank)
{
  auto plug = Make();
  std::vector<unsigned char> program = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0, 9, 0, 0, 0};
  EXPECT_EQ(Dispatch(*plug, effSetChunk, 1, 12, program.data()), 1);
  EXPECT_EQ(plug->mValue, 9);
  EXPECT_EQ(plug->GetPreset(0)->mChunk.GetData()[0], 9); // stored into the current preset

  std::vector<unsigned char> bank = {0x74, 0x66, 0x66, 0x70, 0,   0, 1, 0, 4, 0, 0,
                                     0,    'B',  'a',  'n',  'k', 1, 4, 0, 0, 0};
  EXPECT_EQ(Dispatch(*plug, effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 1);
  EXPECT_EQ(plug->mValue, 4);
  EXPECT_STREQ(plug->GetPresetName(0), "Bank");
}

TEST_F(VST2Binding, SetChunkWithoutHeaderIsABareState)
{
  auto plug = Make();
  std::vector<unsigned char> bare = {5, 0, 0, 0};
  EXPECT_EQ(Dispatch(*plug, effSetChunk, 0, 4, bare.data()), 1);
  EXPECT_EQ(plug->mValue, 5);
}

TEST_F(VST2Binding, ShortMagicLedChunkAnswersZeroAndChangesNothing)
{
  auto plug = Make();
  plug->mValue = 3;
  std::vector<unsigned char> shortChunk = {0x74, 0x66, 0x66, 0x70, 0, 0};
  EXPECT_EQ(Dispatch(*plug, effSetChunk, 1, 6, shortChunk.data()), 0);
  EXPECT_EQ(plug->mValue, 3);
}

TEST_F(VST2Binding, SetChunkRejectsMissingDataAndNegativeSizes)
{
  auto plug = Make();
  unsigned char byte = 0;
  EXPECT_EQ(Dispatch(*plug, effSetChunk, 1, 4, nullptr), 0);
  EXPECT_EQ(Dispatch(*plug, effSetChunk, 1, -1, &byte), 0);
  void* data = nullptr;
  EXPECT_EQ(Dispatch(*plug, effGetChunk, 1, 0, nullptr), 0);
  EXPECT_EQ(data, nullptr);
}

TEST_F(VST2Binding, TextsAreCutToTheirBuffersAndTerminated)
{
  Config config = TestConfig();
  config.pluginName = "A plug-in name that is far longer than thirty-two bytes";
  config.mfrName = "A maker name that goes on and on well past the sixty-four bytes of its buffer";
  auto plug = Make(config);

  char buffer[128];
  std::memset(buffer, 0x7f, sizeof(buffer));
  EXPECT_EQ(Dispatch(*plug, effGetEffectName, 0, 0, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), 31u);
  EXPECT_EQ(buffer[32], 0x7f);

  std::memset(buffer, 0x7f, sizeof(buffer));
  EXPECT_EQ(Dispatch(*plug, effGetVendorString, 0, 0, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), 63u);
  EXPECT_EQ(buffer[64], 0x7f);

  EXPECT_EQ(Dispatch(*plug, effGetEffectName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(*plug, effGetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(*plug, effGetProgramNameIndexed, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(*plug, effGetMidiKeyName, 0, 0, nullptr), 0);
}

TEST_F(VST2Binding, PinLabelsUseChannelLabelsWhenSet)
{
  auto plug = Make();
  plug->SetChannelLabel(kOutput, 1, "Side");
  VstPinProperties pin{};
  EXPECT_EQ(Dispatch(*plug, effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Side");
  EXPECT_EQ(Dispatch(*plug, effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 1");
}

TEST_F(VST2Binding, SpeakerArrangementConnectsTheFirstChannels)
{
  auto plug = Make();
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  EXPECT_EQ(Dispatch(*plug, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &mono),
            1);
  EXPECT_TRUE(plug->IsChannelConnected(kInput, 0));
  EXPECT_FALSE(plug->IsChannelConnected(kInput, 1));
  EXPECT_FALSE(plug->IsChannelConnected(kOutput, 1));

  // A refused output leaves the input as it was.
  VstSpeakerArrangement stereo{};
  stereo.numChannels = 2;
  VstSpeakerArrangement five{};
  five.numChannels = 5;
  EXPECT_EQ(
      Dispatch(*plug, effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), &five), 0);
  EXPECT_FALSE(plug->IsChannelConnected(kInput, 1));
}

TEST_F(VST2Binding, TimeInfoFollowsTheValidFlags)
{
  auto plug = Make();
  host.timeInfo.samplePos = 4410;
  host.timeInfo.ppqPos = 2.5;
  host.timeInfo.tempo = 140;
  host.timeInfo.barStartPos = -4; // flagged but negative: ignored
  host.timeInfo.cycleStartPos = 1;
  host.timeInfo.cycleEndPos = 9;
  host.timeInfo.timeSigNumerator = 7;
  host.timeInfo.timeSigDenominator = 8;
  host.timeInfo.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid |
                        kVstTransportPlaying | kVstTransportCycleActive;
  host.processLevel = kVstProcessLevelOffline;
  float in[2][4] = {}, out[2][4] = {};
  float* inputs[2] = {in[0], in[1]};
  float* outputs[2] = {out[0], out[1]};
  plug->GetAEffect()->processReplacing(plug->GetAEffect(), inputs, outputs, 4);

  const ITimeInfo& info = plug->GetTimeInfo();
  EXPECT_EQ(info.samplePos, 4410);
  EXPECT_EQ(info.ppqPos, 2.5);
  EXPECT_EQ(info.tempo, 140);
  EXPECT_EQ(info.lastBar, -1);
  EXPECT_EQ(info.cycleStart, -1); // cycle not flagged valid
  EXPECT_EQ(info.numerator, 7);
  EXPECT_EQ(info.denominator, 8);
  EXPECT_TRUE(info.transportIsRunning);
  EXPECT_TRUE(info.transportLoopEnabled);
  EXPECT_TRUE(plug->GetRenderingOffline());

  host.giveTime = false;
  host.processLevel = kVstProcessLevelRealtime;
  plug->GetAEffect()->processReplacing(plug->GetAEffect(), inputs, outputs, 4);
  EXPECT_EQ(plug->GetTimeInfo().tempo, 120);
  EXPECT_EQ(plug->GetTimeInfo().samplePos, -1);
  EXPECT_FALSE(plug->GetRenderingOffline());
}

TEST_F(VST2Binding, MidiFromTheEditorIsProcessedBeforeTheBlock)
{
  auto plug = Make();
  plug->SendMidiMsgFromUI({3, 0x90, 64, 100});
  double in[2][8] = {}, out[2][8] = {};
  double* inputs[2] = {in[0], in[1]};
  double* outputs[2] = {out[0], out[1]};
  plug->GetAEffect()->processDoubleReplacing(plug->GetAEffect(), inputs, outputs, 8);
  ASSERT_EQ(plug->midiIn.size(), 1u);
  EXPECT_EQ(plug->midiIn[0].data1, 64);
}

TEST_F(VST2Binding, SysExFromTheEditorGoesToTheHostAfterTheBlock)
{
  auto plug = Make();
  const std::uint8_t bytes[4] = {0xF0, 0x7D, 0x01, 0xF7};
  plug->SendSysexMsgFromUI({2, bytes, 4});
  float in[2][8] = {}, out[2][8] = {};
  float* inputs[2] = {in[0], in[1]};
  float* outputs[2] = {out[0], out[1]};
  plug->GetAEffect()->process(plug->GetAEffect(), inputs, outputs, 8);
  ASSERT_EQ(host.events.size(), 1u);
  VstMidiSysexEvent event;
  std::memcpy(&event, host.events[0].data(), sizeof(event));
  EXPECT_EQ(event.type, kVstSysExType);
  EXPECT_EQ(event.byteSize, 48);
  EXPECT_EQ(event.deltaFrames, 2);
  EXPECT_EQ(event.dumpBytes, 4);
}

TEST_F(VST2Binding, SendMidiMessageBuildsOneMidiEvent)
{
  auto plug = Make();
  EXPECT_TRUE(plug->SendMidiMessage({5, 0xB0, 7, 99}));
  ASSERT_EQ(host.events.size(), 1u);
  VstMidiEvent event;
  std::memcpy(&event, host.events[0].data(), sizeof(event));
  EXPECT_EQ(event.type, kVstMidiType);
  EXPECT_EQ(event.byteSize, 32);
  EXPECT_EQ(event.deltaFrames, 5);
  EXPECT_EQ(event.flags, 1);
  EXPECT_EQ(static_cast<unsigned char>(event.midiData[0]), 0xB0);
  EXPECT_EQ(event.midiData[2], 99);
  host.eventsAnswer = 0;
  EXPECT_FALSE(plug->SendMidiMessage({}));
}

TEST_F(VST2Binding, HostEventsReachTheProcessorAndTheEditorQueue)
{
  auto plug = Make();
  VstMidiEvent midi{};
  midi.type = kVstMidiType;
  midi.byteSize = sizeof(midi);
  midi.deltaFrames = 12;
  midi.midiData[0] = static_cast<char>(0x90);
  midi.midiData[1] = 60;
  midi.midiData[2] = 1;
  char dump[3] = {1, 2, 3};
  VstMidiSysexEvent sysex{};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof(sysex);
  sysex.dumpBytes = 3;
  sysex.sysexDump = dump;
  VstEvent other{};
  other.type = 99;

  struct
  {
    VstInt32 numEvents;
    VstIntPtr reserved;
    VstEvent* events[3];
  } list{3, 0, {reinterpret_cast<VstEvent*>(&midi), reinterpret_cast<VstEvent*>(&sysex), &other}};
  EXPECT_EQ(Dispatch(*plug, effProcessEvents, 0, 0, &list), 1);
  ASSERT_EQ(plug->midiIn.size(), 1u);
  EXPECT_EQ(plug->midiIn[0].offset, 12);
  EXPECT_EQ(plug->midiIn[0].status, 0x90);
  ASSERT_EQ(plug->sysexIn.size(), 1u);
  EXPECT_EQ(plug->sysexIn[0], (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(plug->SendMidiMsgToEditor({}), true); // one queued, room left
}

TEST_F(VST2Binding, EditorResizeAsksTheHostOnlyForANewSize)
{
  auto plug = Make();
  EXPECT_TRUE(plug->Resize(400, 300)); // the current size
  EXPECT_TRUE(host.sizeRequests.empty());
  EXPECT_TRUE(plug->Resize(600, 350));
  ASSERT_EQ(host.sizeRequests.size(), 1u);
  EXPECT_EQ(host.sizeRequests[0], std::make_pair(VstInt32{600}, VstIntPtr{350}));
  ERect* rect = nullptr;
  Dispatch(*plug, effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(rect->right, 600);
  EXPECT_EQ(rect->bottom, 350);
}

TEST_F(VST2Binding, EditorOpenWithoutAGraphicsFactoryAnswersZero)
{
  auto plug = Make();
  EXPECT_EQ(Dispatch(*plug, effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(*plug, effEditClose), 1);
  EXPECT_EQ(plug->log.uiCloses, 1);
}

TEST_F(VST2Binding, UnknownAndHighOpcodesAnswerZero)
{
  auto plug = Make();
  for (VstInt32 opcode :
       std::initializer_list<VstInt32>{effEditIdle, effSetBypass, effStartProcess, effStopProcess,
                                       effSetProcessPrecision, 70, 80, 1000, -1})
    EXPECT_EQ(Dispatch(*plug, opcode, 0, 1, nullptr, 1.f), 0) << opcode;
  EXPECT_EQ(PluginVST2::VSTDispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0.f), 0);
}

TEST_F(VST2Binding, CanDoRemembersTheHostsExtensions)
{
  auto plug = Make();
  char cockos[] = "hasCockosExtensions";
  char view[] = "hasCockosViewAsConfig";
  EXPECT_EQ(Dispatch(*plug, effCanDo, 0, 0, cockos), 0xBEEF0000);
  EXPECT_EQ(plug->GetHostExtensions(), 1);
  EXPECT_EQ(Dispatch(*plug, effCanDo, 0, 0, view), 0xBEEF0000);
  EXPECT_EQ(plug->GetHostExtensions(), 3);
}

TEST(VST2KeyCodes, TableMapsToWindowsVirtualKeys)
{
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(1, 0), 8);   // back
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(4, 0), 13);  // return
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(6, 0), 27);  // escape
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(15, 0), 33); // page up
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(16, 0), 34); // page down
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(19, 0), 13); // enter
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(23, 0), 47); // help
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(24 + i, 0), 96 + i);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(40 + i, 0), 112 + i);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(52, 0), 144);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(53, 0), 145);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(54, 0), 16);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(55, 0), 17);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(56, 0), 18);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(58, 0), 0);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(-3, 0), 0);
  EXPECT_EQ(PluginVST2::VSTKeyCodeToVK(0, 'q'), 'Q'); // the character's key
}
