#include "controls/KnobControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace qm::control::test
{
namespace
{

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

TEST_F(KnobFixture, DrawnInCentredSquareButClickableOverItsRectangle)
{
  auto knob = MakeKnob(IRECT(0, 0, 100, 56));
  EXPECT_EQ(knob->GetWidgetBounds(), IRECT(22, 0, 78, 56));
  EXPECT_EQ(knob->GetRECT(), IRECT(22, 0, 78, 56));
  EXPECT_EQ(knob->GetTargetRECT(), IRECT(0, 0, 100, 56));
  EXPECT_FLOAT_EQ(knob->GetCentreX(), 50.f);
  EXPECT_FLOAT_EQ(knob->GetCentreY(), 28.f);
  EXPECT_FLOAT_EQ(knob->GetRadius(), 28.f);
  EXPECT_TRUE(knob->GetDblAsSingleClick());
}

TEST_F(KnobFixture, LabelAndValueSitBelowTheSquareAndWidenTheBounds)
{
  RecordingGraphics g;
  auto* knob =
      static_cast<KnobControl*>(g.AttachControl(MakeKnob(IRECT(412, 364, 468, 420)).release()));
  ASSERT_NE(knob, nullptr);
  // "duration" at size 18 measures 72 x 18 in the recording context: wider than the 56 square.
  const IRECT& label = knob->GetLabelRect();
  EXPECT_FLOAT_EQ(label.T, 420.f);
  EXPECT_FLOAT_EQ(label.MW(), 440.f);
  EXPECT_FLOAT_EQ(label.W(), 72.f);
  const IRECT& value = knob->GetValueRect();
  EXPECT_FLOAT_EQ(value.T, label.B);
  EXPECT_FLOAT_EQ(value.H(), 15.f);
  EXPECT_FLOAT_EQ(value.L, label.L);
  EXPECT_FLOAT_EQ(value.R, label.R);
  EXPECT_EQ(knob->GetRECT(), IRECT(404, 364, 476, value.B));
  EXPECT_EQ(knob->GetTargetRECT(), IRECT(412, 364, 468, 420));
}

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

TEST_F(KnobFixture, ActionSeesValuesClampedToTheRange)
{
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  knob->OnMouseDrag(28, 28, 0, -1000.f, IMouseMod(true));
  knob->OnMouseDrag(28, 28, 0, 3000.f, IMouseMod(true));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], 1.0);
  EXPECT_EQ(seen[1], 0.0);
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

TEST_F(KnobFixture, ValueArcRunsFromMinimumAngleInSlotSeven)
{
  RecordingGraphics g;
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  knob->SetValue(0.5);
  knob->Draw(g);

  const auto arcs = PaintsWith(g, Op::Stroke, TestStyle().Color(7));
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_FLOAT_EQ(arcs[0].thickness, 28.f * 0.2f);

  bool found = false;
  for (const Paint& p : Paints(g))
  {
    if (p.paint.op != Op::Stroke || !(p.paint.pattern.GetFirstColor() == TestStyle().Color(7)))
      continue;
    ASSERT_EQ(p.path.size(), 1u);
    ASSERT_EQ(p.path[0].op, Op::Arc);
    EXPECT_FLOAT_EQ(p.path[0].args[2], 28.f * 0.9f);
    EXPECT_FLOAT_EQ(p.path[0].args[3], kMinAngle);
    EXPECT_FLOAT_EQ(p.path[0].args[4], 360.f);
    found = true;
  }
  EXPECT_TRUE(found);
}

TEST_F(KnobFixture, PointerPointsAlongTheValueAngle)
{
  RecordingGraphics g;
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  knob->SetValue(0.5); // 360 degrees: straight up
  knob->Draw(g);
  const IColor pointer = TestStyle().Color(1);
  for (const Paint& p : Paints(g))
  {
    if (p.paint.op != Op::Stroke || !(p.paint.pattern.GetFirstColor() == pointer) ||
        p.paint.thickness != 1.f)
      continue;
    ASSERT_EQ(p.path.size(), 2u);
    EXPECT_NEAR(p.path[0].args[0], 28.f, 1e-4);
    EXPECT_NEAR(p.path[0].args[1], 28.f - 14.f, 1e-4);
    EXPECT_NEAR(p.path[1].args[0], 28.f, 1e-4);
    EXPECT_NEAR(p.path[1].args[1], 0.f, 1e-4);
    return;
  }
  FAIL() << "no pointer stroke";
}

TEST_F(KnobFixture, CentreDiscFillFollowsPressedThenHover)
{
  RecordingGraphics g;
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  knob->Draw(g);
  EXPECT_EQ(g.Count(Op::Fill), 0);

  knob->SetMouseIsOver(true);
  g.Reset();
  knob->Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  Command fill = g.Of(Op::Fill)[0];
  EXPECT_EQ(fill.pattern.mType, EPatternType::Radial);
  EXPECT_EQ(fill.pattern.GetStop(0).mColor, TestStyle().Color(9));
  EXPECT_TRUE(fill.fillOptions.mPreserve) << "the disc is outlined after the fill";

  knob->OnMouseDown(28, 28, IMouseMod(true));
  g.Reset();
  knob->Draw(g);
  fill = g.Of(Op::Fill)[0];
  EXPECT_EQ(fill.pattern.GetStop(0).mColor, TestStyle().Color(10));
}

TEST_F(KnobFixture, ThemeChangeRebuildsTheGradients)
{
  RecordingGraphics g;
  auto knob = MakeKnob(IRECT(0, 0, 56, 56));
  ColorSet theme = DistinctColors();
  theme[9] = IColor(255, 1, 2, 3);
  knob->SetColors(theme);
  knob->SetMouseIsOver(true);
  knob->Draw(g);
  ASSERT_EQ(g.Count(Op::Fill), 1);
  EXPECT_EQ(g.Of(Op::Fill)[0].pattern.GetStop(0).mColor, IColor(255, 1, 2, 3));
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

} // namespace
} // namespace qm::control::test
