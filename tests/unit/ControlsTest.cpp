// The plug-in's controls operated directly: what each click, drag and wheel step does and
// what they draw.

#include "RecordingGraphics.h"
#include "WidgetTestSupport.h"
#include "controls/ControlBase.h"
#include "controls/GridControl.h"
#include "controls/HidingOverlayControl.h"
#include "controls/KnobControl.h"
#include "controls/LineControl.h"
#include "controls/Oscilloscope.h"
#include "controls/PopupControl.h"
#include "controls/SliderControl.h"
#include "controls/SwitchControl.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using kit::gfx::IColor;
using kit::gfx::IRECT;
using kit::gfx::test::Op;
using kit::gfx::test::RecordingGraphics;
using qm::control::ControlStyle;
using Scope = qm::control::Oscilloscope<2>;

namespace qm::control::test
{
namespace
{

/** The smallest concrete ControlBase: counts style rebuilds. */
class ProbeControl : public ControlBase
{
public:
  using ControlBase::ControlBase;

  void Draw(GraphicsContext&) override {}
  void OnStyleChanged() override { ++styleChanges; }

  int styleChanges = 0;
};

TEST(ControlBase, SetColorsReplacesOnlyTheColoursAndRebuilds)
{
  ControlStyle style = TestStyle();
  style.labelGap = 8.f;
  ProbeControl c(IRECT(0, 0, 50, 20), nullptr, style, "theme");
  c.SetClean();

  const ColorSet theme = DistinctColors(128);
  c.SetColors(theme);

  EXPECT_EQ(c.GetStyle().colors, theme);
  EXPECT_EQ(c.GetStyle().labelGap, 8.f);
  EXPECT_EQ(c.GetStyle().labelText, style.labelText);
  EXPECT_EQ(c.styleChanges, 1);
  EXPECT_TRUE(c.IsDirty());
}

std::vector<double> Clicks(int states, int clicks)
{
  std::vector<double> seen;
  SwitchControl sw(
      IRECT(0, 0, 58, 26), states, [&](IControl* c) { seen.push_back(c->GetValue()); }, "",
      TestStyle());
  for (int i = 0; i < clicks; ++i)
    sw.OnMouseDown(29, 13, IMouseMod(true));
  return seen;
}

TEST(SwitchControl, EachClickStepsToTheNextStateAndWrapsToZero)
{
  EXPECT_EQ(Clicks(2, 3), (std::vector<double>{1.0, 0.0, 1.0}));
  EXPECT_EQ(Clicks(3, 4), (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  // Adding 0.1 ten times falls short of 1; stepping by state index must not.
  const auto eleven = Clicks(11, 11);
  ASSERT_EQ(eleven.size(), 11u);
  for (int i = 0; i < 10; ++i)
    EXPECT_NEAR(eleven[i], (i + 1) / 10.0, 1e-12) << "click " << i;
  EXPECT_EQ(eleven[9], 1.0);
  EXPECT_EQ(eleven[10], 0.0);
}

TEST(SwitchControl, DoubleClickTogglesTwiceThroughTheGraphicsContext)
{
  std::vector<double> seen;
  RecordingGraphics g;
  g.AttachControl(new SwitchControl(
      IRECT(0, 0, 58, 26), 2, [&](IControl* c) { seen.push_back(c->GetValue()); }, "mode",
      TestStyle()));
  g.OnMouseDown(Pointer(29, 13));
  g.OnMouseUp(Pointer(29, 13));
  g.OnMouseDblClick(29, 13, IMouseMod(true));
  g.OnMouseUp(Pointer(29, 13));
  EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0}));
}

// The position slider: a 832 x 16 track with a handle 0.2 of its width.
struct SliderFixture : ::testing::Test
{
  std::vector<double> seen;
  SliderControl<1> slider{IRECT(0, 304, 832, 320),
                          [this](IControl* c) { seen.push_back(c->GetValue()); }, TestStyle(), ""};

  SliderFixture() { slider.SetHandle(IRECT(0, 304, 166.4f, 320)); }

