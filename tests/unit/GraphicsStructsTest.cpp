#include "graphics/GraphicsStructs.h"
#include "graphics/IPattern.h"
#include "graphics/IPopupMenu.h"
#include "graphics/IRECTList.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kit::gfx;

namespace
{
void Apply(const IMatrix& m, double x, double y, double& ox, double& oy)
{
  ox = x;
  oy = y;
  m.TransformPoint(ox, oy);
}
} // namespace

TEST(IRECT, LeftAndTopEdgesInsideRightAndBottomOutside)
{
  const IRECT r(10.f, 20.f, 30.f, 40.f);
  EXPECT_TRUE(r.Contains(10.f, 20.f));
  EXPECT_TRUE(r.Contains(29.99f, 39.99f));
  EXPECT_FALSE(r.Contains(30.f, 25.f));
  EXPECT_FALSE(r.Contains(15.f, 40.f));
  EXPECT_FALSE(r.Contains(9.99f, 25.f));
}

TEST(IRECT, EmptyRectangleContainsNothingNotEvenTheOrigin)
{
  const IRECT empty;
  EXPECT_TRUE(empty.Empty());
  EXPECT_FALSE(empty.Contains(0.f, 0.f));
  EXPECT_FALSE(IRECT(0.f, 0.f, 0.f, 1.f).Empty());
}

TEST(IRECT, UnionWithEmptyIsTheOtherRectangle)
{
  const IRECT a(5.f, 6.f, 7.f, 8.f);
  EXPECT_EQ(a.Union(IRECT()), a);
  EXPECT_EQ(IRECT().Union(a), a);
  // An empty operand must not drag the union towards the origin.
  EXPECT_EQ(IRECT().Union(IRECT(-3.f, 2.f, 1.f, 9.f)), IRECT(-3.f, 2.f, 1.f, 9.f));
}

TEST(IRECT, UnionIsSmallestEnclosingRectangle)
{
  EXPECT_EQ(IRECT(0.f, 10.f, 5.f, 20.f).Union(IRECT(3.f, 2.f, 8.f, 12.f)),
            IRECT(0.f, 2.f, 8.f, 20.f));
}

TEST(IRECT, IntersectOfDisjointRectanglesIsEmpty)
{
  EXPECT_TRUE(IRECT(0.f, 0.f, 10.f, 10.f).Intersect(IRECT(10.f, 0.f, 20.f, 10.f)).Empty());
  EXPECT_EQ(IRECT(0.f, 0.f, 10.f, 10.f).Intersect(IRECT(5.f, -5.f, 20.f, 7.f)),
            IRECT(5.f, 0.f, 10.f, 7.f));
}

TEST(IRECT, DerivedRectanglesLeaveTheOriginalUnchanged)
{
  const IRECT r(10.f, 10.f, 20.f, 30.f);
  EXPECT_EQ(r.GetGrown(0.75f), IRECT(9.25f, 9.25f, 20.75f, 30.75f));
  EXPECT_EQ(r.GetTranslated(1.f, -2.f), IRECT(11.f, 8.f, 21.f, 28.f));
  EXPECT_EQ(r.GetCentredInside(4.f, 6.f), IRECT(13.f, 17.f, 17.f, 23.f));
  EXPECT_EQ(r.GetCentredSquare(), IRECT(10.f, 15.f, 20.f, 25.f));
  EXPECT_EQ(r, IRECT(10.f, 10.f, 20.f, 30.f));
  EXPECT_FLOAT_EQ(r.MW(), 15.f);
  EXPECT_FLOAT_EQ(r.MH(), 20.f);
}

