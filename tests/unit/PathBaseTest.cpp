#include "RecordingGraphics.h"

#include "graphics/svg/SVGParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace kit::gfx;
using namespace kit::gfx::test;

namespace
{
std::vector<Op> Ops(const RecordingGraphics& g)
{
  std::vector<Op> ops;
  for (const auto& c : g.commands)
    ops.push_back(c.op);
  return ops;
}

ISVG ParseSVG(const char* text)
{
  auto image = std::make_shared<svg::Image>();
  EXPECT_TRUE(svg::ParseSVG(text, "px", 72.f, *image));
  return ISVG(image);
}
} // namespace

TEST(PathShapes, RectangleIsFourCornersClockwiseFromTopLeft)
{
  RecordingGraphics g;
  g.PathRect(IRECT(1.f, 2.f, 3.f, 4.f));
  ASSERT_EQ(Ops(g), (std::vector<Op>{Op::MoveTo, Op::LineTo, Op::LineTo, Op::LineTo, Op::Close}));
  EXPECT_EQ(g.commands[0].args, (std::vector<float>{1.f, 2.f}));
  EXPECT_EQ(g.commands[1].args, (std::vector<float>{3.f, 2.f}));
  EXPECT_EQ(g.commands[2].args, (std::vector<float>{3.f, 4.f}));
  EXPECT_EQ(g.commands[3].args, (std::vector<float>{1.f, 4.f}));
}

TEST(PathShapes, RoundRectWithZeroOrNegativeRadiiIsThePlainRectangle)
{
  RecordingGraphics plain, zero, negative;
  const IRECT r(10.f, 10.f, 50.f, 30.f);
  plain.PathRect(r);
  zero.PathRoundRect(r, 0.f);
  negative.PathRoundRect(r, -2.f, 0.f, -1.f, 0.f);
  EXPECT_EQ(Ops(zero), Ops(plain));
  EXPECT_EQ(Ops(negative), Ops(plain));
  for (size_t i = 0; i < plain.commands.size(); ++i)
    EXPECT_EQ(zero.commands[i].args, plain.commands[i].args);
}

TEST(PathShapes, RoundRectArcsRunClockwiseAroundTheCorners)
{
  RecordingGraphics g;
  g.PathRoundRect(IRECT(0.f, 0.f, 100.f, 50.f), 4.f, 5.f, 6.f, 7.f);
  const auto arcs = g.Of(Op::Arc);
  ASSERT_EQ(arcs.size(), 4u);
  EXPECT_EQ(g.commands[0].args, (std::vector<float>{0.f, 4.f}));
  EXPECT_EQ(arcs[0].args, (std::vector<float>{4.f, 4.f, 4.f, 270.f, 360.f, 0.f}));
  EXPECT_EQ(arcs[1].args, (std::vector<float>{95.f, 5.f, 5.f, 0.f, 90.f, 0.f}));
  EXPECT_EQ(arcs[2].args, (std::vector<float>{94.f, 44.f, 6.f, 90.f, 180.f, 0.f}));
  EXPECT_EQ(arcs[3].args, (std::vector<float>{7.f, 43.f, 7.f, 180.f, 270.f, 0.f}));
  EXPECT_EQ(g.commands.back().op, Op::Close);
}

TEST(PathShapes, CircleStartsAtTwelveOClockAndSweepsAFullTurn)
{
  RecordingGraphics g;
  g.PathCircle(50.f, 60.f, 10.f);
  ASSERT_EQ(Ops(g), (std::vector<Op>{Op::MoveTo, Op::Arc, Op::Close}));
  EXPECT_EQ(g.commands[0].args, (std::vector<float>{50.f, 50.f}));
  EXPECT_EQ(g.commands[1].args, (std::vector<float>{50.f, 60.f, 10.f, 0.f, 360.f, 0.f}));
}

