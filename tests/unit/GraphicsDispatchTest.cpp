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
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod&) override
  {
    ++drags;
    lastX = x;
    lastY = y;
    lastDX = dX;
    lastDY = dY;
  }
  void OnMouseDblClick(float, float, const IMouseMod&) override { ++dblClicks; }
  void OnMouseWheel(float, float, const IMouseMod&, float d) override { wheel.push_back(d); }
  bool OnKeyDown(float, float, const IKeyPress&) override
  {
    ++keys;
    return handlesKeys;
  }
  void OnMouseOver(float x, float y, const IMouseMod& mod) override
  {
    ++overs;
    IControl::OnMouseOver(x, y, mod);
  }
  void OnMouseOut() override
  {
    ++outs;
    IControl::OnMouseOut();
  }
  void OnDrop(const char* path) override { dropped = path; }
  void OnInit() override { order += "I"; }
  void OnResize() override { order += "R"; }
  void OnRescale() override { order += "S"; }
  void OnAttached() override { order += "A"; }
  void OnPopupMenuSelection(IPopupMenu* pMenu, int valIdx) override
  {
    chosen = pMenu ? pMenu->GetChosenItemIdx() : -2;
    menuValIdx = valIdx;
  }
  void OnTextEntryCompletion(const char* str, int) override { entered = str; }

  int draws = 0, downs = 0, ups = 0, drags = 0, dblClicks = 0, keys = 0, overs = 0, outs = 0;
  float lastX = 0.f, lastY = 0.f, lastDX = 0.f, lastDY = 0.f;
  std::vector<float> wheel;
  bool handlesKeys = false;
  std::string dropped, order, entered;
  int chosen = -3, menuValIdx = -3;
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

TEST(ControlList, BackgroundGoesToIndexZeroWithoutGroupOrAttachedCall)
{
  RecordingGraphics g;
  ProbeControl* a = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f), -1, "grp");
  auto* bg = static_cast<ProbeControl*>(g.AttachBackground(new ProbeControl(g.GetBounds())));
  EXPECT_EQ(g.GetControl(0), bg);
  EXPECT_EQ(g.GetControl(1), a);
  EXPECT_EQ(g.GetBackgroundControl(), bg);
  EXPECT_EQ(bg->order, "IRS");
  int inGroup = 0;
  g.ForControlInGroup("grp", [&](IControl*) { ++inGroup; });
  EXPECT_EQ(inGroup, 1);
  g.ForControlInGroup("", [&](IControl*) { ++inGroup; });
  EXPECT_EQ(inGroup, 1);
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

TEST(DisplayTick, AnimationRunsEveryTickAndKeepsTheControlDirty)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  int steps = 0;
  c->SetAnimation([&](IControl*) { ++steps; });
  g.OnDisplayTick();
  g.OnDisplayTick();
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(g.repaints, 2);
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

TEST(DrawCycle, EmptyListDrawsNoFrame)
{
  RecordingGraphics g;
  Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  IRECTList rects;
  g.Draw(rects);
  EXPECT_EQ(g.frames, 0);
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

TEST(PointerDispatch, DisabledControlGetsNoClickUnlessItAsks)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 100.f, 100.f));
  c->SetDisabled(true);
  g.OnMouseDown(Pointer(10.f, 10.f));
  EXPECT_EQ(c->downs, 0);
  c->SetMouseEventsWhenDisabled(true);
  g.OnMouseDown(Pointer(10.f, 10.f));
  EXPECT_EQ(c->downs, 1);
}

TEST(PointerDispatch, MouseOverNeverReportsTheBackground)
{
  RecordingGraphics g;
  g.EnableMouseOver(true);
  auto* bg = static_cast<ProbeControl*>(g.AttachBackground(new ProbeControl(g.GetBounds())));
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  g.OnMouseOver(300.f, 300.f, IMouseMod());
  EXPECT_EQ(g.GetMouseOverControl(), nullptr);
  EXPECT_EQ(g.GetMouseOverIdx(), -1);
  EXPECT_EQ(bg->overs, 0);
  g.OnMouseOver(5.f, 5.f, IMouseMod());
  EXPECT_EQ(g.GetMouseOverControl(), c);
  EXPECT_EQ(g.GetMouseOverIdx(), 1);
  // A click still reaches the background.
  g.OnMouseDown(Pointer(300.f, 300.f));
  EXPECT_EQ(bg->downs, 1);
}

TEST(PointerDispatch, MouseOverMovesBetweenControlsAndOutClearsAll)
{
  RecordingGraphics g;
  g.EnableMouseOver(true);
  ProbeControl* a = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  ProbeControl* b = Attach(g, IRECT(20.f, 0.f, 30.f, 10.f));
  g.OnMouseOver(5.f, 5.f, IMouseMod());
  g.OnMouseOver(25.f, 5.f, IMouseMod());
  EXPECT_EQ(a->outs, 1);
  EXPECT_FALSE(a->GetMouseIsOver());
  EXPECT_TRUE(b->GetMouseIsOver());
  g.SetMouseCursor(ECursor::HAND);
  g.OnMouseOut();
  EXPECT_FALSE(b->GetMouseIsOver());
  EXPECT_EQ(g.GetMouseOverControl(), nullptr);
  EXPECT_EQ(g.GetMouseCursor(), ECursor::ARROW);
}

