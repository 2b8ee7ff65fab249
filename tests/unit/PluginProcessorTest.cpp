#include "framework/PluginProcessor.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kit;

namespace
{

Config MakeConfig(const char* channelIO)
{
  Config config;
  config.channelIOStr = channelIO;
  return config;
}

// Records what the block function was handed and applies a recognisable gain.
class RecordingProcessor : public PluginProcessor
{
public:
  explicit RecordingProcessor(const char* channelIO = "2-2")
      : PluginProcessor(MakeConfig(channelIO))
  {
  }

  void ProcessBlock(double** inputs, double** outputs, int nFrames) override
  {
    ++calls;
    frameCounts.push_back(nFrames);
    seenInputs.assign(inputs, inputs + NChannels(kInput));
    seenOutputs.assign(outputs, outputs + NChannels(kOutput));
    if (gain == 0.0)
    {
      PluginProcessor::ProcessBlock(inputs, outputs, nFrames);
      return;
    }
    for (int c = 0; c < NChannels(kOutput); ++c)
      if (outputs[c] && inputs[c])
        for (int i = 0; i < nFrames; ++i)
          outputs[c][i] = gain * inputs[c][i];
  }

  bool SendMidiMessage(const IMidiMsg& msg) override
  {
    sentMidi.push_back(msg);
    return msg.status != 0xFF; // 0xFF stands for a message the host refuses
  }

  void ConnectAll()
  {
    SetChannelConnections(kInput, 0, NChannels(kInput), true);
    SetChannelConnections(kOutput, 0, NChannels(kOutput), true);
  }

  double gain = 0.0;
  int calls = 0;
  std::vector<int> frameCounts;
  std::vector<double*> seenInputs, seenOutputs;
  std::vector<IMidiMsg> sentMidi;
};

struct Parsed
{
  std::vector<IOConfig> configs;
  int maxIn = -1, maxOut = -1, maxInBuses = -1, maxOutBuses = -1;
  int found = -1;

  explicit Parsed(const std::string& text)
  {
    found = PluginProcessor::ParseChannelIO(text, configs, maxIn, maxOut, maxInBuses, maxOutBuses);
  }
};

} // namespace

TEST(ChannelIOParsing, StereoInStereoOutIsOneConfigurationWithOneBusEachWay)
{
  Parsed p("2-2");
  ASSERT_EQ(p.found, 1);
  ASSERT_EQ(p.configs.size(), 1u);
  ASSERT_EQ(p.configs[0].inputBuses.size(), 1u);
  ASSERT_EQ(p.configs[0].outputBuses.size(), 1u);
  EXPECT_EQ(p.configs[0].inputBuses[0].direction, kInput);
  EXPECT_EQ(p.configs[0].inputBuses[0].nChans, 2);
  EXPECT_EQ(p.configs[0].outputBuses[0].direction, kOutput);
  EXPECT_EQ(p.configs[0].outputBuses[0].nChans, 2);
  EXPECT_EQ(p.maxIn, 2);
  EXPECT_EQ(p.maxOut, 2);
  EXPECT_EQ(p.maxInBuses, 1);
  EXPECT_EQ(p.maxOutBuses, 1);
}

TEST(ChannelIOParsing, SpaceSeparatesConfigurationsAndMaximaSpanThemAll)
{
  Parsed p("1-1 2-2");
  ASSERT_EQ(p.found, 2);
  EXPECT_EQ(p.configs[0].NChans(kInput), 1);
  EXPECT_EQ(p.configs[1].NChans(kOutput), 2);
  EXPECT_EQ(p.maxIn, 2);
  EXPECT_EQ(p.maxOut, 2);
}

TEST(ChannelIOParsing, StarIsAWildcardBusOfMinus64Channels)
{
  Parsed p("*-2");
  ASSERT_EQ(p.configs[0].inputBuses.size(), 1u);
  EXPECT_EQ(p.configs[0].inputBuses[0].nChans, -64);
  EXPECT_EQ(p.maxIn, 0); // a wildcard never raises the maximum
  EXPECT_EQ(p.maxOut, 2);
}

