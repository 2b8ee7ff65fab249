#include "plugin/Trazelle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using qm::Trazelle::Frame;
using qm::Trazelle::Trazelle;

namespace
{

// A host's view of the plug-in: both channels connected, 512-frame blocks.
struct Host
{
  Trazelle plugin;
  std::vector<double> inL, inR, outL, outR;
  double* inputs[2];
  double* outputs[2];

  explicit Host(int frames = 512) : inL(frames), inR(frames), outL(frames), outR(frames)
  {
    inputs[0] = inL.data();
    inputs[1] = inR.data();
    outputs[0] = outL.data();
    outputs[1] = outR.data();
    plugin.SetChannelConnections(kit::kInput, 0, 2, true);
    plugin.SetChannelConnections(kit::kOutput, 0, 2, true);
    plugin.SetBlockSize(512);
  }

  // Fills the inputs with frames first.. of a stream where frame i is (i, -i / 2).
  void Run(long long first, int n)
  {
    for (int i = 0; i < n; ++i)
    {
      inL[i] = static_cast<double>(first + i);
      inR[i] = -0.5 * static_cast<double>(first + i);
    }
    plugin.ProcessBlock(inputs, outputs, n);
  }
};

} // namespace

TEST(TrazelleConfig, DescribesAStereoEffectWithOneProgramAndNoParameters)
{
  const kit::Config c = Trazelle::MakeConfig();
  EXPECT_EQ(c.nParams, 0);
  EXPECT_EQ(c.nPresets, 1);
  EXPECT_STREQ(c.channelIOStr, "2-2");
  EXPECT_STREQ(c.pluginName, "Trazelle");
  EXPECT_STREQ(c.productName, "");
  EXPECT_STREQ(c.mfrName, "Quillmarsh");
  EXPECT_EQ(c.vendorVersion, 0x00010000);
  EXPECT_EQ(c.uniqueID, 0x516D547A); // "QmTz"
  EXPECT_EQ(c.mfrID, 0x516D7368);    // "Qmsh"
  EXPECT_EQ(c.latency, 0);
  EXPECT_FALSE(c.plugDoesMidiIn || c.plugDoesMidiOut || c.plugDoesMPE);
  EXPECT_TRUE(c.plugDoesChunks);
  EXPECT_EQ(c.plugType, 0);
  EXPECT_TRUE(c.plugHasUI);
  EXPECT_EQ(c.plugWidth, 832);
  EXPECT_EQ(c.plugHeight, 464);
  EXPECT_EQ(c.plugMinWidth, 416);
  EXPECT_EQ(c.plugMaxWidth, 1664);
  EXPECT_EQ(c.plugMinHeight, 232);
  EXPECT_EQ(c.plugMaxHeight, 928);
  EXPECT_FALSE(c.plugHostResize);
  EXPECT_STREQ(c.bundleID, "");
}

TEST(TrazelleConstruction, BuffersHoldFourSecondsAndAQuarterSecondAt44100)
{
  Trazelle plugin;
  EXPECT_EQ(plugin.OscilloscopeBuffer().Capacity(), 176400u);
  EXPECT_EQ(plugin.OscilloscopeBuffer().History().size(), 176400u);
  EXPECT_EQ(plugin.MeterBuffer().Capacity(), 11025u);
  EXPECT_EQ(plugin.MeterBuffer().History().back(), (Frame{0.0, 0.0}));
  EXPECT_EQ(plugin.GetSettings(), qm::Trazelle::Settings{});
  EXPECT_FALSE(plugin.GetFreeze());
  EXPECT_EQ(plugin.NChannels(kit::kInput), 2);
  EXPECT_EQ(plugin.NChannels(kit::kOutput), 2);
}

TEST(TrazelleReset, ResizesBuffersForTheNewRate)
{
  Trazelle plugin;
  plugin.SetSampleRate(48000.0);
  plugin.OnReset();
  EXPECT_EQ(plugin.OscilloscopeBuffer().Capacity(), 192000u);
  EXPECT_EQ(plugin.MeterBuffer().Capacity(), 12000u);
  EXPECT_EQ(plugin.MeterBuffer().History().size(), 12000u);
  plugin.SetSampleRate(22050.5);
  plugin.OnReset();
  EXPECT_EQ(plugin.OscilloscopeBuffer().Capacity(), 88202u); // truncated
  EXPECT_EQ(plugin.MeterBuffer().Capacity(), 5512u);
}

TEST(TrazelleReset, NonsenseRatesGiveBoundedBuffers)
{
  EXPECT_EQ(Trazelle::BufferCapacity(std::numeric_limits<double>::quiet_NaN(), 4.0), 4u);
  EXPECT_EQ(Trazelle::BufferCapacity(-48000.0, 4.0), 4u);
  EXPECT_EQ(Trazelle::BufferCapacity(0.0, 0.25), 0u);
  EXPECT_EQ(Trazelle::BufferCapacity(1e12, 4.0), 3072000u);
  EXPECT_EQ(Trazelle::BufferCapacity(std::numeric_limits<double>::infinity(), 4.0), 4u);
  EXPECT_EQ(Trazelle::BufferCapacity(192000.0, 4.0), 768000u);
}

