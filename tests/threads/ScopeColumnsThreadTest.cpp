#include "controls/ScopeColumns.h"
#include "plugin/SampleBuffer.h"
#include "plugin/Trazelle.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using qm::control::ScopeColumns;

namespace
{

constexpr double kRate = 48000.0;

// Plays a ramp (each frame carries its own number) through the block function on its own
// thread, never faster than the queue drains, so no frame is dropped.
class RampPlayer
{
public:
  RampPlayer(qm::Trazelle::Trazelle& plugin, int64_t frames) : mPlugin(plugin), mFrames(frames) {}

  void operator()()
  {
    constexpr int kBlock = 256;
    std::vector<double> left(kBlock), right(kBlock), out0(kBlock), out1(kBlock);
    auto& buffer = mPlugin.OscilloscopeBuffer();
    for (int64_t next = 0; next < mFrames; next += kBlock)
    {
      while (buffer.Available() + kBlock > buffer.Capacity())
        std::this_thread::yield();
      for (int i = 0; i < kBlock; ++i)
      {
        left[i] = static_cast<double>(next + i + 1);
        right[i] = -left[i];
      }
      double* in[2] = {left.data(), right.data()};
      double* out[2] = {out0.data(), out1.data()};
      mPlugin.ProcessBlock(in, out, kBlock);
    }
  }

private:
  qm::Trazelle::Trazelle& mPlugin;
  int64_t mFrames;
};

} // namespace

TEST(ScopeColumnsThreads, ColumnsStayContiguousWhileTheAudioThreadPushes)
{
  qm::Trazelle::Trazelle plugin;
  plugin.SetSampleRate(kRate);
  plugin.OnReset();
  ScopeColumns scope(400, kRate, 4.0, 0.1); // 12 frames per column
  const int64_t total = int64_t{256} * 400;
  std::thread audio(RampPlayer(plugin, total));

  const double stride = scope.GetSamplesPerColumn();
  int64_t drained = 0;
  while (drained < total - static_cast<int64_t>(stride))
  {
    scope.Update(plugin.OscilloscopeBuffer());
    drained += scope.GetLastDrained();
    const auto& left = scope.GetColumns(0);
    const auto& right = scope.GetColumns(1);
    for (size_t c = 0; c < left.size(); ++c)
    {
      if (left[c].max == 0.0) continue; // not reached by the ramp yet
      ASSERT_EQ(left[c].max - left[c].min, stride - 1) << c;
      ASSERT_EQ(right[c].min, -left[c].max) << c;
      if (c + 1 < left.size())
      {
        ASSERT_EQ(left[c + 1].min, left[c].max + 1) << "torn or lost frames at column " << c;
      }
    }
    std::this_thread::yield();
  }
  audio.join();
  EXPECT_EQ(plugin.OscilloscopeBuffer().Dropped(), 0u);
}

TEST(ScopeColumnsThreads, SettingsChangeWhileDrawing)
{
  qm::Trazelle::Trazelle plugin;
  plugin.SetSampleRate(kRate);
  plugin.OnReset();
  ScopeColumns scope(400, kRate, 4.0, 0.1);
  scope.SetTriggerEnabled(true);
  const int64_t total = int64_t{256} * 300;
  std::thread audio(RampPlayer(plugin, total));
  std::atomic<bool> done{false};
  std::thread reset(
      [&]
      {
        // The rate arrives from the thread that resets the plug-in, independent of the draws.
        for (int i = 0; !done.load(); ++i)
        {
          scope.SetSampleRate(i % 2 ? 96000.0 : kRate);
          std::this_thread::yield();
        }
      });

  int64_t drained = 0;
  while (drained < total - 24)
  {
    scope.Update(plugin.OscilloscopeBuffer());
    drained += scope.GetLastDrained();
    for (const auto& column : scope.GetColumns(0))
    {
      ASSERT_LE(column.min, column.max);
      ASSERT_GE(column.min, 0.0);
      ASSERT_LE(column.max, static_cast<double>(total));
    }
  }
  done = true;
  reset.join();
  audio.join();
}
