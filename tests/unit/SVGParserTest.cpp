#include "graphics/svg/SVGParser.h"
#include "graphics/svg/SVGPathBuilder.h"
#include "graphics/svg/SVGValues.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace kit::gfx::svg;

namespace
{

Image Parse(const std::string& body, const std::string& svgAttrs = R"(width="100" height="100")",
            std::string_view units = "px", float dpi = 96.f)
{
  Image image;
  std::string error;
  const std::string doc =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" " + svgAttrs + ">" + body + "</svg>";
  EXPECT_TRUE(ParseSVG(doc, units, dpi, image, &error)) << error << "\n" << doc;
  return image;
}

bool Fails(const std::string& doc, ParseLimits limits = {})
{
  Image image;
  std::string error;
  const bool ok = ParseSVG(doc, "px", 96.f, image, &error, limits);
  if (!ok)
  {
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(image.shapes.empty());
  }
  return !ok;
}

std::vector<Path> BuildPath(std::string_view d)
{
  size_t budget = 100000;
  PathBuilder builder(budget, 64);
  builder.AddPathData(d);
  return builder.Paths();
}

Point End(const Path& p)
{
  return p.points.back();
}

} // namespace

TEST(SVGValues, NumbersFollowSVGGrammar)
{
  const auto read = [](std::string_view text)
  {
    Scanner s(text);
    double v = -999;
    return s.Number(v) ? v : NAN;
  };
  EXPECT_DOUBLE_EQ(read("12"), 12.0);
  EXPECT_DOUBLE_EQ(read("-.5"), -0.5);
  EXPECT_DOUBLE_EQ(read("+3.25e2"), 325.0);
  EXPECT_DOUBLE_EQ(read("5."), 5.0);
  EXPECT_DOUBLE_EQ(read("1e-400"), 0.0); // underflow reads as zero
  EXPECT_TRUE(std::isnan(read("1e400")));
  EXPECT_TRUE(std::isnan(read(".")));
  EXPECT_TRUE(std::isnan(read("-")));
  EXPECT_TRUE(std::isnan(read(std::string(200, '1'))));

  Scanner unit("1em");
  double v;
  ASSERT_TRUE(unit.Number(v));
  EXPECT_EQ(unit.Rest(), "em"); // "e" without exponent digits is not an exponent
  Scanner packed("1.5.5-2");
  double a, b, c;
  ASSERT_TRUE(packed.Number(a) && packed.Number(b) && packed.Number(c));
  EXPECT_DOUBLE_EQ(a, 1.5);
  EXPECT_DOUBLE_EQ(b, 0.5);
  EXPECT_DOUBLE_EQ(c, -2.0);
}

TEST(SVGValues, ColoursInEveryNotation)
{
  EXPECT_EQ(ParseColor("#f80"), (Color{255, 136, 0, 255}));
  EXPECT_EQ(ParseColor("#1e88e5"), (Color{0x1e, 0x88, 0xe5, 255}));
  EXPECT_EQ(ParseColor("#FF000080"), (Color{255, 0, 0, 128}));
  EXPECT_EQ(ParseColor("rgb(10, 20,30)"), (Color{10, 20, 30, 255}));
  EXPECT_EQ(ParseColor("rgb(100%,0%,50%)"), (Color{255, 0, 128, 255}));
  EXPECT_EQ(ParseColor("rgba(0,0,255,0.5)"), (Color{0, 0, 255, 128}));
  EXPECT_EQ(ParseColor(" Red "), (Color{255, 0, 0, 255}));
  EXPECT_EQ(ParseColor("navy"), (Color{0, 0, 128, 255}));
  EXPECT_EQ(ParseColor("rgb(300,-5,0)"), (Color{255, 0, 0, 255}));
  for (const char* bad : {"", "#", "#12", "#ggg", "rgb(1,2)", "rgb(1,2,3", "notacolour"})
    EXPECT_FALSE(ParseColor(bad)) << bad;
}