  void Drag(float fromX, float toX, float stepX)
  {
    for (float x = fromX + stepX; stepX > 0 ? x <= toX : x >= toX; x += stepX)
      slider.OnMouseDrag(x, 312, stepX, 0, IMouseMod(true));
  }
};

TEST_F(SliderFixture, ClickOffTheHandleCentresItOnThePointer)
{
  slider.SetValue(1.0);
  slider.OnMouseDown(300, 312, IMouseMod(true));
  EXPECT_NEAR(slider.GetHandle().MW(), 300.f, 1e-3);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_NEAR(seen[0], (300.0 - 83.2) / (832.0 - 166.4), 1e-6);
  EXPECT_TRUE(slider.IsPressed());
}

TEST_F(SliderFixture, ClickNearAnEndStopsTheHandleAtThatEnd)
{
  slider.SetValue(0.5);
  slider.OnMouseDown(10, 312, IMouseMod(true));
  EXPECT_EQ(seen.back(), 0.0);
  EXPECT_FLOAT_EQ(slider.GetHandle().L, 0.f);
  slider.OnMouseDown(830, 312, IMouseMod(true));
  EXPECT_EQ(seen.back(), 1.0);
  EXPECT_FLOAT_EQ(slider.GetHandle().R, 832.f);
}

TEST_F(SliderFixture, BeyondAnEndTheHandleWaitsForThePointerToComeBack)
{
  slider.SetValue(0.5);
  slider.OnMouseDown(400, 312, IMouseMod(true));
  Drag(400, 1000, 20); // far past the right end
  EXPECT_FLOAT_EQ(slider.GetHandle().R, 832.f);
  const size_t atEnd = seen.size();

  // Coming back left while still beyond the grab point's end position: nothing moves.
  Drag(1000, 820, -20);
  EXPECT_FLOAT_EQ(slider.GetHandle().R, 832.f);
  EXPECT_EQ(seen.size(), atEnd);

  // The grab point is 16 px left of the handle centre, so the handle leaves the end once the
  // pointer is back left of 832 - 83.2 - 16 = 732.8.
  slider.OnMouseDrag(700, 312, -120, 0, IMouseMod(true));
  EXPECT_NEAR(slider.GetHandle().MW(), 716.f, 1e-3);
  EXPECT_GT(seen.size(), atEnd);
}

TEST_F(SliderFixture, HandleAsWideAsTheTrackStaysPut)
{
  slider.SetHandle(IRECT(0, 304, 832, 320));
  slider.OnMouseDown(900, 312, IMouseMod(true));
  slider.OnMouseDrag(100, 312, -800, 0, IMouseMod(true));
  for (double v : seen)
    EXPECT_EQ(v, 0.0);
  EXPECT_FLOAT_EQ(slider.GetHandle().L, 0.f);
}

constexpr float kMinAngle = 225.f;
constexpr float kMaxAngle = 495.f;
constexpr double kGearing = 4.0;

struct KnobFixture : ::testing::Test
{
  std::vector<double> seen;
  std::unique_ptr<KnobControl> MakeKnob(const IRECT& bounds)
  {
    return std::make_unique<KnobControl>(
        bounds, [this](IControl* c) { seen.push_back(c->GetValue()); }, TestStyle(), "duration",
        kMinAngle, kMaxAngle, kGearing);
  }
};

TEST_F(KnobFixture, DragUpByGearingTimesHeightCoversTheRange)
{
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  // 4 x 56 pixels upwards, in small steps as a mouse would deliver them.
  for (int i = 0; i < 56; ++i)
    knob->OnMouseDrag(28, 28, 0, -4.f, IMouseMod(true));
  EXPECT_NEAR(knob->GetValue(), 1.0, 1e-9);

  for (int i = 0; i < 28; ++i)
    knob->OnMouseDrag(28, 28, 0, 4.f, IMouseMod(true));
  EXPECT_NEAR(knob->GetValue(), 0.5, 1e-9);
  EXPECT_EQ(seen.size(), 84u) << "every drag step runs the action";
}

TEST_F(KnobFixture, DragGearingUsesTheClickableHeightNotTheSquare)
{
  auto knob = MakeKnob(IRECT(0, 0, 40, 100)); // square 40, clickable height 100
  knob->OnMouseDrag(20, 50, 0, -100.f, IMouseMod(true));
  EXPECT_NEAR(knob->GetValue(), 0.25, 1e-9);
}

TEST_F(KnobFixture, OneWheelStepReachesAnEnd)
{
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  knob->SetValue(0.3);
  knob->OnMouseWheel(28, 28, IMouseMod(), 1.f);
  knob->SetValue(0.3);
  knob->OnMouseWheel(28, 28, IMouseMod(), -1.f);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], 1.0);
  EXPECT_EQ(seen[1], 0.0);
}

