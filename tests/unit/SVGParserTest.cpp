#include "graphics/svg/SVGParser.h"
#include "graphics/svg/SVGPathBuilder.h"
#include "graphics/svg/SVGValues.h"

#include <gtest/gtest.h>

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

} // namespace

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
  EXPECT_FLOAT_EQ(abs[0].points.back().x, 10.f);
  EXPECT_FLOAT_EQ(abs[0].points.back().y, 10.f);
  EXPECT_EQ((abs[0].points.size() - 1) % 3, 0u);
}

TEST(SVGPathData, MalformedDataKeepsWhatCameBefore)
{
  const auto paths = BuildPath("M0 0 L10 0 L10 10 L oops 20 20");
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].points.size(), 7u);
  EXPECT_TRUE(BuildPath("10 10 L 20 20").empty());            // no initial command
  EXPECT_TRUE(BuildPath("M0 0 A1 1 0 2 1 5 5").size() == 0u); // flag must be 0 or 1
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