TEST(SVGValues, TransformListsComposeLeftToRight)
{
  const auto t = ParseTransform("translate(10,20) scale(2)");
  ASSERT_TRUE(t);
  const Point p = Apply(*t, {1, 1});
  EXPECT_FLOAT_EQ(p.x, 12.f);
  EXPECT_FLOAT_EQ(p.y, 22.f);

  const auto r = ParseTransform("rotate(90, 10, 10)");
  ASSERT_TRUE(r);
  const Point q = Apply(*r, {20, 10}); // a quarter turn about (10, 10), y down
  EXPECT_NEAR(q.x, 10.f, 1e-5);
  EXPECT_NEAR(q.y, 20.f, 1e-5);

  const auto m = ParseTransform("matrix(1 2 3 4 5 6)");
  ASSERT_TRUE(m);
  EXPECT_EQ(*m, (Transform{1, 2, 3, 4, 5, 6}));

  const auto skew = ParseTransform("skewX(45)");
  ASSERT_TRUE(skew);
  EXPECT_NEAR(Apply(*skew, {0, 10}).x, 10.f, 1e-5);
  const auto skewY = ParseTransform("skewY(45)");
  ASSERT_TRUE(skewY);
  EXPECT_NEAR(Apply(*skewY, {10, 0}).y, 10.f, 1e-5);

  for (const char* bad : {"translate(1", "scale()", "rotate(1,2)", "wobble(1)", "matrix(1 2 3)"})
    EXPECT_FALSE(ParseTransform(bad)) << bad;

  const auto inv = Invert(*m);
  ASSERT_TRUE(inv);
  const Point back = Apply(*inv, Apply(*m, {3, 7}));
  EXPECT_NEAR(back.x, 3.f, 1e-4);
  EXPECT_NEAR(back.y, 7.f, 1e-4);
  EXPECT_FALSE(Invert({1, 2, 2, 4, 0, 0}));
}

TEST(SVGPathData, AbsoluteAndRelativeCommandsReachTheSamePoints)
{
  const auto abs = BuildPath("M10 10 L20 10 H30 V20 C30 30 20 30 20 20 Q15 15 10 20 Z");
  const auto rel = BuildPath("m10 10 l10 0 h10 v10 c0 10 -10 10 -10 0 q-5 -5 -10 0 z");
  ASSERT_EQ(abs.size(), 1u);
  ASSERT_EQ(rel.size(), 1u);
  ASSERT_EQ(abs[0].points.size(), rel[0].points.size());
  for (size_t i = 0; i < abs[0].points.size(); ++i)
  {
    EXPECT_NEAR(abs[0].points[i].x, rel[0].points[i].x, 1e-4) << i;
    EXPECT_NEAR(abs[0].points[i].y, rel[0].points[i].y, 1e-4) << i;
  }
  EXPECT_TRUE(abs[0].closed);
  // Close adds the edge back to the start explicitly.
  EXPECT_FLOAT_EQ(End(abs[0]).x, 10.f);
  EXPECT_FLOAT_EQ(End(abs[0]).y, 10.f);
  EXPECT_EQ((abs[0].points.size() - 1) % 3, 0u);
}

TEST(SVGPathData, ImplicitLineTosAndSubPaths)
{
  const auto paths = BuildPath("M0,0 10,0 10,10 z m5 5 l1 1 M 50 50");
  ASSERT_EQ(paths.size(), 2u); // the trailing lone move-to draws nothing
  EXPECT_EQ(paths[0].points.size(), 1u + 3 * 3);
  EXPECT_FLOAT_EQ(paths[1].points[0].x, 5.f); // relative to the closed path's start
  EXPECT_FLOAT_EQ(End(paths[1]).x, 6.f);
  EXPECT_FALSE(paths[1].closed);
}

