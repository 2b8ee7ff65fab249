#include "graphics/DisplayTick.h"

#include <gtest/gtest.h>

#include <deque>

using namespace kit::gfx;

TEST(DisplayTickTimer, FastRatesTickEvery15MsSlowOnesKeepTheirPeriodNonsenseFallsBackTo60)
{
  // floor(1000 / 60) = 16 is below 20, so the fast interval applies.
  for (const auto& [rate, ms] :
       {std::pair{60, 15}, {51, 15}, {50, 20}, {1, 1000}, {0, 15}, {-5, 15}})
    EXPECT_EQ(DisplayTickTimerIntervalMs(rate), ms) << rate;
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
