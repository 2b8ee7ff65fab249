// Pure rules of the Windows platform code: display ticks, screen scales and paint areas,
// text entry keys and clicks.

#include "graphics/DisplayTick.h"
#include "graphics/TextEntryRules.h"
#include "graphics/WindowRules.h"

#include <cmath>
#include <deque>
#include <gtest/gtest.h>

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

TEST(WindowScreenScale, IsWholeMultipleOf96Dpi)
{
  EXPECT_EQ(ScreenScaleFromDpi(0), 1) << "unknown DPI";
  EXPECT_EQ(ScreenScaleFromDpi(96), 1);
  EXPECT_EQ(ScreenScaleFromDpi(120), 1) << "125 % rounds to 1";
  EXPECT_EQ(ScreenScaleFromDpi(144), 2) << "150 % rounds up";
  EXPECT_EQ(ScreenScaleFromDpi(192), 2);
  EXPECT_EQ(ScreenScaleFromDpi(288), 3);
  EXPECT_EQ(ScreenScaleFromDpi(30), 1);
}

TEST(WindowScreenScale, XftDpiGivesFractions)
{
  const struct
  {
    double dpi;
    float scale;
  } rows[] = {{0.0, 1.f},  {96.0, 1.f}, {144.0, 1.5f}, {120.0, 1.25f}, {192.0, 2.f},
              {72.0, 1.f}, {-5.0, 1.f}, {1e9, 4.f},    {NAN, 1.f},     {INFINITY, 1.f}};
  for (const auto& row : rows)
    EXPECT_FLOAT_EQ(ScreenScaleFromXftDpi(row.dpi), row.scale) << row.dpi;
}

TEST(WindowPaintRect, DeviceRectRoundsOutwardToLogical)
{
  // 2 × scale: (5, 5, 31, 31) device covers logical 2.5 .. 15.5.
  const LogicalRect r = DeviceToLogicalOutward(5, 5, 31, 31, 2.f);
  EXPECT_FLOAT_EQ(r.L, 2.f);
  EXPECT_FLOAT_EQ(r.T, 2.f);
  EXPECT_FLOAT_EQ(r.R, 16.f);
  EXPECT_FLOAT_EQ(r.B, 16.f);
  const LogicalRect same = DeviceToLogicalOutward(0, 0, 832, 464, 1.f);
  EXPECT_FLOAT_EQ(same.R, 832.f);
  EXPECT_FLOAT_EQ(same.B, 464.f);
}

TEST(WindowPaintRect, LogicalToDeviceRoundsToNearest)
{
  EXPECT_EQ(LogicalToDevice(10.4f, 1.5f), 16);
  EXPECT_EQ(LogicalToDevice(10.f, 2.f), 20);
}

TEST(TextEntryClicks, ClickIntoEditorWhileTypingCancels)
{
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Left, true), TextEntryRequest::Cancel);
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Right, true), TextEntryRequest::Cancel);
}

TEST(TextEntryClicks, MiddleClickOrClickWithoutFocusCommits)
{
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Middle, true), TextEntryRequest::Commit);
  EXPECT_EQ(TextEntryClickRequest(TextEntryClick::Left, false), TextEntryRequest::Commit);
}

TEST(TextEntryCharacters, LetterIsRefusedInNumericEntries)
{
  for (int type :
       {kTextEntryParamBool, kTextEntryParamInt, kTextEntryParamEnum, kTextEntryParamDouble})
    EXPECT_FALSE(TextEntryAcceptsChar(type, U'a')) << "type " << type;
  EXPECT_TRUE(TextEntryAcceptsChar(kTextEntryNoParam, U'a'));
}

TEST(TextEntryCharacters, DigitsSignsAndBackspaceAlwaysPass)
{
  for (int type : {kTextEntryNoParam, kTextEntryParamBool, kTextEntryParamInt, kTextEntryParamEnum,
                   kTextEntryParamDouble})
  {
    for (char32_t ch : {U'0', U'7', U'9', U'+', U'-', U'\b'})
      EXPECT_TRUE(TextEntryAcceptsChar(type, ch)) << "type " << type << " char " << int(ch);
    EXPECT_FALSE(TextEntryAcceptsChar(type, U'\r')) << "Enter must not become a line break";
    EXPECT_FALSE(TextEntryAcceptsChar(type, U'\x1b'));
  }
}

TEST(TextEntrySessionFlow, EscapeThenFocusLossStaysCancelled)
{
  TextEntrySession session;
  session.Begin();
  session.Request(TextEntryKeyRequest(kTextEntryKeyEscape));
  session.Request(TextEntryRequest::Commit); // focus moves away as the box closes
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::Cancel);
}

TEST(TextEntrySessionFlow, FocusLossCommitsOnNextTickThenRepaintsOnce)
{
  TextEntrySession session;
  session.Begin();
  EXPECT_TRUE(session.IsOpen());
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::None) << "typing alone does nothing";
  session.Request(TextEntryRequest::Commit);
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::Commit);
  EXPECT_FALSE(session.IsOpen());
  EXPECT_EQ(session.TakeRequest(), TextEntryRequest::None) << "a request is handled once";
  EXPECT_TRUE(session.TakeRedraw());
  EXPECT_FALSE(session.TakeRedraw());
  EXPECT_EQ(session.State(), TextEntryState::Idle);
}
