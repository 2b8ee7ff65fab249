#include "controls/KnobControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace qm::control::test