TEST_F(KnobFixture, AltClickRunsAlternateFunctionAndStillPresses)
{
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  int alt = 0;
  knob->SetAltClickFunction([&] { ++alt; });

  knob->OnMouseDown(28, 28, IMouseMod(true));
  EXPECT_EQ(alt, 0);
  EXPECT_TRUE(knob->IsPressed());
  knob->OnMouseUp(28, 28, IMouseMod(true));
  EXPECT_FALSE(knob->IsPressed());

  knob->OnMouseDown(28, 28, IMouseMod(true, false, false, false, true));
  EXPECT_EQ(alt, 1);
  EXPECT_TRUE(knob->IsPressed());
  EXPECT_TRUE(seen.empty()) << "a click alone does not change the value";
}

TEST_F(KnobFixture, DoubleClickActsAsSecondClick)
{
  RecordingGraphics g;
  int alt = 0;
  auto* knob = static_cast<KnobControl*>(g.AttachControl(MakeKnob(IRECT(0, 0, 56, 56)).release()));
  knob->SetAltClickFunction([&] { ++alt; });
  const IMouseMod altClick(true, false, false, false, true);
  g.OnMouseDown(Pointer(28, 28, 0, 0, altClick));
  g.OnMouseUp(Pointer(28, 28, 0, 0, altClick));
  g.OnMouseDblClick(28, 28, altClick);
  EXPECT_EQ(alt, 2);
  EXPECT_TRUE(knob->IsPressed());
}

struct PopupFixture : ::testing::Test
{
  RecordingGraphics g;
  std::vector<int> chosen;
  PopupControl* popup = nullptr;

  void SetUp() override
  {
    ControlStyle style = TestStyle();
    style.labelGap = 8.f;
    auto menu = std::make_unique<IPopupMenu>(
        "themes", std::initializer_list<const char*>{"blue", "orange", "green", "pink"});
    popup = static_cast<PopupControl*>(g.AttachControl(new PopupControl(
        IRECT(680, 368, 776, 384), std::move(menu), 2, [this](int i) { chosen.push_back(i); },
        "theme", style)));
    ASSERT_NE(popup, nullptr);
  }
};

TEST_F(PopupFixture, ClickOpensItsMenuAndReportsTheChoice)
{
  EXPECT_EQ(popup->GetValueText(), "green");
  g.popupChoice = 1;
  g.OnMouseDown(Pointer(700, 376));
  EXPECT_EQ(g.lastMenu, &popup->GetMenu());
  EXPECT_EQ(chosen, (std::vector<int>{1}));
  EXPECT_EQ(popup->GetValueText(), "orange");
  EXPECT_FALSE(popup->IsPressed());
  EXPECT_FALSE(popup->GetMouseIsOver());
}

TEST_F(PopupFixture, DismissedMenuChangesNothing)
{
  g.popupChoice = -1;
  popup->SetMouseIsOver(true);
  g.OnMouseDown(Pointer(700, 376));
  EXPECT_EQ(g.lastMenu, &popup->GetMenu());
  EXPECT_TRUE(chosen.empty());
  EXPECT_EQ(popup->GetValueText(), "green");
  EXPECT_FALSE(popup->GetMouseIsOver());
}

TEST_F(PopupFixture, ChoiceOutsideTheItemsKeepsTheTextButIsStillReported)
{
  popup->GetMenu().SetChosenItemIdx(7);
  popup->OnPopupMenuSelection(&popup->GetMenu(), 0);
  EXPECT_EQ(popup->GetValueText(), "green");
  EXPECT_EQ(chosen, (std::vector<int>{7}));
}

TEST(LineControl, FlatLineIsStillDrawnByTheGraphicsContext)
{
  // A horizontal line has a zero-height box; the context's 0.75 px margin must still reach it.
  RecordingGraphics g;
  g.AttachControl(new LineControl(0, 176, 832, 176));
  IRECTList dirty;
  ASSERT_TRUE(g.IsDirty(dirty));
  g.Draw(dirty);
  EXPECT_EQ(g.Count(Op::Stroke), 1);
}

const IRECT kLogo(734, 13, 800, 35);
const IRECT kAbout(0, 48, 832, 464);

struct OverlayFixture : ::testing::Test
{
  RecordingGraphics g;
  std::vector<IRECT> closedDraws;
  std::vector<IRECT> openDraws;
  HidingOverlayControl* overlay = nullptr;
  IControl* page = nullptr; // list A: shown while closed
  IControl* link = nullptr; // list B: shown while open

  void SetUp() override
  {
    overlay = static_cast<HidingOverlayControl*>(g.AttachControl(new HidingOverlayControl(
        kLogo, kAbout, [this](GraphicsContext&, const IRECT& r) { closedDraws.push_back(r); },
        [this](GraphicsContext&, const IRECT& r) { openDraws.push_back(r); })));
    page = g.AttachControl(new LineControl(0, 176, 832, 176));
    overlay->AddToListA(page);
    link = g.AttachControl(new LineControl(0, 288, 832, 288));
    overlay->AddToListB(link);
  }
};

