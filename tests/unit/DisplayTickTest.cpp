#include "graphics/DisplayTick.h"

#include <gtest/gtest.h>

#include <deque>

using namespace kit::gfx;

TEST(DisplayTickTimer, SixtyFramesPerSecondTicksEvery15Ms)
{
  // floor(1000 / 60) = 16 is below 20, so the fast interval applies.
  EXPECT_EQ(DisplayTickTimerIntervalMs(60), 15);
}

TEST(DisplayTickTimer, SlowRatesKeepTheirWholeMillisecondPeriod)
{
  EXPECT_EQ(DisplayTickTimerIntervalMs(50), 20);
  EXPECT_EQ(DisplayTickTimerIntervalMs(30), 33);
  EXPECT_EQ(DisplayTickTimerIntervalMs(1), 1000);
  EXPECT_EQ(DisplayTickTimerIntervalMs(51), 15);
}

TEST(DisplayTickTimer, NonPositiveRateFallsBackTo60)
{
  EXPECT_EQ(DisplayTickTimerIntervalMs(0), 15);
  EXPECT_EQ(DisplayTickTimerIntervalMs(-5), 15);
}

TEST(DisplayTickMode, VBlankWaiterFromWindows8On)
{
  EXPECT_FALSE(SupportsVBlankWaiter(6, 1)) << "Windows 7 ticks from the timer";
  EXPECT_TRUE(SupportsVBlankWaiter(6, 2));
  EXPECT_TRUE(SupportsVBlankWaiter(6, 3));
  EXPECT_TRUE(SupportsVBlankWaiter(10, 0)) << "a newer major version with minor 0 qualifies";
  EXPECT_FALSE(SupportsVBlankWaiter(5, 9));
}

namespace
{

// A window's message queue fed by a vertical-blank counter; each delivered
// message that passes the filter is one redraw, during which `blanksPerDraw`
// further blanks may pass.
struct VBlankSimulation
{
  VBlankTickFilter filter;
  uint32_t counter = 0;
  std::deque<uint32_t> queue;
  int redraws = 0;

  void Blank() { queue.push_back(++counter); }

  void Deliver(int blanksDuringDraw = 0)
  {
    const uint32_t message = queue.front();
    queue.pop_front();
    if (!filter.ShouldTick(message, counter)) return;
    const uint32_t start = counter;
    ++redraws;
    for (int i = 0; i < blanksDuringDraw; ++i)
      Blank();
    filter.TickDone(start, counter);
  }
};

} // namespace

TEST(VBlankTickCoalescing, TwoQueuedBlanksCauseOneRedraw)
{
  VBlankSimulation sim;
  sim.Blank();
  sim.Blank();
  sim.Deliver();
  sim.Deliver();
  EXPECT_EQ(sim.redraws, 1);
}

TEST(VBlankTickCoalescing, EveryBlankRedrawsWhenTheWindowKeepsUp)
{
  VBlankSimulation sim;
  for (int i = 0; i < 10; ++i)
  {
    sim.Blank();
    sim.Deliver();
  }
  EXPECT_EQ(sim.redraws, 10);
}

TEST(VBlankTickCoalescing, BlankDuringSlowDrawIsDroppedNotQueued)
{
  VBlankSimulation sim;
  sim.Blank();
  sim.Deliver(1); // a blank passes while this frame draws
  ASSERT_EQ(sim.queue.size(), 1u);
  sim.Deliver();
  EXPECT_EQ(sim.redraws, 1) << "the blank that arrived mid-draw must not start a second frame";
  sim.Blank();
  sim.Deliver();
  EXPECT_EQ(sim.redraws, 2) << "the next fresh blank draws again";
}

TEST(VBlankTickCoalescing, LongBacklogCollapsesToOneRedraw)
{
  VBlankSimulation sim;
  sim.Blank();
  sim.Deliver(5);
  while (!sim.queue.empty())
    sim.Deliver();
  EXPECT_EQ(sim.redraws, 1);
}

TEST(VBlankTickCoalescing, SurvivesCounterWrapAround)
{
  VBlankSimulation sim;
  sim.counter = 0xFFFFFFFEu;
  sim.Blank();
  sim.Deliver(2); // counter wraps past zero during the draw
  while (!sim.queue.empty())
    sim.Deliver();
  EXPECT_EQ(sim.redraws, 1);
  sim.Blank();
  sim.Deliver();
  EXPECT_EQ(sim.redraws, 2);
}