TEST(ChannelIOParsing, DotsSplitBusesAndEmptyOrUnreadablePiecesAddNoBus)
{
  Parsed p("2.2-2 x-1 0-2");
  ASSERT_EQ(p.found, 3);
  EXPECT_EQ(p.configs[0].NBuses(kInput), 2);
  EXPECT_EQ(p.configs[0].NChans(kInput), 4);
  EXPECT_EQ(p.configs[1].NBuses(kInput), 0);
  EXPECT_EQ(p.configs[2].NBuses(kInput), 0);
  EXPECT_EQ(p.maxIn, 4);
  EXPECT_EQ(p.maxInBuses, 2);
}

TEST(ProcessorConstruction, StartsAt44100WithNoBlockSizeAndDisconnectedChannels)
{
  RecordingProcessor p;
  EXPECT_EQ(p.GetSampleRate(), 44100.0);
  EXPECT_EQ(p.GetBlockSize(), 0);
  EXPECT_EQ(p.GetTailSize(), 0);
  EXPECT_FALSE(p.GetRenderingOffline());
  EXPECT_EQ(p.NIOConfigs(), 1);
  EXPECT_EQ(p.NChannels(kInput), 2);
  EXPECT_EQ(p.NChannels(kOutput), 2);
  EXPECT_EQ(p.CountConnectedChannels(kInput), 0);
  EXPECT_EQ(p.CountConnectedChannels(kOutput), 0);
  for (int i = 0; i < 2; ++i)
  {
    EXPECT_EQ(*p.GetChannelData(kInput, i).pData, nullptr);
    EXPECT_TRUE(p.GetChannelData(kOutput, i).label.empty());
  }
}

TEST(ProcessorConstruction, TimeInfoDefaultsToStoppedFourFourAt120)
{
  RecordingProcessor p;
  const ITimeInfo& t = p.GetTimeInfo();
  EXPECT_EQ(t.tempo, 120.0);
  EXPECT_EQ(t.samplePos, -1.0);
  EXPECT_EQ(t.ppqPos, -1.0);
  EXPECT_EQ(t.lastBar, -1.0);
  EXPECT_EQ(t.cycleStart, -1.0);
  EXPECT_EQ(t.cycleEnd, -1.0);
  EXPECT_EQ(t.numerator, 4);
  EXPECT_EQ(t.denominator, 4);
  EXPECT_FALSE(t.transportIsRunning);
  EXPECT_FALSE(t.transportLoopEnabled);
}

TEST(ProcessorChannels, ConnectionsAreClippedToTheRecords)
{
  RecordingProcessor p;
  p.SetChannelConnections(kInput, 0, 5, true);
  EXPECT_EQ(p.CountConnectedChannels(kInput), 2);
  p.SetChannelConnections(kInput, 1, 1, false);
  EXPECT_EQ(p.CountConnectedChannels(kInput), 1);
  EXPECT_TRUE(p.IsChannelConnected(kInput, 0));
  EXPECT_FALSE(p.IsChannelConnected(kInput, 1));
  EXPECT_FALSE(p.IsChannelConnected(kInput, 7));
}

TEST(ProcessorChannels, LegalIOFindsOnlyLayoutsThatExist)
{
  RecordingProcessor p;
  EXPECT_FALSE(p.LegalIO(1, -1));
  EXPECT_TRUE(p.LegalIO(2, 2));
  EXPECT_TRUE(p.LegalIO(-1, 2));
  RecordingProcessor mono("1-1 2-2");
  EXPECT_TRUE(mono.LegalIO(1, -1));
}

TEST(ProcessorBusNames, FollowTheDirectionAndBusCount)
{
  RecordingProcessor p;
  std::string name;
  p.GetBusName(kInput, 0, 1, name);
  EXPECT_EQ(name, "Input");
  p.GetBusName(kInput, 0, 2, name);
  EXPECT_EQ(name, "Main");
  p.GetBusName(kInput, 1, 2, name);
  EXPECT_EQ(name, "Aux");
  p.GetBusName(kInput, 2, 3, name);
  EXPECT_EQ(name, "Input 2");
  p.GetBusName(kOutput, 3, 1, name);
  EXPECT_EQ(name, "Output");
  p.GetBusName(kOutput, 1, 2, name);
  EXPECT_EQ(name, "Output 1");
}