TEST_F(OverlayFixture, ClickOnTheTriggerOpensAndSwapsTheLists)
{
  EXPECT_FALSE(page->IsHidden());
  EXPECT_TRUE(link->IsHidden());
  g.OnMouseDown(Pointer(750, 20));
  g.OnMouseUp(Pointer(750, 20));
  EXPECT_TRUE(overlay->IsOpen());
  EXPECT_TRUE(page->IsHidden());
  EXPECT_FALSE(link->IsHidden());
  EXPECT_EQ(overlay->GetTargetRECT(), kAbout);
  EXPECT_FALSE(overlay->GetMouseIsOver());

  // The trigger area is no longer the overlay's; a click in the page closes it again.
  g.OnMouseDown(Pointer(400, 100));
  EXPECT_FALSE(overlay->IsOpen());
  EXPECT_FALSE(page->IsHidden());
  EXPECT_TRUE(link->IsHidden());
  EXPECT_EQ(overlay->GetTargetRECT(), kLogo);
}

TEST_F(OverlayFixture, ControlsAddedWhileOpenAreHiddenAtOnce)
{
  overlay->OnMouseDown(750, 20, IMouseMod(true));
  IControl* late = g.AttachControl(new LineControl(0, 10, 10, 10));
  overlay->AddToListA(late);
  EXPECT_TRUE(late->IsHidden());
  IControl* lateLink = g.AttachControl(new LineControl(0, 20, 10, 20));
  overlay->AddToListB(lateLink);
  EXPECT_FALSE(lateLink->IsHidden());
}

constexpr float kSpacing = 14.f; // the value text size, as the editor sets it

/** One drawn grid line: where it lies (y for horizontal, x for vertical) and its label. */
struct Line
{
  float pos;
  std::string label;
  std::vector<float> labelRect;
};

struct Grid : ::testing::Test
{
  ControlStyle style = TestStyle();
  RecordingGraphics g;

  Grid()
  {
    style.valueText = IText(14.f, IColor(255, 38, 50, 56), "Abel-Regular", EAlign::Near);
    style.showLabel = false;
  }

  /** Draws `grid` and pairs each slot-1 line stroke with the label drawn after it (if any). */
  std::vector<Line> Draw(GridControl& grid, bool vertical)
  {
    g.Reset();
    grid.Draw(g);
    std::vector<Line> lines;
    std::vector<Command> path;
    for (const Command& c : g.commands)
    {
      if (c.op == Op::Clear)
        path.clear();
      else if (c.op == Op::MoveTo || c.op == Op::LineTo)
        path.push_back(c);
      else if (c.op == Op::Stroke)
      {
        EXPECT_EQ(c.pattern.GetFirstColor(), style.Color(1));
        EXPECT_EQ(path.size(), 2u);
        const float a = path[0].args[vertical ? 0 : 1], b = path[1].args[vertical ? 0 : 1];
        EXPECT_EQ(a, b) << "grid lines are straight";
        lines.push_back({a, {}, {}});
        path.clear();
      }
      else if (c.op == Op::Text && !lines.empty())
      {
        lines.back().label = c.text;
        lines.back().labelRect = c.args;
      }
    }
    return lines;
  }
};

// The editor's upper level grid: 3 dB steps on an amplitude scale, labels at least 14 px apart.
TEST_F(Grid, DecibelLinesSitAtTheirAmplitudeCrowdedOnesAreSkippedNoneAtOrBelowMinus96)
{
  GridControl grid{IRECT(0, 48, 832, 176), style};
  grid.SetXRange(0, 1);
  grid.SetYRange(0, 1);
  grid.SetSteps(0.001, 3.0);
  grid.SetMinSpacing(3 * kSpacing, kSpacing);
  grid.SetLines(true, false);
  grid.SetDecibelMode(true);
  grid.SetLabelPrecision(1);
  const auto lines = Draw(grid, false);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0].label, "0.0");
  EXPECT_EQ(lines[1].label, "-3.0");
  const auto y = [](double level) { return 48.0 + 128.0 * (1.0 - std::pow(10.0, level / 20.0)); };
  size_t next = 0;
  double lastDrawn = 0.0;
  for (int level = 0; level > -96; level -= 3)
  {
    if (next < lines.size() && std::stod(lines[next].label) == level)
    {
      EXPECT_NEAR(lines[next].pos, y(level), 1e-3) << level;
      if (next > 0)
      {
        EXPECT_GE(std::fabs(y(level) - y(lastDrawn)), kSpacing - 1e-3) << level;
      }
      lastDrawn = level;
      ++next;
    }
    else
    {
      EXPECT_LT(std::fabs(y(level) - y(lastDrawn)), kSpacing) << "skipped " << level;
    }
  }
  EXPECT_EQ(next, lines.size()) << "every drawn line is a multiple of 3 dB above -96";
  EXPECT_LT(lines.size(), 32u) << "the quiet end thins out";

  grid.SetYRange(0, 1e-7);
  EXPECT_TRUE(Draw(grid, false).empty()) << "silent range";
  grid.SetYRange(0, 0);
  EXPECT_TRUE(Draw(grid, false).empty()) << "empty range";
  grid.SetYRange(0, 1);
  grid.SetSteps(0.001, 0.0);
  EXPECT_TRUE(Draw(grid, false).empty()) << "zero step";
}