TEST(TrazelleAudio, OutputEqualsInputAndEveryFrameReachesBothBuffers)
{
  Host host;
  host.Run(0, 512);
  host.Run(512, 100);
  EXPECT_EQ(std::memcmp(host.outL.data(), host.inL.data(), 100 * sizeof(double)), 0);
  EXPECT_EQ(std::memcmp(host.outR.data(), host.inR.data(), 100 * sizeof(double)), 0);

  for (auto* buffer : {&host.plugin.OscilloscopeBuffer(), &host.plugin.MeterBuffer()})
  {
    EXPECT_EQ(buffer->Available(), 612u);
    ASSERT_EQ(buffer->Consume(1, 1), 612u);
    const auto& h = buffer->History();
    for (int i = 0; i < 612; ++i)
    {
      const Frame& f = h[h.size() - 612 + static_cast<std::size_t>(i)];
      ASSERT_EQ(f, (Frame{static_cast<double>(i), -0.5 * i}));
    }
  }
}

TEST(TrazelleAudio, FreezeStopsTheDisplaysButNotTheAudio)
{
  Host host;
  host.Run(0, 64);
  host.plugin.SetFreeze(true);
  host.Run(64, 256);
  EXPECT_EQ(host.outL, host.inL);
  EXPECT_EQ(host.outR, host.inR);
  EXPECT_EQ(host.plugin.OscilloscopeBuffer().Available(), 64u);
  EXPECT_EQ(host.plugin.MeterBuffer().Available(), 64u);
  host.plugin.SetFreeze(false);
  host.Run(320, 1);
  EXPECT_EQ(host.plugin.MeterBuffer().Available(), 65u);
}

TEST(TrazelleAudio, ClosedEditorFillsTheQueuesAndDropsLaterFrames)
{
  Host host;
  long long frame = 0;
  for (int block = 0; block < 400; ++block, frame += 512) // 4.6 s at 44100 Hz
    host.Run(frame, 512);
  auto& scope = host.plugin.OscilloscopeBuffer();
  EXPECT_EQ(scope.Available(), 176400u);
  EXPECT_EQ(scope.Dropped(), static_cast<std::uint64_t>(frame) - 176400u);
  EXPECT_EQ(host.plugin.MeterBuffer().Available(), 11025u);
  EXPECT_EQ(host.outL, host.inL);
  // Opening the editor: the first drain gets the oldest queued frames.
  ASSERT_EQ(scope.Consume(1, 1), 176400u);
  EXPECT_EQ(scope.History().front(), (Frame{0.0, -0.0}));
  EXPECT_EQ(scope.History().back(), (Frame{176399.0, -0.5 * 176399.0}));
}

TEST(TrazelleAudio, ResetDiscardsQueuedFramesAndTheirCount)
{
  Host host;
  host.Run(0, 300);
  host.plugin.SetSampleRate(96000.0);
  host.plugin.OnReset();
  EXPECT_EQ(host.plugin.MeterBuffer().Available(), 0u);
  EXPECT_EQ(host.plugin.MeterBuffer().Consume(1, 1), 0u);
}

TEST(TrazelleAudio, OnlyConnectedOutputsAreWritten)
{
  Host host;
  host.plugin.SetChannelConnections(kit::kOutput, 1, 1, false);
  std::fill(host.outR.begin(), host.outR.end(), 42.0);
  host.Run(1, 16);
  EXPECT_EQ(host.outL[15], 16.0);
  EXPECT_EQ(host.outR[0], 42.0);
}

TEST(TrazelleAudio, MissingSecondInputReadsAsSilence)
{
  Host host;
  host.plugin.SetChannelConnections(kit::kInput, 1, 1, false);
  std::vector<double> mono = {0.25, 0.5}, outL(2), outR(2, 3.0);
  double* inputs[2] = {mono.data(), nullptr};
  double* outputs[2] = {outL.data(), outR.data()};
  host.plugin.ProcessBlock(inputs, outputs, 2);
  EXPECT_EQ(outL, mono);
  EXPECT_EQ(outR, (std::vector<double>{0.0, 0.0}));
  host.plugin.MeterBuffer().Consume(1, 1);
  EXPECT_EQ(host.plugin.MeterBuffer().History().back(), (Frame{0.5, 0.0}));
}

TEST(TrazelleAudio, SinglePrecisionHostBlockPassesThroughBitForBit)
{
  Host host;
  std::vector<float> inL(512), inR(512), outL(512), outR(512);
  for (int i = 0; i < 512; ++i)
  {
    inL[i] = std::sin(0.01f * static_cast<float>(i)) * 0.8f;
    inR[i] = 1.0f / static_cast<float>(i + 3);
  }
  float* ins[2] = {inL.data(), inR.data()};
  float* outs[2] = {outL.data(), outR.data()};
  host.plugin.AttachHostBuffers(kit::kInput, 2, ins, 512);
  host.plugin.AttachHostBuffers(kit::kOutput, 2, outs, 512);
  host.plugin.ProcessHostBuffers(512);
  EXPECT_EQ(outL, inL);
  EXPECT_EQ(outR, inR);
  EXPECT_EQ(host.plugin.OscilloscopeBuffer().Available(), 512u);
}

TEST(TrazelleMidi, SendsNoMidi)
{
  Trazelle plugin;
  EXPECT_FALSE(plugin.SendMidiMessage({}));
}
