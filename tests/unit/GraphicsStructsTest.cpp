#include "graphics/GraphicsStructs.h"
#include "graphics/IPattern.h"
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

TEST(IRECT, IntersectOfDisjointRectanglesIsEmpty)
{
  EXPECT_TRUE(IRECT(0.f, 0.f, 10.f, 10.f).Intersect(IRECT(10.f, 0.f, 20.f, 10.f)).Empty());
  EXPECT_EQ(IRECT(0.f, 0.f, 10.f, 10.f).Intersect(IRECT(5.f, -5.f, 20.f, 7.f)),
            IRECT(5.f, 0.f, 10.f, 7.f));
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

TEST(IText, OverlongFontNameIsTruncatedAndTerminated)
{
  const std::string longName(100, 'x');
  const IText t(18.f, COLOR_BLACK, longName.c_str());
  EXPECT_EQ(std::strlen(t.mFont), 63u);
}
