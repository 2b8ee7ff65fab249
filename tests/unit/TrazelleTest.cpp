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