TEST(ProcessorMidi, MessagesAreForwardedAndListsSucceedOnlyIfEveryMessageDoes)
{
  RecordingProcessor p;
  p.ProcessMidiMessage({3, 0x90, 60, 100});
  ASSERT_EQ(p.sentMidi.size(), 1u);
  EXPECT_EQ(p.sentMidi[0].data1, 60);

  EXPECT_TRUE(p.SendMidiMessages({}));
  const std::vector<IMidiMsg> good = {{0, 0x90, 1, 1}, {1, 0x80, 1, 0}};
  EXPECT_TRUE(p.SendMidiMessages(good));
  const std::vector<IMidiMsg> mixed = {{0, 0xFF, 0, 0}, {1, 0x80, 1, 0}};
  EXPECT_FALSE(p.SendMidiMessages(mixed));
  EXPECT_EQ(p.sentMidi.size(), 5u); // every message is still offered to the host
  EXPECT_FALSE(p.SendSysEx({}));
}

TEST(ProcessorBlockSize, ResizesScratchBuffersToZerosAndKeepsThemWhenUnchanged)
{
  RecordingProcessor p;
  p.SetBlockSize(64);
  EXPECT_EQ(p.GetBlockSize(), 64);
  ASSERT_EQ(p.GetChannelData(kInput, 1).scratchBuf.size(), 64u);
  ASSERT_EQ(p.GetChannelData(kOutput, 0).scratchBuf.size(), 64u);

  // Leave data in an output scratch buffer, then set the same size again.
  p.ConnectAll();
  p.SetBlockSize(4);
  std::vector<float> in(4, 0.25f), out(4, 0.0f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out.data(), out.data()};
  p.AttachHostBuffers(kInput, 2, ins, 4);
  p.AttachHostBuffers(kOutput, 2, outs, 4);
  p.ProcessHostBuffers(4);
  const std::vector<double> before = p.GetChannelData(kOutput, 0).scratchBuf;
  EXPECT_EQ(before[0], 0.25);
  p.SetBlockSize(4);
  EXPECT_EQ(p.GetChannelData(kOutput, 0).scratchBuf, before);
}

TEST(ProcessorDefaultBlock, CopiesMatchingChannelsAndSilencesTheRest)
{
  RecordingProcessor p("1-2");
  std::vector<double> in = {1, 2, 3}, out0(3, 9.0), out1(3, 9.0);
  double* ins[1] = {in.data()};
  double* outs[2] = {out0.data(), out1.data()};
  p.PluginProcessor::ProcessBlock(ins, outs, 3);
  EXPECT_EQ(out0, in);
  EXPECT_EQ(out1, std::vector<double>(3, 0.0));
}

TEST(ProcessorHostBuffers, FloatBlockIsConvertedProcessedAndWrittenBack)
{
  RecordingProcessor p;
  p.ConnectAll();
  p.SetBlockSize(8);
  p.gain = 2.0;
  std::vector<float> inL = {0.5f, -0.25f, 1.0f}, inR = {0.125f, 0.0f, -1.0f};
  std::vector<float> outL(3, 7.0f), outR(3, 7.0f);
  float* ins[2] = {inL.data(), inR.data()};
  float* outs[2] = {outL.data(), outR.data()};
  p.AttachHostBuffers(kInput, 2, ins, 3);
  p.AttachHostBuffers(kOutput, 2, outs, 3);
  p.ProcessHostBuffers(3);

  EXPECT_EQ(outL, (std::vector<float>{1.0f, -0.5f, 2.0f}));
  EXPECT_EQ(outR, (std::vector<float>{0.25f, 0.0f, -2.0f}));
  // The block function ran on the scratch buffers, not on the host's memory.
  EXPECT_EQ(p.seenInputs[0], p.GetChannelData(kInput, 0).scratchBuf.data());
  EXPECT_EQ(p.seenOutputs[1], p.GetChannelData(kOutput, 1).scratchBuf.data());
}

