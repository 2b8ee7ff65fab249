#include "RecordingGraphics.h"

#include "graphics/ITextControl.h"
#include "graphics/IURLControl.h"

#include <gtest/gtest.h>

using namespace kit::gfx;
using namespace kit::gfx::test;

namespace
{
class PlainControl : public IControl
{
public:
  using IControl::IControl;
  void Draw(GraphicsContext&) override { ++draws; }
  void OnResize() override { ++resizes; }
  int draws = 0;
  int resizes = 0;
};
} // namespace

TEST(IControlValues, SetValueStoresWithoutClampingSetDirtyClamps)
{
  int actions = 0;
  double seen = -1.0;
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f),
                 [&](IControl* p)
                 {
                   ++actions;
                   seen = p->GetValue();
                 });
  c.SetValue(1.7);
  EXPECT_DOUBLE_EQ(c.GetValue(), 1.7);
  EXPECT_EQ(actions, 0);
  c.SetDirty(true);
  EXPECT_DOUBLE_EQ(c.GetValue(), 1.0);
  EXPECT_EQ(actions, 1);
  EXPECT_DOUBLE_EQ(seen, 1.0); // the action sees the clamped value

  c.SetValue(-0.3);
  c.SetDirty(false);
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.0);
  EXPECT_EQ(actions, 1);
}

TEST(IControlValues, DelegateValueIsIgnoredWhileThePointerHoldsTheControl)
{
  RecordingGraphics g;
  auto* c =
      static_cast<PlainControl*>(g.AttachControl(new PlainControl(IRECT(0.f, 0.f, 10.f, 10.f))));
  g.OnMouseDown({IMouseInfo{5.f, 5.f, 0.f, 0.f, IMouseMod(true)}});
  c->SetValueFromDelegate(0.8);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
  g.OnMouseUp({IMouseInfo{5.f, 5.f, 0.f, 0.f, IMouseMod(true)}});
  c->SetValueFromDelegate(0.8);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.8);
}

TEST(IControlValues, SnapToMouseRoundsToThousandthsAndClampsToTheRange)
{
  PlainControl c(IRECT(0.f, 0.f, 10.f, 10.f));
  const IRECT track(0.f, 0.f, 300.f, 100.f);
  c.SnapToMouse(100.f, 0.f, EDirection::Horizontal, track);
  EXPECT_NEAR(c.GetValue(), 0.333, 1e-12);
  c.SnapToMouse(0.f, 25.f, EDirection::Vertical, track);
  EXPECT_NEAR(c.GetValue(), 0.75, 1e-12);
  c.SnapToMouse(900.f, 0.f, EDirection::Horizontal, track, kNoValIdx, 0.2, 0.6);
  EXPECT_NEAR(c.GetValue(), 0.6, 1e-12);
}

TEST(IControlGeometry, EmptyTargetIsNeverHitEvenAtTheOrigin)
{
  PlainControl c{IRECT()};
  EXPECT_FALSE(c.IsHit(0.f, 0.f));
  PlainControl d(IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_TRUE(d.IsHit(0.f, 0.f));
  EXPECT_FALSE(d.IsHit(10.f, 5.f));
  d.SetTargetRECT(IRECT(20.f, 20.f, 30.f, 30.f));
  EXPECT_FALSE(d.IsHit(5.f, 5.f)); // hits follow the target, not the drawing bounds
  EXPECT_TRUE(d.IsHit(25.f, 25.f));
}
