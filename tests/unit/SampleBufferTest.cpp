#include "plugin/SampleBuffer.h"
#include "dsp/MinMax.h"

#include <gtest/gtest.h>

#include <vector>

using qm::Trazelle::Frame;
using qm::Trazelle::SampleBuffer;

namespace
{

// Frame i of a test stream: (i, -i), so order and identity are visible in every channel.
Frame StreamFrame(long long i)
{
  return {static_cast<double>(i), -static_cast<double>(i)};
}

std::size_t PushStream(SampleBuffer& buffer, long long first, std::size_t n)
{
  std::vector<double> left(n), right(n);
  for (std::size_t i = 0; i < n; ++i)
  {
    left[i] = StreamFrame(first + static_cast<long long>(i))[0];
    right[i] = StreamFrame(first + static_cast<long long>(i))[1];
  }
  return buffer.Push(left.data(), right.data(), n);
}

struct CountingVisitor
{
  void Apply(const double& x)
  {
    ++calls;
    last = x;
  }
  int calls = 0;
  double last = 0.0;
};

} // namespace

TEST(SampleBuffer, UnreadQueueFillsToCapacityThenDropsWithoutBlocking)
{
  constexpr std::uint64_t kN = 11025; // the meter's buffer at 44100 Hz
  SampleBuffer buffer(kN, Frame{});
  EXPECT_EQ(PushStream(buffer, 0, 5000), 5000u);
  EXPECT_EQ(PushStream(buffer, 5000, 10000), kN - 5000);
  EXPECT_FALSE(buffer.Push(StreamFrame(99999)));
  EXPECT_EQ(buffer.Available(), kN);
  EXPECT_EQ(buffer.Dropped(), 15001 - kN);

  // The first drain takes the frames queued before the queue filled, then newer ones follow.
  EXPECT_EQ(buffer.Drain(kN * 2), kN);
  EXPECT_EQ(buffer.History().front(), StreamFrame(0));
  EXPECT_EQ(buffer.History().back(), StreamFrame(static_cast<long long>(kN) - 1));
  buffer.SubtractAvailable(kN);
  ASSERT_TRUE(buffer.Push(StreamFrame(123456)));
  EXPECT_EQ(buffer.Drain(5), 1u);
  EXPECT_EQ(buffer.History().back(), StreamFrame(123456));
}

TEST(SampleBuffer, FullQueueHoldsExactlyCapacityWhateverTheBlockAlignment)
{
  // The queue stores frames in blocks of 256; capacities around a block boundary and a queue whose
  // content straddles blocks must still take exactly N frames.
  for (std::uint64_t n : {1ull, 2ull, 255ull, 256ull, 257ull, 1000ull})
  {
    SampleBuffer buffer(n, Frame{});
    long long next = 0;
    for (int round = 0; round < 6; ++round)
    {
      const std::size_t room = static_cast<std::size_t>(round == 0 ? n : n / 2 + 1);
      EXPECT_EQ(PushStream(buffer, next, room + 7), room) << "capacity " << n << " round " << round;
      next += static_cast<long long>(room);
      buffer.Drain(static_cast<std::size_t>(n / 2 + 1));
    }
  }
}

TEST(SampleBuffer, ResizeEmptiesTheQueueAndAvailableButKeepsTheView)
{
  SampleBuffer buffer(100, Frame{1.0, 1.0});
  PushStream(buffer, 0, 40);
  buffer.SetView(10, 3);
  buffer.Resize(50);
  EXPECT_EQ(buffer.Available(), 0u);
  EXPECT_EQ(buffer.Capacity(), 50u);
  EXPECT_EQ(buffer.Drain(40), 0u);
  EXPECT_EQ(buffer.History().size(), 50u);
  EXPECT_EQ(buffer.History().front(), (Frame{1.0, 1.0}));
  EXPECT_EQ(buffer.Columns(), 10);
  EXPECT_EQ(buffer.Stride(), 3);
  EXPECT_EQ(buffer.Span(), 30);
  // The new queue has the new capacity.
  EXPECT_EQ(PushStream(buffer, 0, 80), 50u);
}

TEST(SampleBufferConsumer, DrainsWholeStridesOnlyAndKeepsTheRemainderCounted)
{
  SampleBuffer buffer(100, Frame{});
  PushStream(buffer, 0, 10);
  EXPECT_EQ(buffer.Consume(2, 4), 8u);
  EXPECT_EQ(buffer.Available(), 2u);
  EXPECT_EQ(buffer.Span(), 8);
  EXPECT_EQ(buffer.Start(), 92);
  EXPECT_EQ(buffer.History().back(), StreamFrame(7));
  PushStream(buffer, 10, 2);
  EXPECT_EQ(buffer.Consume(2, 4), 4u);
  EXPECT_EQ(buffer.History().back(), StreamFrame(11));
  EXPECT_EQ(buffer.Available(), 0u);
}

// A reset while frames wait (normal with the editor closed) must not leave a
// stale count behind: every later drain would take partial columns.
TEST(SampleBufferConsumer, AvailableIsExactAfterAResizeSoDrainsStayWholeColumns)
{
  SampleBuffer buffer(100, Frame{});
  PushStream(buffer, 0, 30);
  buffer.Resize(100);
  PushStream(buffer, 100, 5);
  EXPECT_EQ(buffer.Available(), 5u);
  EXPECT_EQ(buffer.Consume(1, 2), 4u);
  EXPECT_EQ(buffer.Available(), 1u);
  EXPECT_EQ(buffer.History().back(), StreamFrame(103));
}

TEST(SampleBufferVisit, WindowEndingAtTheNewestFrameNeverReadsPastIt)
{
  SampleBuffer buffer(12, Frame{});
  PushStream(buffer, 1, 12);
  buffer.Consume(3, 4); // the window is the whole history: columns start at 0, 4 and 8
  CountingVisitor last;
  buffer.Visit(1, 2, last);
  EXPECT_EQ(last.calls, 4);
  EXPECT_EQ(last.last, -12.0);
  CountingVisitor beyond;
  buffer.Visit(1, 3, beyond);
  EXPECT_EQ(beyond.calls, 0);
}

TEST(SampleBufferVisit, WindowWiderThanTheHistorySkipsTheMissingFrames)
{
  SampleBuffer buffer(6, Frame{});
  PushStream(buffer, 1, 6);
  buffer.Consume(4, 2); // span 8 > 6: start is -2
  EXPECT_EQ(buffer.Start(), -2);
  CountingVisitor first;
  buffer.Visit(0, 0, first);
  EXPECT_EQ(first.calls, 0);
  qm::dsp::MinMax<double> second;
  buffer.Visit(0, 1, second);
  EXPECT_EQ(second.min, 1.0);
  EXPECT_EQ(second.max, 2.0);
}

TEST(SampleBuffer, ZeroCapacityDropsEverythingSafely)
{
  SampleBuffer buffer(0, Frame{});
  EXPECT_FALSE(buffer.Push(Frame{1.0, 1.0}));
  EXPECT_EQ(buffer.Drain(1), 0u);
  EXPECT_EQ(buffer.Consume(10, 1), 0u);
  CountingVisitor v;
  buffer.Visit(0, 0, v);
  EXPECT_EQ(v.calls, 0);
}
