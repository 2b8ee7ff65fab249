#include "RecordingGraphics.h"

#include <gtest/gtest.h>

#include <string>

using namespace kit::gfx;
using namespace kit::gfx::test;

namespace
{
// Logs every event it receives.
class ProbeControl : public IControl
{
public:
  explicit ProbeControl(const IRECT& r) : IControl(r) {}
  void Draw(GraphicsContext&) override { ++draws; }
  void OnMouseDown(float, float, const IMouseMod&) override { ++downs; }
  void OnMouseUp(float, float, const IMouseMod&) override { ++ups; }
  void OnMouseDrag(float x, float, float, float dY, const IMouseMod&) override
  {
    ++drags;
    lastX = x;
    lastDY = dY;
  }
  void OnMouseWheel(float, float, const IMouseMod&, float d) override { wheel.push_back(d); }
  void OnInit() override { order += "I"; }
  void OnResize() override { order += "R"; }
  void OnRescale() override { order += "S"; }
  void OnAttached() override { order += "A"; }

  int draws = 0, downs = 0, ups = 0, drags = 0;
  float lastX = 0.f, lastDY = 0.f;
  std::vector<float> wheel;
  std::string order;
};

IMouseInfoList Pointer(float x, float y, float dX = 0.f, float dY = 0.f, bool right = false)
{
  IMouseMod mod(!right, right);
  return {IMouseInfo{x, y, dX, dY, mod}};
}

ProbeControl* Attach(RecordingGraphics& g, const IRECT& r, int tag = -1, const char* group = "")
{
  return static_cast<ProbeControl*>(g.AttachControl(new ProbeControl(r), tag, group));
}
} // namespace

TEST(ControlList, AttachSetsUpInOrderAndTakesTagAndGroup)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f), 7, "grp");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->order, "IRSA");
  EXPECT_EQ(c->GetUI(), &g);
  EXPECT_EQ(c->GetGroup(), "grp");
  EXPECT_EQ(g.GetControlWithTag(7), c);
  EXPECT_EQ(g.GetControlWithTag(8), nullptr);
  EXPECT_EQ(g.NControls(), 1);
}

TEST(ControlList, DuplicateTagIsRefused)
{
  RecordingGraphics g;
  ProbeControl* first = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f), 3);
  EXPECT_EQ(Attach(g, IRECT(0.f, 0.f, 10.f, 10.f), 3), nullptr);
  EXPECT_EQ(g.NControls(), 1);
  EXPECT_EQ(g.GetControlWithTag(3), first);
  // Untagged controls never collide.
  Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_EQ(g.NControls(), 3);
}

TEST(DisplayTick, DirtyControlInvalidatesItsBoundsGrownByThreeQuartersInWholePixels)
{
  RecordingGraphics g;
  Attach(g, IRECT(5.f, 5.f, 15.f, 15.f));
  IRECTList rects;
  ASSERT_TRUE(g.IsDirty(rects));
  ASSERT_EQ(rects.Size(), 1);
  EXPECT_EQ(rects.Get(0), IRECT(4.25f, 4.25f, 15.75f, 15.75f));

  g.OnDisplayTick();
  ASSERT_EQ(g.invalidated.size(), 1u);
  EXPECT_EQ(g.invalidated[0], IRECT(4.f, 4.f, 16.f, 16.f));
  EXPECT_EQ(g.repaints, 1);
  // Collected areas are cleaned: the next tick has nothing to do.
  g.OnDisplayTick();
  EXPECT_EQ(g.invalidated.size(), 1u);
  EXPECT_EQ(g.repaints, 1);
}

TEST(DisplayTick, InvalidatedAreaIsInDevicePixelsAtTheBackingScale)
{
  RecordingGraphics g(832, 464, 1.5f);
  g.windowScale = 2; // backing scale 3
  Attach(g, IRECT(5.f, 5.f, 15.f, 15.f));
  g.OnDisplayTick();
  EXPECT_EQ(g.GetScreenScale(), 2);
  ASSERT_FALSE(g.invalidated.empty());
  EXPECT_EQ(g.invalidated.back(), IRECT(12.f, 12.f, 48.f, 48.f)); // 12.75 down, 47.25 up
}

