#include "controls/SliderControl.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm::control::test
{
namespace
{

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

} // namespace
} // namespace qm::control::test