TEST(SVGPathData, SmoothCurvesReflectThePreviousControlPoint)
{
  const auto c = BuildPath("M0 0 C0 10 10 10 10 0 S20 -10 20 0");
  ASSERT_EQ(c.size(), 1u);
  EXPECT_FLOAT_EQ(c[0].points[4].x, 10.f); // reflection of (10, 10) about (10, 0)
  EXPECT_FLOAT_EQ(c[0].points[4].y, -10.f);

  const auto q = BuildPath("M0 0 Q10 10 20 0 T40 0");
  ASSERT_EQ(q.size(), 1u);
  // The reflected quadratic control is (30, -10); its cubic form starts 2/3 of the way.
  EXPECT_NEAR(q[0].points[4].x, 20.f + 2.f / 3.f * 10.f, 1e-4);
  EXPECT_NEAR(q[0].points[4].y, -2.f / 3.f * 10.f, 1e-4);
}

TEST(SVGPathData, ArcsFollowTheEllipse)
{
  // Half circle of radius 10 about (10, 0) from (0, 0) to (20, 0), sweeping through y < 0.
  const auto paths = BuildPath("M0 0 A10 10 0 0 1 20 0");
  ASSERT_EQ(paths.size(), 1u);
  const auto& pts = paths[0].points;
  ASSERT_EQ(pts.size(), 7u); // two quarter-turn cubics
  EXPECT_NEAR(pts[3].x, 10.f, 1e-4);
  EXPECT_NEAR(pts[3].y, -10.f, 1e-4);
  // The midpoint of each cubic lies on the circle.
  for (size_t s = 0; s + 3 < pts.size(); s += 3)
  {
    const float mx = 0.125f * (pts[s].x + 3 * pts[s + 1].x + 3 * pts[s + 2].x + pts[s + 3].x);
    const float my = 0.125f * (pts[s].y + 3 * pts[s + 1].y + 3 * pts[s + 2].y + pts[s + 3].y);
    EXPECT_NEAR(std::hypot(mx - 10.f, my), 10.f, 0.01f);
  }
  // Radii too small are scaled up until they span the endpoints.
  const auto small = BuildPath("M0 0 A1 1 0 0 0 20 0");
  ASSERT_EQ(small.size(), 1u);
  EXPECT_NEAR(small[0].points[3].y, 10.f, 1e-3);
  // Zero radius is a straight line; a large arc takes the long way round.
  EXPECT_EQ(BuildPath("M0 0 A0 5 0 0 1 20 0")[0].points.size(), 4u);
  EXPECT_GE(BuildPath("M0 0 A10 10 0 1 1 10 10")[0].points.size(), 10u);
}

TEST(SVGPathData, MalformedDataKeepsWhatCameBefore)
{
  const auto paths = BuildPath("M0 0 L10 0 L10 10 L oops 20 20");
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].points.size(), 7u);
  EXPECT_TRUE(BuildPath("10 10 L 20 20").empty());            // no initial command
  EXPECT_TRUE(BuildPath("M0 0 A1 1 0 2 1 5 5").size() == 0u); // flag must be 0 or 1
}

TEST(SVGPathData, PointBudgetStopsRunawayPaths)
{
  size_t budget = 10;
  PathBuilder builder(budget, 64);
  builder.AddPathData("M0 0 L1 1 L2 2 L3 3 L4 4 L5 5");
  EXPECT_FALSE(builder.Ok());
}

TEST(SVGShapes, RectanglesAndRoundedCorners)
{
  const Image image = Parse(R"(<rect x="10" y="20" width="30" height="40"/>
                                <rect x="0" y="0" width="20" height="10" rx="4"/>
                                <rect width="0" height="10"/>)");
  ASSERT_EQ(image.shapes.size(), 2u);
  const auto& plain = image.shapes[0];
  EXPECT_EQ(plain.bounds, (std::array<float, 4>{10, 20, 40, 60}));
  EXPECT_TRUE(plain.paths[0].closed);
  EXPECT_EQ(plain.fill.type, PaintType::Color); // default fill is black
  EXPECT_EQ(plain.fill.color, (Color{0, 0, 0, 255}));
  EXPECT_EQ(plain.stroke.type, PaintType::None);
  const auto& round = image.shapes[1];
  EXPECT_EQ(round.bounds, (std::array<float, 4>{0, 0, 20, 10}));
  EXPECT_FLOAT_EQ(round.paths[0].points[0].x, 4.f); // ry follows rx
  EXPECT_GT(round.paths[0].points.size(), 13u);
}