// The editor's time grid starts at the smallest positive double, not at zero.
TEST_F(Grid, TimeGridFromSmallestPositiveDoubleStartsOneStepIn)
{
  style.valueText.mVAlign = EVAlign::Bottom;
  GridControl grid{IRECT(0, 48, 832, 304), style};
  grid.SetYRange(0, 1);
  grid.SetSteps(0.01, 1.0);
  grid.SetLines(false, true);
  grid.SetMirrored(1);
  grid.SetLabelPrecision(2);
  grid.SetMinSpacing(10.f, kSpacing);
  for (double lowest :
       {std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min()})
  {
    grid.SetXRange(lowest, 0.2);
    const auto lines = Draw(grid, true);
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_NEAR(lines[0].pos, 41.6f, 1e-3);
    EXPECT_EQ(lines[0].label, "0.01");
    EXPECT_EQ(lines[1].label, "0.02");
    EXPECT_EQ(lines[0].labelRect, (std::vector<float>{lines[0].pos, 48, lines[1].pos, 304}))
        << "each label fills the cell right of its line";
  }
}

} // namespace
} // namespace qm::control::test

namespace
{

constexpr double kRate = 48000.0;
const IRECT kScopeBounds{0.f, 48.f, 832.f, 304.f}; // the editor's scope

ControlStyle Style()
{
  ControlStyle style;
  for (int i = 0; i < static_cast<int>(style.colors.size()); ++i)
    style.colors[i] = IColor(255, (20 * i) % 256, (7 * i) % 256, 100);
  return style;
}

// A plug-in at 48 kHz feeding the scope's buffer.
struct Input
{
  Input()
  {
    plugin.SetSampleRate(kRate);
    plugin.OnReset();
  }
  qm::Trazelle::SampleBuffer* Feed() { return &plugin.OscilloscopeBuffer(); }
  qm::Trazelle::Trazelle plugin;
};

} // namespace

TEST(Oscilloscope, ChannelModeSelectsTheTraces)
{
  Input input;
  const ControlStyle style = Style();
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 2.0, style);
  const std::pair<int, std::vector<IColor>> cases[] = {
      {1, {style.colors[8]}},
      {2, {style.colors[7]}},
      {3, {style.colors[8], style.colors[7]}},
      {0, {}},
      {4, {}},
  };
  for (const auto& [mode, colours] : cases)
  {
    scope.SetChannelMode(mode);
    RecordingGraphics g;
    scope.Draw(g);
    const auto strokes = g.Of(Op::Stroke);
    ASSERT_EQ(strokes.size(), colours.size()) << "mode " << mode;
    for (size_t i = 0; i < strokes.size(); ++i)
      EXPECT_EQ(strokes[i].pattern.GetFirstColor(), colours[i]) << "mode " << mode;
  }
}

TEST(Oscilloscope, RedrawsEveryFrameWhileLiveAndOnlyWhenMarkedWhileFrozen)
{
  Input input;
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 2.0, Style());
  scope.SetClean();
  EXPECT_TRUE(scope.IsDirty());
  scope.Hide(true);
  EXPECT_FALSE(scope.IsDirty());
  scope.Hide(false);

  scope.SetFrozen(true);
  scope.SetClean();
  EXPECT_FALSE(scope.IsDirty());
  scope.SetFrozenPosition(0.5);
  EXPECT_TRUE(scope.IsDirty());
  scope.SetClean();
  scope.SetGain(3.0);
  EXPECT_TRUE(scope.IsDirty());
}