TEST(ProcessorHostBuffers, AccumulatingAddsToWhatTheHostHasThere)
{
  RecordingProcessor p;
  p.ConnectAll();
  p.SetBlockSize(8);
  std::vector<float> in = {0.5f, 0.25f}, outL = {1.0f, 1.0f}, outR = {-1.0f, 0.0f};
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {outL.data(), outR.data()};
  p.AttachHostBuffers(kInput, 2, ins, 2);
  p.AttachHostBuffers(kOutput, 2, outs, 2);
  p.ProcessHostBuffersAccumulating(2);
  EXPECT_EQ(outL, (std::vector<float>{1.5f, 1.25f}));
  EXPECT_EQ(outR, (std::vector<float>{-0.5f, 0.25f}));
}

TEST(ProcessorHostBuffers, DoubleBlockRunsOnTheHostBuffersThemselves)
{
  RecordingProcessor p;
  p.ConnectAll();
  p.SetBlockSize(2); // smaller than the block: double buffers need no scratch
  p.gain = -1.0;
  std::vector<double> inL = {1, 2, 3}, inR = {4, 5, 6}, outL(3), outR(3);
  double* ins[2] = {inL.data(), inR.data()};
  double* outs[2] = {outL.data(), outR.data()};
  p.AttachHostBuffers(kInput, 2, ins, 3);
  p.AttachHostBuffers(kOutput, 2, outs, 3);
  p.ProcessHostBuffers(3);
  EXPECT_EQ(p.calls, 1);
  EXPECT_EQ(p.seenInputs[1], inR.data());
  EXPECT_EQ(p.seenOutputs[0], outL.data());
  EXPECT_EQ(outR, (std::vector<double>{-4, -5, -6}));
}

TEST(ProcessorHostBuffers, DisconnectedChannelTakesNoHostPointer)
{
  RecordingProcessor p;
  p.SetChannelConnections(kInput, 1, 1, true); // only the second input
  p.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<double> first = {1.0}, second = {2.0}, outL(1), outR(1);
  double* ins[2] = {first.data(), second.data()};
  double* outs[2] = {outL.data(), outR.data()};
  p.AttachHostBuffers(kInput, 2, ins, 1);
  p.AttachHostBuffers(kOutput, 2, outs, 1);
  p.ProcessHostBuffers(1);
  EXPECT_EQ(p.seenInputs[0], nullptr);
  EXPECT_EQ(p.seenInputs[1], first.data());
}

TEST(ProcessorHostBuffers, BlocksLongerThanTheBlockSizeArriveInPieces)
{
  RecordingProcessor p;
  p.ConnectAll();
  p.SetBlockSize(4);
  p.gain = 0.5;
  std::vector<float> in(10), outL(10), outR(10);
  for (int i = 0; i < 10; ++i)
    in[i] = static_cast<float>(i);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {outL.data(), outR.data()};
  p.AttachHostBuffers(kInput, 2, ins, 10);
  p.AttachHostBuffers(kOutput, 2, outs, 10);
  p.ProcessHostBuffers(10);
  EXPECT_EQ(p.frameCounts, (std::vector<int>{4, 4, 2}));
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(outR[i], 0.5f * static_cast<float>(i));
}

TEST(ProcessorHostBuffers, NoBlockSizeMeansSilenceInsteadOfAnOverflow)
{
  RecordingProcessor p;
  p.ConnectAll();
  std::vector<float> in(3, 1.0f), out(3, 1.0f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {out.data(), out.data()};
  p.AttachHostBuffers(kInput, 2, ins, 3);
  p.AttachHostBuffers(kOutput, 2, outs, 3);
  p.ProcessHostBuffers(3);
  EXPECT_EQ(p.calls, 0);
  EXPECT_EQ(out, std::vector<float>(3, 0.0f));
}