TEST(SVGShapes, CirclesEllipsesLinesAndPolys)
{
  const Image image = Parse(R"(<circle cx="50" cy="50" r="10"/>
                                <ellipse cx="20" cy="30" rx="5" ry="8"/>
                                <line x1="1" y1="2" x2="3" y2="4" stroke="red"/>
                                <polyline points="0,0 10,0 10,10"/>
                                <polygon points="0 0 10 0 10 10 7"/>
                                <circle r="-1"/>)");
  ASSERT_EQ(image.shapes.size(), 5u);
  EXPECT_EQ(image.shapes[0].bounds, (std::array<float, 4>{40, 40, 60, 60}));
  EXPECT_EQ(image.shapes[1].bounds, (std::array<float, 4>{15, 22, 25, 38}));
  EXPECT_FALSE(image.shapes[2].paths[0].closed);
  EXPECT_EQ(image.shapes[2].stroke.color, (Color{255, 0, 0, 255}));
  EXPECT_FALSE(image.shapes[3].paths[0].closed);
  EXPECT_TRUE(image.shapes[4].paths[0].closed);
  EXPECT_EQ(image.shapes[4].paths[0].points.size(), 1u + 3 * 3); // odd coordinate ignored
}

TEST(SVGDocument, SizeAndViewBoxInRequestedUnits)
{
  Image px = Parse(R"(<rect width="360" height="120"/>)",
                   R"(width="180" height="60" viewBox="0 0 360 120")");
  EXPECT_FLOAT_EQ(px.width, 180.f);
  EXPECT_FLOAT_EQ(px.height, 60.f);
  EXPECT_EQ(px.shapes[0].bounds, (std::array<float, 4>{0, 0, 180, 60}));

  // 1 inch at 72 dpi is 72 px; reported in points it is 72 pt.
  Image pt = Parse("", R"(width="1in" height="2in")", "px", 72.f);
  EXPECT_FLOAT_EQ(pt.width, 72.f);
  EXPECT_FLOAT_EQ(pt.height, 144.f);
  Image mm = Parse("", R"(width="25.4mm" height="10" )", "in", 96.f);
  EXPECT_FLOAT_EQ(mm.width, 1.f);
  EXPECT_FLOAT_EQ(mm.height, 10.f / 96.f);

  // No width/height: the viewBox size.
  Image vb = Parse("", R"(viewBox="0 0 30 40")");
  EXPECT_FLOAT_EQ(vb.width, 30.f);
  EXPECT_FLOAT_EQ(vb.height, 40.f);
}

TEST(SVGDocument, ViewBoxIsFittedAndCentred)
{
  // A 100 x 50 viewBox in a 100 x 100 viewport: scale 1, centred vertically.
  Image meet = Parse(R"(<rect width="100" height="50"/>)",
                     R"(width="100" height="100" viewBox="0 0 100 50")");
  EXPECT_EQ(meet.shapes[0].bounds, (std::array<float, 4>{0, 25, 100, 75}));
  Image none = Parse(R"(<rect width="100" height="50"/>)",
                     R"(width="100" height="100" viewBox="0 0 100 50" preserveAspectRatio="none")");
  EXPECT_EQ(none.shapes[0].bounds, (std::array<float, 4>{0, 0, 100, 100}));
  Image min =
      Parse(R"(<rect width="100" height="50"/>)",
            R"(width="100" height="100" viewBox="0 0 100 50" preserveAspectRatio="xMinYMin")");
  EXPECT_EQ(min.shapes[0].bounds, (std::array<float, 4>{0, 0, 100, 50}));
}