TEST(DrawCycle, HiddenBackgroundStillDrawsHiddenControlDoesNot)
{
  RecordingGraphics g;
  auto* bg = static_cast<ProbeControl*>(g.AttachBackground(new ProbeControl(g.GetBounds())));
  ProbeControl* hidden = Attach(g, IRECT(0.f, 0.f, 50.f, 50.f));
  bg->Hide(true);
  hidden->Hide(true);
  IRECTList rects;
  rects.Add(IRECT(0.f, 0.f, 100.f, 100.f));
  g.Draw(rects);
  EXPECT_EQ(bg->draws, 1);
  EXPECT_EQ(hidden->draws, 0);
  EXPECT_EQ(g.frames, 1);
}

TEST(DrawCycle, EachControlIsClippedToItsGrownBoundsWithinTheRedrawArea)
{
  RecordingGraphics g;
  ProbeControl* inside = Attach(g, IRECT(5.f, 5.f, 15.f, 15.f));
  ProbeControl* outside = Attach(g, IRECT(200.f, 200.f, 210.f, 210.f));
  IRECTList rects;
  rects.Add(IRECT(0.f, 0.f, 10.2f, 100.f));
  g.Draw(rects);
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(outside->draws, 0);
  ASSERT_EQ(g.clips.size(), 1u);
  EXPECT_EQ(g.clips[0], IRECT(4.f, 4.f, 11.f, 16.f));
}

TEST(PointerDispatch, TopmostHitWinsHiddenAndIgnoringControlsAreSkipped)
{
  RecordingGraphics g;
  ProbeControl* below = Attach(g, IRECT(0.f, 0.f, 100.f, 100.f));
  ProbeControl* above = Attach(g, IRECT(0.f, 0.f, 50.f, 50.f));
  EXPECT_EQ(g.GetMouseControl(10.f, 10.f, false), above);
  above->Hide(true);
  EXPECT_EQ(g.GetMouseControl(10.f, 10.f, false), below);
  above->Hide(false);
  above->SetIgnoreMouse(true);
  EXPECT_EQ(g.GetMouseControl(10.f, 10.f, false), below);
}

TEST(PointerDispatch, DragFollowsTheCapturedControlOutsideItsBoundsUntilRelease)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  ProbeControl* other = Attach(g, IRECT(100.f, 100.f, 200.f, 200.f));
  g.OnMouseDown(Pointer(5.f, 5.f));
  g.OnMouseDrag(Pointer(150.f, 150.f, 145.f, 145.f));
  EXPECT_EQ(c->drags, 1);
  EXPECT_EQ(other->drags, 0);
  EXPECT_FLOAT_EQ(c->lastX, 150.f);
  EXPECT_FLOAT_EQ(c->lastDY, 145.f);
  g.OnMouseUp(Pointer(150.f, 150.f));
  EXPECT_EQ(c->ups, 1);
  EXPECT_EQ(other->ups, 0);
  EXPECT_FALSE(g.ControlIsCaptured());
  g.OnMouseDrag(Pointer(160.f, 160.f, 10.f, 10.f));
  EXPECT_EQ(c->drags, 1);
  EXPECT_EQ(other->drags, 0);
}

TEST(WheelDispatch, WholeStepsOf120TruncatedTowardZero)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  for (float raw : {119.f, 120.f, 240.f, -119.f, -130.f, 359.f})
    g.OnMouseWheel(5.f, 5.f, IMouseMod(), raw);
  EXPECT_EQ(c->wheel, (std::vector<float>{0.f, 1.f, 2.f, 0.f, -1.f, 2.f}));
}
