#include "controls/ScopeColumns.h"
#include "dsp/DCBlocker.h"
#include "dsp/StateVariableFilter.h"
#include "plugin/SampleBuffer.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

using qm::control::ColumnRange;
using qm::control::ScopeColumns;
using qm::Trazelle::SampleBuffer;

namespace
{

constexpr double kRate = 48000.0;
constexpr int kTick = 800; // frames per display tick at 48 kHz and 60 Hz

using Signal = std::function<double(int64_t frame)>;

// A plug-in at 48 kHz whose oscilloscope buffer is fed through the block function, as the host
// would, with the same signal on both channels.
class ScopeFeed
{
public:
  explicit ScopeFeed(Signal signal) : mSignal(std::move(signal))
  {
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
  }

  // Plays `framesPerTick` frames and updates the scope, `ticks` times.
  void Run(ScopeColumns& scope, int ticks, int framesPerTick = kTick)
  {
    for (int t = 0; t < ticks; ++t)
    {
      for (int left = framesPerTick; left > 0; left -= 512)
      {
        const int n = std::min(left, 512);
        for (int i = 0; i < n; ++i)
          mIn[1][i] = mIn[0][i] = mSignal(mNext++);
        double* in[2] = {mIn[0].data(), mIn[1].data()};
        double* out[2] = {mOut[0].data(), mOut[1].data()};
        mPlugin.ProcessBlock(in, out, n);
      }
      scope.Update(Buffer());
    }
  }

  SampleBuffer& Buffer() { return mPlugin.OscilloscopeBuffer(); }

private:
  Signal mSignal;
  qm::Trazelle::Trazelle mPlugin;
  int64_t mNext = 0;
  std::vector<double> mIn[2] = {std::vector<double>(512), std::vector<double>(512)};
  std::vector<double> mOut[2] = {std::vector<double>(512), std::vector<double>(512)};
};

Signal Tone(double hz)
{
  return [=](int64_t n)
  { return 0.8 * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(n) / kRate); };
}

// Each frame carries its own number, so a column tells which frames it was reduced from.
double Ramp(int64_t n)
{
  return static_cast<double>(n);
}

std::vector<ColumnRange> Snapshot(const ScopeColumns& scope, int channel)
{
  const auto& ring = scope.GetColumns(channel);
  return {ring.begin(), ring.end()};
}

// The last falling crossing of the left channel's trigger signal (20 Hz low-pass, then 10 Hz DC
// blocker, from rest) within `count` history frames from `first`, computed here from the filter
// blocks alone; -1 when there is none.
int64_t LastFallingCrossing(const SampleBuffer& buffer, int64_t first, int64_t count)
{
  qm::dsp::StateVariableFilter<double, 1> lowPass(qm::dsp::kLowPass, kRate, 20.0);
  qm::dsp::DCBlocker<double, 1> dcBlocker(kRate, 10.0);
  int64_t last = -1;
  bool wasNegative = true;
  for (int64_t i = 0; i < count; ++i)
  {
    const double y = dcBlocker.Process(lowPass.Process(buffer.History()[first + i][0], 0), 0);
    if (!wasNegative && std::signbit(y)) last = i;
    wasNegative = std::signbit(y);
  }
  return last;
}

// Smallest and largest of `count` history frames from `first`, left channel.
ColumnRange Reduce(const SampleBuffer& buffer, int64_t first, int64_t count)
{
  ColumnRange r{1e300, -1e300};
  for (int64_t i = first; i < first + count; ++i)
  {
    r.min = std::min(r.min, buffer.History()[i][0]);
    r.max = std::max(r.max, buffer.History()[i][0]);
  }
  return r;
}

} // namespace

TEST(ScopeSilence, DrawsFlatAndNeverTriggers)
{
  for (bool triggered : {false, true})
  {
    ScopeColumns scope(800, kRate, 4.0, 0.2);
    scope.SetTriggerEnabled(triggered);
    scope.SetChannelMode(3);
    ScopeFeed feed([](int64_t) { return 0.0; });
    for (int t = 0; t < 30; ++t)
    {
      feed.Run(scope, 1);
      EXPECT_EQ(scope.GetLastTriggerColumn(), scope.GetSearchColumns());
    }
    for (int c = 0; c < 2; ++c)
      for (const auto& column : scope.GetColumns(c))
        EXPECT_EQ(column, ColumnRange{});
  }
}

TEST(ScopeTrigger, SteadyToneStandsStill)
{
  // 60 Hz at 48 kHz: one period per display tick, so each frame sees the same signal.
  ScopeColumns scope(800, kRate, 4.0, 0.17);
  ASSERT_EQ(scope.GetSamplesPerColumn(), 10u);
  scope.SetTriggerEnabled(true);
  // A tone of exactly 800 frames whose every period is bit for bit the same.
  ScopeFeed feed([](int64_t n)
                 { return 0.8 * std::sin(2.0 * std::numbers::pi * double(n % kTick) / kTick); });
  feed.Run(scope, 30); // fills the window with the tone
  const auto left = Snapshot(scope, 0);
  const uint32_t trigger = scope.GetLastTriggerColumn();
  EXPECT_LT(trigger, scope.GetSearchColumns());
  for (int t = 0; t < 30; ++t)
  {
    feed.Run(scope, 1);
    ASSERT_EQ(scope.GetLastTriggerColumn(), trigger) << "tick " << t;
    ASSERT_EQ(Snapshot(scope, 0), left) << "tick " << t;
  }
}