TEST(SVGDocument, GroupsPassTransformsAndStylesDown)
{
  const Image image = Parse(R"svg(
    <g transform="translate(10 0)" fill="red" stroke="blue" stroke-width="2" opacity="0.5">
      <g transform="scale(2)" style="fill: #00ff00; opacity: 0.5">
        <rect width="5" height="5" fill="blue" stroke-linejoin="round" stroke-linecap="square"/>
        <rect width="5" height="5" stroke="none" visibility="hidden" stroke-miterlimit="7"/>
      </g>
      <rect width="1" height="1" display="none"/>
      <g display="none"><rect width="1" height="1"/></g>
    </g>)svg");
  ASSERT_EQ(image.shapes.size(), 2u);
  const Shape& a = image.shapes[0];
  EXPECT_EQ(a.bounds, (std::array<float, 4>{10, 0, 20, 10}));
  EXPECT_EQ(a.fill.color, (Color{0, 0, 255, 255}));
  EXPECT_EQ(a.stroke.color, (Color{0, 0, 255, 255}));
  EXPECT_FLOAT_EQ(a.strokeWidth, 4.f); // scaled by the transform
  EXPECT_FLOAT_EQ(a.opacity, 0.25f);
  EXPECT_EQ(a.lineJoin, LineJoin::Round);
  EXPECT_EQ(a.lineCap, LineCap::Square);
  EXPECT_TRUE(a.visible);
  const Shape& b = image.shapes[1];
  EXPECT_EQ(b.fill.color, (Color{0, 255, 0, 255})); // inherited from the style=""
  EXPECT_EQ(b.stroke.type, PaintType::None);
  EXPECT_FALSE(b.visible);
  EXPECT_FLOAT_EQ(b.miterLimit, 7.f);
}

TEST(SVGDocument, StyleAttributeWinsOverPresentationAttributes)
{
  const Image image = Parse(R"(<rect width="5" height="5" fill="red" fill-opacity="0.5"
                                style="fill:blue ; fill-rule: evenodd;stroke:#000 !important"/>)");
  ASSERT_EQ(image.shapes.size(), 1u);
  EXPECT_EQ(image.shapes[0].fill.color, (Color{0, 0, 255, 128}));
  EXPECT_EQ(image.shapes[0].fillRule, FillRule::EvenOdd);
  EXPECT_EQ(image.shapes[0].stroke.type, PaintType::Color);
}

TEST(SVGDocument, DashesAreEvenAndBounded)
{
  const Image image = Parse(R"(<path d="M0 0 H10" stroke="red" stroke-dasharray="1 2 3"
                                      stroke-dashoffset="2"/>
                                <path d="M0 0 H10" stroke="red" stroke-dasharray="0 0"/>
                                <path d="M0 0 H10" stroke="red" stroke-dasharray="1 -2"/>)");
  ASSERT_EQ(image.shapes.size(), 3u);
  EXPECT_EQ(image.shapes[0].dashes, (std::vector<float>{1, 2, 3, 1, 2, 3}));
  EXPECT_FLOAT_EQ(image.shapes[0].dashOffset, 2.f);
  EXPECT_TRUE(image.shapes[1].dashes.empty());
  EXPECT_TRUE(image.shapes[2].dashes.empty());
}

