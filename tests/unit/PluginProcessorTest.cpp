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

  bool SendMidiMessage(const IMidiMsg&) override { return true; }

  void ConnectAll()
  {
    SetChannelConnections(kInput, 0, NChannels(kInput), true);
    SetChannelConnections(kOutput, 0, NChannels(kOutput), true);
  }

  double gain = 0.0;
  int calls = 0;
  std::vector<int> frameCounts;
  std::vector<double*> seenInputs;
};

} // namespace

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
