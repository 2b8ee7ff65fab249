// The binding driven in-process through its effect record, with a recording
// host callback, and how hosts are told apart. The plug-in binary's own checks
// (through dlopen) are in tools/vsthost.

#include "framework/PluginHost.h"
#include "framework/VST2Interface.h"
#include "tests/unit/TestPlugins.h"

#include <cstring>
#include <gtest/gtest.h>
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
  std::map<VstInt32, int> calls;
};

RecordingHost* gHost = nullptr;

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float)
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
  void OnReset() override { ++resets; }
  void OnActivate(bool active) override { activations.push_back(active); }

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

TEST(IdentifyHost, EarlierWordsWinOverLaterOnes)
{
  // "live" is tested before "waveform" and "reason": any name containing it is 9.
  EXPECT_EQ(IdentifyHost("Waveform Live Edition"), 9);
  EXPECT_EQ(IdentifyHost("Oliver's Reason"), 9);
  // "reaper" comes first of all.
  EXPECT_EQ(IdentifyHost("Reaper inside Cubase"), 1);
  // "bitwig" alone is not enough; "standalone" is tested late.
  EXPECT_EQ(IdentifyHost("Bitwig"), 0);
  EXPECT_EQ(IdentifyHost("Some Standalone Logic"), 21);
}

TEST(IdentifyHost, NoNameOrALongOneIsReadOnlyUpToTheCopysLength)
{
  EXPECT_EQ(IdentifyHost(""), 0);
  EXPECT_EQ(IdentifyHost(nullptr), 0);
  std::string name(100000, 'x');
  EXPECT_EQ(IdentifyHost(name.c_str()), 0);
  // A word past the bounded copy is not seen; one inside it is.
  EXPECT_EQ(IdentifyHost((name + "cubase").c_str()), 0);
  EXPECT_EQ(IdentifyHost(("cubase" + name).c_str()), 3);
}