TEST(ScopeTrigger, WindowStartsAtTheLastFallingCrossing)
{
  // 45 Hz is not locked to the ticks: the crossing moves through the history.
  ScopeColumns scope(800, kRate, 4.0, 0.17);
  scope.SetTriggerEnabled(true);
  scope.SetChannelMode(1);
  ScopeFeed feed(Tone(45.0));
  feed.Run(scope, 30);
  const uint32_t stride = scope.GetSamplesPerColumn();
  const uint32_t search = scope.GetSearchColumns();
  for (int t = 0; t < 10; ++t)
  {
    feed.Run(scope, 1);
    const SampleBuffer& buffer = feed.Buffer();
    const int64_t start = buffer.Start();
    const int64_t crossing = LastFallingCrossing(buffer, start, int64_t{stride} * search);
    ASSERT_GE(crossing, 0);
    const uint32_t column = scope.GetLastTriggerColumn();
    ASSERT_EQ(column, crossing / stride);
    // The first column drawn is the one holding the crossing, the last ends S x C frames on.
    const auto& ring = scope.GetColumns(0);
    EXPECT_EQ(ring.front(), Reduce(buffer, start + int64_t{column} * stride, stride));
    EXPECT_EQ(ring.back(), Reduce(buffer, start + int64_t{column + 799} * stride, stride));
  }
}

TEST(ScopeFreeRunning, AppendsOnlyTheColumnsThatArrived)
{
  ScopeColumns scope(800, kRate, 4.0, 0.17); // 10 samples per column
  ScopeFeed feed(Ramp);
  feed.Run(scope, 20);
  const auto before = Snapshot(scope, 0);
  feed.Run(scope, 1, 35); // three whole columns and five frames left waiting
  EXPECT_EQ(scope.GetLastDrained(), 30);
  EXPECT_EQ(feed.Buffer().Available(), 5u);
  const auto after = Snapshot(scope, 0);
  EXPECT_TRUE(std::equal(after.begin(), after.end() - 3, before.begin() + 3));
  // The newest column ends at the newest frame.
  const auto& history = feed.Buffer().History();
  EXPECT_EQ(after.back().max, history.back()[0]);
  EXPECT_EQ(after.back().min, history[history.size() - 10][0]);
  EXPECT_EQ(scope.GetColumns(1).back(), after.back());
}

TEST(ScopeFreeRunning, FourSecondsNeverReadsBeforeTheOldestFrame)
{
  // 1664 columns of 115 frames plus 41 search columns ask for more than the 192000 frames held.
  ScopeColumns scope(1664, kRate, 4.0, 4.0);
  ScopeFeed feed(Ramp);
  for (int i = 0; i < 6; ++i)
    feed.Run(scope, 1, 48000);
  scope.SetDuration(4.0); // recompute every column from the full history
  feed.Run(scope, 1, 0);
  const SampleBuffer& buffer = feed.Buffer();
  const int64_t stride = scope.GetSamplesPerColumn();
  const int64_t first = buffer.Start() + int64_t{scope.GetSearchColumns()} * stride;
  ASSERT_LT(buffer.Start(), 0);
  ASSERT_GE(first, 0);
  const auto& ring = scope.GetColumns(0);
  for (size_t c = 0; c < ring.size(); ++c)
    ASSERT_EQ(ring[c], Reduce(buffer, first + static_cast<int64_t>(c) * stride, stride)) << c;
  EXPECT_EQ(ring.back().max, buffer.History().back()[0]);
}

TEST(ScopeFrozen, PositionsZeroAndOneShowTheOldestAndNewestWindows)
{
  ScopeColumns scope(1664, kRate, 4.0, 1.0);
  ScopeFeed feed(Ramp);
  for (int i = 0; i < 5; ++i)
    feed.Run(scope, 1, 48000);
  scope.SetFrozen(true);
  const SampleBuffer& buffer = feed.Buffer();
  const auto& history = buffer.History();
  const int64_t stride = scope.GetSamplesPerColumn();

  scope.SetFrozenPosition(0.0);
  scope.Update(feed.Buffer());
  EXPECT_EQ(scope.GetLastTriggerColumn(), 0u);
  ASSERT_GE(buffer.Start(), 0);
  EXPECT_LT(buffer.Start(), stride) << "no whole column fits before the oldest window";
  EXPECT_EQ(scope.GetColumns(0).front().min, history[buffer.Start()][0]);

  scope.SetFrozenPosition(1.0);
  scope.Update(feed.Buffer());
  EXPECT_EQ(scope.GetLastTriggerColumn(), scope.GetSearchColumns());
  EXPECT_EQ(scope.GetColumns(0).back().max, history.back()[0]);

  scope.SetFrozenPosition(0.5);
  scope.Update(feed.Buffer());
  const int64_t first = buffer.Start() + int64_t{scope.GetSearchColumns() / 2} * stride;
  EXPECT_EQ(scope.GetColumns(0).front().min, history[first][0]);
}