TEST(PointerDispatch, MouseOverTrackingOffFindsNothing)
{
  RecordingGraphics g;
  Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  g.OnMouseOver(5.f, 5.f, IMouseMod());
  EXPECT_EQ(g.GetMouseOverControl(), nullptr);
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

TEST(PointerDispatch, ZeroDeltaDragIsNotDelivered)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  g.OnMouseDown(Pointer(5.f, 5.f));
  g.OnMouseDrag(Pointer(5.f, 5.f, 0.f, 0.f));
  EXPECT_EQ(c->drags, 0);
  g.OnMouseDrag(Pointer(5.f, 6.f, 0.f, 1.f));
  EXPECT_EQ(c->drags, 1);
}

TEST(PointerDispatch, MouseDownPositionIsRemembered)
{
  RecordingGraphics g;
  float x, y;
  g.GetMouseDownPoint(x, y);
  EXPECT_FLOAT_EQ(x, -1.f);
  g.OnMouseDown(Pointer(12.f, 34.f));
  g.GetMouseDownPoint(x, y);
  EXPECT_FLOAT_EQ(x, 12.f);
  EXPECT_FLOAT_EQ(y, 34.f);
}

TEST(PointerDispatch, DoubleClickActsAsClickWhenTheControlAsks)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  g.OnMouseDblClick(5.f, 5.f, IMouseMod(true));
  EXPECT_EQ(c->dblClicks, 1);
  EXPECT_EQ(c->downs, 0);
  EXPECT_FALSE(g.ControlIsCaptured());
  c->SetDblAsSingleClick(true);
  g.OnMouseDblClick(5.f, 5.f, IMouseMod(true));
  EXPECT_EQ(c->dblClicks, 1);
  EXPECT_EQ(c->downs, 1);
}

TEST(WheelDispatch, WholeStepsOf120TruncatedTowardZero)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  for (float raw : {119.f, 120.f, 240.f, -119.f, -130.f, 359.f})
    g.OnMouseWheel(5.f, 5.f, IMouseMod(), raw);
  EXPECT_EQ(c->wheel, (std::vector<float>{0.f, 1.f, 2.f, 0.f, -1.f, 2.f}));
}

TEST(KeyDispatch, UnhandledKeyGoesToTheKeyHandlerWithItsDirection)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  std::vector<bool> upFlags;
  bool handlerAnswer = false;
  g.SetKeyHandlerFunc(
      [&](const IKeyPress&, bool isUp)
      {
        upFlags.push_back(isUp);
        return handlerAnswer;
      });
  const IKeyPress key("a", 65);
  EXPECT_FALSE(g.OnKeyDown(5.f, 5.f, key));
  EXPECT_EQ(c->keys, 1);
  handlerAnswer = true;
  EXPECT_TRUE(g.OnKeyUp(5.f, 5.f, key));
  EXPECT_EQ(upFlags, (std::vector<bool>{false, true}));
  c->handlesKeys = true;
  EXPECT_TRUE(g.OnKeyDown(5.f, 5.f, key));
  EXPECT_EQ(upFlags.size(), 2u); // the control handled it
}

TEST(KeyDispatch, BackgroundIsNotAskedAboutKeys)
{
  RecordingGraphics g;
  auto* bg = static_cast<ProbeControl*>(g.AttachBackground(new ProbeControl(g.GetBounds())));
  bg->handlesKeys = true;
  EXPECT_FALSE(g.OnKeyDown(5.f, 5.f, IKeyPress("a", 65)));
  EXPECT_EQ(bg->keys, 0);
}

TEST(DropDispatch, PathGoesToTheControlUnderThePoint)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  g.OnDrop("/tmp/a.wav", 50.f, 50.f);
  EXPECT_TRUE(c->dropped.empty());
  g.OnDrop("/tmp/a.wav", 5.f, 5.f);
  EXPECT_EQ(c->dropped, "/tmp/a.wav");
}

TEST(Prompts, PopupSelectionReachesTheControlAndClearsTheRequest)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  IPopupMenu menu("scales", {"70 %", "85 %", "100 %"});
  g.popupChoice = 2;
  g.CreatePopupMenu(*c, menu, IRECT(5.f, 5.f, 5.f, 5.f), 0);
  EXPECT_EQ(c->chosen, 2);
  EXPECT_EQ(c->menuValIdx, 0);
  EXPECT_EQ(g.GetControlInPopupMenu(), nullptr);

  g.popupChoice = -1; // dismissed
  g.CreatePopupMenu(*c, menu, IRECT(5.f, 5.f, 5.f, 5.f), 0);
  EXPECT_EQ(c->chosen, -2);
}

TEST(Prompts, TextEntryOfAnUnboundSlotCompletesOnTheControl)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  g.CreateTextEntry(*c, IText(), IRECT(0.f, 0.f, 40.f, 16.f), "1.5", 0);
  EXPECT_EQ(g.lastTextEntry, "1.5");
  EXPECT_EQ(g.GetControlInTextEntry(), c);
  g.SetControlValueAfterTextEdit("2.5");
  EXPECT_EQ(c->entered, "2.5");
  EXPECT_EQ(g.GetControlInTextEntry(), nullptr);
}

TEST(Resize, ClampsTheScaleAndMarksEveryControlDirty)
{
  RecordingGraphics g;
  ProbeControl* c = Attach(g, IRECT(0.f, 0.f, 10.f, 10.f));
  c->SetClean();
  g.Resize(832, 464, 5.f);
  EXPECT_FLOAT_EQ(g.GetDrawScale(), 2.f);
  EXPECT_EQ(g.WindowWidth(), 1664);
  EXPECT_TRUE(c->IsDirty());
  c->SetClean();
  g.Resize(832, 464, 2.f); // nothing changed
  EXPECT_FALSE(c->IsDirty());
  g.Resize(832, 464, 0.1f);
  EXPECT_FLOAT_EQ(g.GetDrawScale(), 0.5f);
}