TEST(SVGGradients, LinearBoundingBoxGradientMapsAcrossTheShape)
{
  const Image image = Parse(R"svg(
    <defs><linearGradient id="g" x2="1">
      <stop offset="0" stop-color="#ff0000"/>
      <stop offset="50%" style="stop-color:lime; stop-opacity: 0.5"/>
      <stop offset="0.25" stop-color="blue"/>
    </linearGradient></defs>
    <rect x="10" y="10" width="40" height="20" fill="url(#g)"/>)svg");
  ASSERT_EQ(image.shapes.size(), 1u);
  const Paint& fill = image.shapes[0].fill;
  ASSERT_EQ(fill.type, PaintType::LinearGradient);
  ASSERT_EQ(fill.gradient.stops.size(), 3u);
  EXPECT_EQ(fill.gradient.stops[1].color, (Color{0, 255, 0, 128}));
  EXPECT_FLOAT_EQ(fill.gradient.stops[2].offset, 0.5f); // offsets never decrease
  // The gradient runs along its y axis from the box's left edge to its right edge.
  const Point start = Apply(fill.gradient.xform, {10, 10});
  EXPECT_NEAR(start.x, 0.f, 1e-5);
  EXPECT_NEAR(start.y, 0.f, 1e-5);
  EXPECT_NEAR(Apply(fill.gradient.xform, {50, 10}).y, 1.f, 1e-5);
  EXPECT_NEAR(Apply(fill.gradient.xform, {30, 30}).y, 0.5f, 1e-5);
  EXPECT_NEAR(Apply(fill.gradient.xform, {10, 30}).y, 0.f, 1e-5);
}

TEST(SVGGradients, RadialUserSpaceWithHrefAndTransform)
{
  const Image image = Parse(R"svg(
    <radialGradient id="base"><stop offset="0" stop-color="white"/><stop offset="1" stop-color="black"/></radialGradient>
    <radialGradient id="r" href="#base" gradientUnits="userSpaceOnUse" cx="50" cy="40" r="20"
                    gradientTransform="translate(5 0)" spreadMethod="reflect"/>
    <g transform="translate(1 2)"><circle cx="50" cy="50" r="30" fill="url(#r)"/></g>)svg");
  ASSERT_EQ(image.shapes.size(), 1u);
  const Paint& fill = image.shapes[0].fill;
  ASSERT_EQ(fill.type, PaintType::RadialGradient);
  EXPECT_EQ(fill.gradient.spread, Spread::Reflect);
  ASSERT_EQ(fill.gradient.stops.size(), 2u);
  const Point centre = Apply(fill.gradient.xform, {56, 42});
  EXPECT_NEAR(centre.x, 0.f, 1e-5);
  EXPECT_NEAR(centre.y, 0.f, 1e-5);
  const Point edge = Apply(fill.gradient.xform, {76, 42});
  EXPECT_NEAR(edge.x, 1.f, 1e-5);
}

TEST(SVGGradients, DegenerateAndMissingGradients)
{
  const Image image = Parse(R"svg(
    <linearGradient id="one"><stop offset="0" stop-color="red"/></linearGradient>
    <linearGradient id="flat" x1="0" x2="0"><stop stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
    <linearGradient id="empty"/>
    <linearGradient id="loop" href="#loop2"/><linearGradient id="loop2" href="#loop"/>
    <rect width="5" height="5" fill="url(#one)"/>
    <rect width="5" height="5" fill="url(#flat)"/>
    <rect width="5" height="5" fill="url(#empty)"/>
    <rect width="5" height="5" fill="url(#nowhere) #00f"/>
    <rect width="5" height="5" fill="url(#nowhere)"/>
    <rect width="5" height="5" fill="url(#loop)"/>)svg");
  ASSERT_EQ(image.shapes.size(), 6u);
  EXPECT_EQ(image.shapes[0].fill.type, PaintType::Color);
  EXPECT_EQ(image.shapes[0].fill.color, (Color{255, 0, 0, 255}));
  EXPECT_EQ(image.shapes[1].fill.color, (Color{0, 0, 255, 255})); // zero-length: last stop
  EXPECT_EQ(image.shapes[2].fill.type, PaintType::None);
  EXPECT_EQ(image.shapes[3].fill.color, (Color{0, 0, 255, 255}));
  EXPECT_EQ(image.shapes[4].fill.type, PaintType::None);
  EXPECT_EQ(image.shapes[5].fill.type, PaintType::None);
}