TEST(PathShapes, RadialLineAngleZeroPointsUpNinetyPointsRight)
{
  RecordingGraphics g;
  g.PathRadialLine(100.f, 100.f, 0.f, 10.f, 20.f);
  g.PathRadialLine(100.f, 100.f, 90.f, 10.f, 20.f);
  EXPECT_NEAR(g.commands[0].args[0], 100.f, 1e-4);
  EXPECT_NEAR(g.commands[0].args[1], 90.f, 1e-4);
  EXPECT_NEAR(g.commands[1].args[1], 80.f, 1e-4);
  EXPECT_NEAR(g.commands[2].args[0], 110.f, 1e-4);
  EXPECT_NEAR(g.commands[3].args[0], 120.f, 1e-4);
  EXPECT_NEAR(g.commands[3].args[1], 100.f, 1e-4);
}

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

TEST(PathShapes, EllipseIsAUnitCircleScaledIntoPlace)
{
  RecordingGraphics g;
  g.PathEllipse(IRECT(10.f, 20.f, 50.f, 40.f));
  ASSERT_EQ(Ops(g), (std::vector<Op>{Op::MoveTo, Op::Arc, Op::Close}));
  // The unit circle's top lands on the top edge of the bounds, centred.
  EXPECT_NEAR(g.commands[0].args[0], 30.f, 1e-5);
  EXPECT_NEAR(g.commands[0].args[1], 20.f, 1e-5);
  EXPECT_EQ(g.commands[1].transform, IMatrix(20, 0, 0, 10, 30, 30));
  EXPECT_EQ(g.GetTransformStackDepth(), 0);
  EXPECT_EQ(g.GetTransform(), IMatrix());
}

TEST(PathShapes, QuadraticBecomesCubicWithTwoThirdsControlPoints)
{
  RecordingGraphics g;
  g.PathMoveTo(0.f, 0.f);
  g.PathQuadraticBezierTo(30.f, 60.f, 90.f, 0.f);
  const auto cubic = g.Of(Op::Cubic);
  ASSERT_EQ(cubic.size(), 1u);
  EXPECT_NEAR(cubic[0].args[0], 20.f, 1e-4);
  EXPECT_NEAR(cubic[0].args[1], 40.f, 1e-4);
  EXPECT_NEAR(cubic[0].args[2], 50.f, 1e-4);
  EXPECT_NEAR(cubic[0].args[3], 40.f, 1e-4);
  EXPECT_FLOAT_EQ(cubic[0].args[4], 90.f);
  EXPECT_FLOAT_EQ(cubic[0].args[5], 0.f);
}

TEST(StockShapes, OutlinesStrokeASolidPatternWithDefaultOptionsAndTheBlend)
{
  RecordingGraphics g;
  const IBlend half(EBlend::Default, 0.5f);
  g.DrawLine(COLOR_RED, 1.f, 2.f, 3.f, 4.f, &half, 2.5f);
  ASSERT_EQ(Ops(g), (std::vector<Op>{Op::Clear, Op::MoveTo, Op::LineTo, Op::Stroke}));
  const Command& s = g.commands.back();
  EXPECT_EQ(s.pattern.mType, EPatternType::Solid);
  EXPECT_EQ(s.pattern.GetStop(0).mColor, COLOR_RED);
  EXPECT_FLOAT_EQ(s.thickness, 2.5f);
  EXPECT_FLOAT_EQ(s.strokeOptions.mMiterLimit, 10.f);
  EXPECT_EQ(s.strokeOptions.mCapOption, ELineCap::Butt);
  EXPECT_EQ(s.strokeOptions.mJoinOption, ELineJoin::Miter);
  EXPECT_FALSE(s.strokeOptions.mPreserve);
  ASSERT_TRUE(s.hasBlend);
  EXPECT_FLOAT_EQ(s.blend.mWeight, 0.5f);
  // No pixel snapping: coordinates go through unchanged.
  EXPECT_EQ(g.commands[1].args, (std::vector<float>{1.f, 2.f}));
}

