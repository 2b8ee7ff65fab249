#include "RecordingGraphics.h"

#include "graphics/svg/SVGParser.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kit::gfx;
using namespace kit::gfx::test;

namespace
{
ISVG ParseSVG(const char* text)
{
  auto image = std::make_shared<svg::Image>();
  EXPECT_TRUE(svg::ParseSVG(text, "px", 72.f, *image));
  return ISVG(image);
}
} // namespace

TEST(PathShapes, EllipseWithAZeroRadiusAddsNothingAndKeepsTheTransformStack)
{
  RecordingGraphics g;
  g.PathTransformSave();
  g.PathTransformTranslate(3.f, 4.f);
  const IMatrix before = g.GetTransform();
  g.PathEllipse(10.f, 10.f, 0.f, 5.f);
  g.PathEllipse(10.f, 10.f, 5.f, -1.f);
  g.PathEllipse(IRECT(5.f, 5.f, 5.f, 25.f));
  EXPECT_TRUE(g.commands.empty());
  EXPECT_EQ(g.GetTransformStackDepth(), 1);
  EXPECT_EQ(g.GetTransform(), before);
}

TEST(Transform, SaveRestoreAndResetHandTheMatrixToTheBackEnd)
{
  RecordingGraphics g;
  g.PathTransformSave();
  g.PathTransformTranslate(10.f, 0.f);
  g.PathTransformScale(2.f);
  g.PathMoveTo(1.f, 1.f);
  EXPECT_EQ(g.commands.back().args, (std::vector<float>{12.f, 2.f}));
  g.PathTransformRestore();
  EXPECT_EQ(g.GetTransform(), IMatrix());
  g.PathTransformTranslate(5.f, 5.f);
  g.PathTransformReset();
  EXPECT_EQ(g.GetTransform(), IMatrix());
  EXPECT_EQ(g.transformHandOvers, 5);
  // An unbalanced restore is ignored rather than popping an empty stack.
  g.PathTransformRestore();
  EXPECT_EQ(g.GetTransformStackDepth(), 0);
}

TEST(SVG, InnerSubPathBecomesAHoleOuterStaysSolid)
{
  RecordingGraphics g;
  const ISVG svg = ParseSVG(R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
    <path d="M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z M40 40 H60 V60 H40 Z" fill="black"/>
    </svg>)");
  g.DrawSVG(svg, IRECT(0.f, 0.f, 100.f, 100.f));
  const auto windings = g.Of(Op::SetWinding);
  ASSERT_EQ(windings.size(), 3u);
  EXPECT_EQ(windings[0].args[0], 0.f); // outer: inside no other outline
  EXPECT_EQ(windings[1].args[0], 1.f); // inside one outline: hole
  EXPECT_EQ(windings[2].args[0], 0.f); // inside two: solid again
}
