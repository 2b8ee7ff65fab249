// The plug-in's controls operated directly: what each click, drag and wheel step does.

#include "WidgetTestSupport.h"
#include "controls/ControlBase.h"
#include "controls/HidingOverlayControl.h"
#include "controls/KnobControl.h"
#include "controls/LineControl.h"
#include "controls/PopupControl.h"
#include "controls/SliderControl.h"
#include "controls/SwitchControl.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

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

// The recording context measures 0.5 x size per glyph, so "theme" at size 18 is 45 x 18.
TEST(ControlBase, PlaceLabelLeftCentresVerticallyAndGrowsBounds)
{
  RecordingGraphics g;
  ProbeControl c(IRECT(680, 368, 776, 384), nullptr, TestStyle(), "");
  c.PlaceLabel(g, "theme", ControlBase::kLabelLeft, 8.f);

  const IRECT& label = c.GetLabelRect();
  EXPECT_FLOAT_EQ(label.R, 680.f - 8.f);
  EXPECT_FLOAT_EQ(label.W(), 45.f);
  EXPECT_FLOAT_EQ(label.MH(), 376.f);
  EXPECT_EQ(c.GetLabel(), "theme");
  EXPECT_TRUE(c.GetStyle().showLabel);
  EXPECT_EQ(c.GetRECT(), IRECT(label.L, 367, 776, 385));
  EXPECT_EQ(c.GetTargetRECT(), IRECT(680, 368, 776, 384)) << "the label is not clickable";
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

TEST(LineControl, ReversedPointsGiveAWellFormedBoxButKeepTheirDirection)
{
  RecordingGraphics g;
  LineControl line(300, 200, 100, 50);
  EXPECT_EQ(line.GetRECT(), IRECT(100, 50, 300, 200));
  line.Draw(g);
  const auto moves = g.Of(Op::MoveTo);
  const auto lines = g.Of(Op::LineTo);
  ASSERT_EQ(moves.size(), 1u);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(moves[0].args, (std::vector<float>{300, 200}));
  EXPECT_EQ(lines[0].args, (std::vector<float>{100, 50}));
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

} // namespace
} // namespace qm::control::test