TEST(StockShapes, FillsUseNonZeroWindingWithoutPreserve)
{
  RecordingGraphics g;
  g.FillRect(COLOR_BLUE, IRECT(0.f, 0.f, 10.f, 10.f));
  const Command& f = g.commands.back();
  EXPECT_EQ(f.op, Op::Fill);
  EXPECT_EQ(f.fillOptions.mFillRule, EFillRule::Winding);
  EXPECT_FALSE(f.fillOptions.mPreserve);
  EXPECT_FALSE(f.hasBlend);
}

TEST(StockShapes, FillRectOnAnEmptyRectangleIsHarmless)
{
  RecordingGraphics g;
  g.FillRect(COLOR_BLUE, IRECT());
  EXPECT_EQ(g.Count(Op::Fill), 1);
}

TEST(StockShapes, DrawRoundRectWithZeroRadiiDrawsTheRectangleOutline)
{
  RecordingGraphics a, b;
  a.DrawRoundRect(COLOR_BLACK, IRECT(0.f, 0.f, 10.f, 10.f), 0.f, 0.f, 0.f, 0.f);
  b.DrawRect(COLOR_BLACK, IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_EQ(Ops(a), Ops(b));
  EXPECT_EQ(a.Count(Op::Arc), 0);
}

TEST(StockShapes, FillArcIsAPieSliceFromTheCentre)
{
  RecordingGraphics g;
  g.FillArc(COLOR_BLACK, 5.f, 6.f, 3.f, 0.f, 90.f);
  ASSERT_EQ(Ops(g), (std::vector<Op>{Op::Clear, Op::MoveTo, Op::Arc, Op::Close, Op::Fill}));
  EXPECT_EQ(g.commands[1].args, (std::vector<float>{5.f, 6.f}));
}

TEST(StockShapes, DottedLineCarriesAOneEntryDash)
{
  RecordingGraphics g;
  g.DrawDottedLine(COLOR_BLACK, 0.f, 0.f, 10.f, 0.f, nullptr, 1.f, 3.f);
  const Command& s = g.commands.back();
  EXPECT_EQ(s.strokeOptions.mDash.mCount, 1);
  EXPECT_FLOAT_EQ(s.strokeOptions.mDash.mArray[0], 3.f);
}

TEST(StockShapes, GridLinesStopBeforeTheFarEdgeAndSkipSizesUpToOne)
{
  RecordingGraphics g;
  g.DrawGrid(COLOR_BLACK, IRECT(0.f, 0.f, 100.f, 50.f), 25.f, 1.f);
  EXPECT_EQ(g.Count(Op::MoveTo), 3); // x = 25, 50, 75; none at 100, none horizontally
  EXPECT_EQ(g.Count(Op::Stroke), 1);

  RecordingGraphics full;
  full.DrawGrid(COLOR_BLACK, IRECT(0.f, 0.f, 100.f, 50.f), 100.f, 50.f);
  EXPECT_EQ(full.Count(Op::MoveTo), 0);
  EXPECT_EQ(full.Of(Op::Stroke)[0].thickness, 1.f);
}

TEST(StockShapes, DataPolylineSpreadsPointsEvenlyAndMeasuresYFromTheBottom)
{
  RecordingGraphics g;
  const float ys[] = {0.f, 1.f, 0.5f};
  g.DrawData(COLOR_BLACK, IRECT(10.f, 0.f, 110.f, 40.f), ys, 3);
  ASSERT_EQ(Ops(g), (std::vector<Op>{Op::Clear, Op::MoveTo, Op::LineTo, Op::LineTo, Op::Stroke}));
  EXPECT_EQ(g.commands[1].args, (std::vector<float>{10.f, 40.f}));
  EXPECT_EQ(g.commands[2].args, (std::vector<float>{60.f, 0.f}));
  EXPECT_EQ(g.commands[3].args, (std::vector<float>{110.f, 20.f}));

  RecordingGraphics single;
  single.DrawData(COLOR_BLACK, IRECT(10.f, 0.f, 110.f, 40.f), ys, 1);
  EXPECT_EQ(single.Count(Op::LineTo), 0);
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

TEST(Text, EmptyStringDrawsNothingAndLeavesTheTransformAlone)
{
  RecordingGraphics g;
  g.DrawText(IText(), "", IRECT(0.f, 0.f, 50.f, 20.f));
  g.DrawText(IText(), nullptr, IRECT(0.f, 0.f, 50.f, 20.f));
  EXPECT_TRUE(g.commands.empty());
  EXPECT_EQ(g.transformHandOvers, 0);

  g.DrawText(IText(), "abc", IRECT(0.f, 0.f, 50.f, 20.f));
  EXPECT_EQ(g.Count(Op::Text), 1);
  EXPECT_EQ(g.GetTransformStackDepth(), 0);
}

TEST(SVG, FitsTheImageUniformlyIntoTheBounds)
{
  RecordingGraphics g;
  const ISVG svg = ParseSVG(R"(<svg xmlns="http://www.w3.org/2000/svg" width="30" height="10">
    <rect x="0" y="0" width="30" height="10" fill="#ff0000"/></svg>)");
  g.DrawSVG(svg, IRECT(100.f, 50.f, 190.f, 80.f)); // 90 x 30: scale 3
  const auto moves = g.Of(Op::MoveTo);
  ASSERT_FALSE(moves.empty());
  EXPECT_NEAR(moves[0].args[0], 100.f, 1e-4);
  EXPECT_NEAR(moves[0].args[1], 50.f, 1e-4);
  const auto fills = g.Of(Op::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].fillOptions.mFillRule, EFillRule::Preserve);
  EXPECT_FALSE(fills[0].fillOptions.mPreserve);
  EXPECT_EQ(fills[0].pattern.GetStop(0).mColor, IColor(255, 255, 0, 0));
  EXPECT_EQ(g.GetTransformStackDepth(), 0);
  EXPECT_EQ(g.GetTransform(), IMatrix());
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

TEST(SVG, OpacityScalesSolidAlphaAndStrokeKeepsItsOptions)
{
  RecordingGraphics g;
  const ISVG svg = ParseSVG(R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">
    <path d="M1 1 L9 9" fill="none" stroke="#00ff00" stroke-width="2" opacity="0.5"
          stroke-linecap="round" stroke-linejoin="bevel"/></svg>)");
  g.DrawSVG(svg, IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_EQ(g.Count(Op::Fill), 0);
  const auto strokes = g.Of(Op::Stroke);
  ASSERT_EQ(strokes.size(), 1u);
  EXPECT_EQ(strokes[0].pattern.GetStop(0).mColor, IColor(128, 0, 255, 0));
  EXPECT_FLOAT_EQ(strokes[0].thickness, 2.f);
  EXPECT_EQ(strokes[0].strokeOptions.mCapOption, ELineCap::Round);
  EXPECT_EQ(strokes[0].strokeOptions.mJoinOption, ELineJoin::Bevel);
}

TEST(SVG, FilledAndStrokedShapePreservesThePathForTheStroke)
{
  RecordingGraphics g;
  const ISVG svg = ParseSVG(R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">
    <rect width="8" height="8" fill="blue" stroke="black"/></svg>)");
  g.DrawSVG(svg, IRECT(0.f, 0.f, 10.f, 10.f));
  const auto fills = g.Of(Op::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_TRUE(fills[0].fillOptions.mPreserve);
  EXPECT_EQ(g.Count(Op::Stroke), 1);
}

TEST(SVG, InvalidImageDrawsNothing)
{
  RecordingGraphics g;
  g.DrawSVG(ISVG(), IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_TRUE(g.commands.empty());
  EXPECT_EQ(g.transformHandOvers, 0);
}