TEST(IRECT, PixelAlignmentRoundsOutwardOnTheDeviceGrid)
{
  const IRECT r(4.25f, 4.25f, 15.75f, 15.75f);
  EXPECT_EQ(r.GetPixelAligned(1.f), IRECT(4.f, 4.f, 16.f, 16.f));
  EXPECT_EQ(r.GetPixelAligned(2.f), IRECT(4.f, 4.f, 16.f, 16.f));
  EXPECT_EQ(IRECT(4.3f, 4.3f, 15.7f, 15.7f).GetPixelAligned(2.f), IRECT(4.f, 4.f, 16.f, 16.f));
  EXPECT_EQ(r.GetDeviceAligned(2.f), IRECT(8.f, 8.f, 32.f, 32.f));
  EXPECT_EQ(r.GetDeviceAligned(1.5f), IRECT(6.f, 6.f, 24.f, 24.f));
}

TEST(IRECTList, OverlappingRectanglesMergeDisjointOnesStay)
{
  IRECTList list;
  list.Add(IRECT(0.f, 0.f, 10.f, 10.f));
  list.Add(IRECT(50.f, 50.f, 60.f, 60.f));
  list.Add(IRECT(5.f, 5.f, 20.f, 20.f));
  list.Add(IRECT(19.f, 19.f, 30.f, 30.f)); // overlaps only the merged first pair
  list.Optimize();
  ASSERT_EQ(list.Size(), 2);
  EXPECT_EQ(list.Get(0), IRECT(0.f, 0.f, 30.f, 30.f));
  EXPECT_EQ(list.Get(1), IRECT(50.f, 50.f, 60.f, 60.f));
  EXPECT_EQ(list.Bounds(), IRECT(0.f, 0.f, 60.f, 60.f));
}

TEST(IColor, ClampedAndWithAlpha)
{
  EXPECT_EQ(IColor(300, -4, 12, 255).Clamped(), IColor(255, 0, 12, 255));
  EXPECT_EQ(COLOR_WHITE.WithAlpha(153), IColor(153, 255, 255, 255));
}

TEST(IText, DefaultStyleIsRobotoFourteenBlackCentred)
{
  const IText t;
  EXPECT_STREQ(t.mFont, "Roboto-Regular");
  EXPECT_FLOAT_EQ(t.mSize, 14.f);
  EXPECT_EQ(t.mFGColor, COLOR_BLACK);
  EXPECT_EQ(t.mTextEntryBGColor, COLOR_WHITE);
  EXPECT_EQ(t.mTextEntryFGColor, COLOR_BLACK);
  EXPECT_FLOAT_EQ(t.mAngle, 0.f);
  EXPECT_EQ(t.mAlign, EAlign::Center);
  EXPECT_EQ(t.mVAlign, EVAlign::Middle);
}

TEST(IText, OverlongFontNameIsTruncatedAndTerminated)
{
  const std::string longName(100, 'x');
  const IText t(18.f, COLOR_BLACK, longName.c_str());
  EXPECT_EQ(std::strlen(t.mFont), 63u);
}

TEST(IBlend, NullBlendWeighsOne)
{
  EXPECT_FLOAT_EQ(BlendWeight(nullptr), 1.f);
  const IBlend half(EBlend::Default, 0.5f);
  EXPECT_FLOAT_EQ(BlendWeight(&half), 0.5f);
}

TEST(IMatrix, LaterOperationsApplyFirstInTheTransformedSpace)
{
  IMatrix m;
  m.Translate(10, 20).Scale(2, 3);
  double x, y;
  Apply(m, 1, 1, x, y);
  EXPECT_DOUBLE_EQ(x, 12.0);
  EXPECT_DOUBLE_EQ(y, 23.0);

  IMatrix r;
  r.Rotate(90);
  Apply(r, 1, 0, x, y); // +x turns to +y (screen down): clockwise on screen
  EXPECT_NEAR(x, 0.0, 1e-6);
  EXPECT_NEAR(y, 1.0, 1e-6);
}

