#include "graphics/svg/SVGParser.h"
#include "graphics/svg/SVGPathBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kit::gfx::svg;

namespace
{

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