TEST(SVGDocument, TheEmbeddedLogoParses)
{
  const auto* logo = qm::resources::FindEmbeddedResource("Quillmarsh_Logo_360x120.svg", "SVG");
  ASSERT_NE(logo, nullptr);
  Image image;
  std::string error;
  ASSERT_TRUE(ParseSVG({reinterpret_cast<const char*>(logo->data.data()), logo->data.size()}, "px",
                       72.f, image, &error))
      << error;
  EXPECT_FLOAT_EQ(image.width, 360.f);
  EXPECT_FLOAT_EQ(image.height, 120.f);
  EXPECT_GE(image.shapes.size(), 10u);
  const bool hasGradient =
      std::any_of(image.shapes.begin(), image.shapes.end(),
                  [](const Shape& s) { return s.fill.type == PaintType::LinearGradient; });
  EXPECT_TRUE(hasGradient);
}

TEST(SVGDocument, PrologueCommentsDoctypeAndEntities)
{
  const std::string doc = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<!-- <g> in a comment --><!DOCTYPE svg [ <!ENTITY x "y"> ]>
<svg xmlns="http://www.w3.org/2000/svg" width="36" height="12">
  <title>Logo &amp; mark</title><![CDATA[ <g> ]]>
  <circle cx="6" cy="6" r="5" fill="#263238" id="a&amp;b"/>
</svg>)svg";
  Image image;
  ASSERT_TRUE(ParseSVG(doc, "px", 72.f, image));
  ASSERT_EQ(image.shapes.size(), 1u);
  EXPECT_EQ(image.shapes[0].id, "a&b");
}

TEST(SVGFailures, MalformedOrHostileDocumentsFailCleanly)
{
  EXPECT_TRUE(Fails(""));
  EXPECT_TRUE(Fails("<svg width='10' height='10'>"));      // unterminated
  EXPECT_TRUE(Fails("<html width='10' height='10'/>"));    // not SVG
  EXPECT_TRUE(Fails("<svg width='10' height='10' x=1/>")); // unquoted attribute
  EXPECT_TRUE(Fails("<svg/>"));                            // no size anywhere
  EXPECT_TRUE(Fails("<svg width='0' height='10'/>"));
  EXPECT_TRUE(Fails("<svg width='10' height='10'><path d='M0 0 L1e38 0' "
                    "transform='scale(1e38)'/></svg>")); // overflows to infinity

  std::string deep = "<svg width='10' height='10'>";
  for (int i = 0; i < 100000; ++i)
    deep += "<g>";
  EXPECT_TRUE(Fails(deep)); // rejected before the recursive XML parser sees it
  std::string deepClosed = "<svg width='10' height='10'>";
  for (int i = 0; i < 100; ++i)
    deepClosed += "<g>";
  for (int i = 0; i < 100; ++i)
    deepClosed += "</g>";
  EXPECT_TRUE(Fails(deepClosed + "</svg>"));

  std::string many = "<svg width='10' height='10'>";
  for (int i = 0; i < 50; ++i)
    many += "<rect width='1' height='1'/>";
  ParseLimits limits;
  limits.maxElements = 40;
  EXPECT_TRUE(Fails(many + "</svg>", limits));
  limits = {};
  limits.maxPoints = 100;
  EXPECT_TRUE(Fails(many + "</svg>", limits));
  limits = {};
  limits.maxBytes = 100;
  EXPECT_TRUE(Fails(many + "</svg>", limits));

  Image image;
  EXPECT_FALSE(ParseSVG("<svg width='10' height='10'/>", "furlong", 96.f, image));
  EXPECT_FALSE(ParseSVG("<svg width='10' height='10'/>", "px", 0.f, image));
  EXPECT_FALSE(ParseSVG("<svg width='10' height='10'/>", "px", NAN, image));
  EXPECT_TRUE(ParseSVG("<svg width='10' height='10'/>", "px", 96.f, image));
}