TEST(IMatrix, InverseUndoesTheTransform)
{
  IMatrix m;
  m.Translate(5, -7).Rotate(30).Scale(2, 0.5).Skew(10, 0);
  const IMatrix inv = m.Inverted();
  double x, y;
  Apply(m, 3, 4, x, y);
  inv.TransformPoint(x, y);
  EXPECT_NEAR(x, 3.0, 1e-9);
  EXPECT_NEAR(y, 4.0, 1e-9);
  EXPECT_EQ(IMatrix(0, 0, 0, 0, 1, 1).Inverted(), IMatrix());
}

TEST(IPattern, RadialGradientMapsItsCircleOntoTheUnitCircle)
{
  const IPattern p =
      IPattern::CreateRadialGradient(100.f, 50.f, 20.f, {{COLOR_RED, 0.2f}, {COLOR_WHITE, 1.f}});
  EXPECT_EQ(p.mType, EPatternType::Radial);
  EXPECT_EQ(p.mExtend, EPatternExtend::Pad);
  EXPECT_EQ(p.mTransform, IMatrix(1.0 / 20, 0, 0, 1.0 / 20, -100.0 / 20, -50.0 / 20));
  EXPECT_EQ(p.NStops(), 2);
  EXPECT_FLOAT_EQ(p.GetStop(0).mOffset, 0.2f);
}

TEST(IPattern, LinearGradientMapsStartToOriginAndEndToUnitY)
{
  const IPattern p = IPattern::CreateLinearGradient(10.f, 20.f, 110.f, 20.f);
  double x, y;
  Apply(p.mTransform, 10, 20, x, y);
  EXPECT_NEAR(x, 0.0, 1e-12);
  EXPECT_NEAR(y, 0.0, 1e-12);
  Apply(p.mTransform, 110, 20, x, y);
  EXPECT_NEAR(x, 0.0, 1e-12);
  EXPECT_NEAR(y, 1.0, 1e-12);
  Apply(p.mTransform, 60, 80, x, y); // off the axis, halfway along
  EXPECT_NEAR(y, 0.5, 1e-12);
}

TEST(IPattern, StopsBeyondTheSixteenthAreIgnored)
{
  IPattern p(EPatternType::Linear);
  for (int i = 0; i < 20; ++i)
    p.AddStop(IColor(255, i, 0, 0), i / 20.f);
  EXPECT_EQ(p.NStops(), 16);
  EXPECT_EQ(p.GetStop(15).mColor.R, 15);
}

TEST(IStrokeOptions, DashKeepsAtMostEightLengths)
{
  IStrokeOptions o;
  const float lengths[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  o.mDash.SetDash(lengths, 0.5f, 10);
  EXPECT_EQ(o.mDash.mCount, 8);
  EXPECT_FLOAT_EQ(o.mDash.mArray[7], 8.f);
  EXPECT_FLOAT_EQ(o.mDash.mOffset, 0.5f);
}

TEST(IPopupMenu, ItemsChecksAndPrefixes)
{
  IPopupMenu menu("themes", {"blue", "orange", "green", "pink"});
  EXPECT_EQ(menu.NItems(), 4);
  EXPECT_EQ(menu.GetRootTitle(), "themes");
  EXPECT_STREQ(menu.GetItemText(2), "green");
  EXPECT_STREQ(menu.GetItemText(9), "");
  EXPECT_EQ(menu.GetChosenItem(), nullptr);
  menu.CheckItemAlone(1);
  EXPECT_TRUE(menu.IsItemChecked(1));
  EXPECT_FALSE(menu.IsItemChecked(0));
  menu.SetChosenItemIdx(3);
  EXPECT_EQ(menu.GetChosenItem()->GetText(), "pink");
  menu.SetPrefix(2);
  EXPECT_EQ(menu.GetDisplayText(3), "03: pink");
  int calls = 0;
  menu.SetFunction([&](IPopupMenu* m) { calls += m->GetChosenItemIdx(); });
  menu.ExecFunction();
  EXPECT_EQ(calls, 3);
}
