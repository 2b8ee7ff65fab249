#include "RecordingGraphics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kit::gfx;
using namespace kit::gfx::test;

namespace
{
std::string WriteTempSVG(const char* name, const char* text)
{
  const auto path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path) << text;
  return path.string();
}

constexpr const char* kLogo = R"(<svg xmlns="http://www.w3.org/2000/svg" width="90" height="30">
  <rect width="90" height="30" fill="#123456"/></svg>)";
} // namespace

TEST(SVGLoading, ParsesOnceAndSharesTheImageWhileAContextLives)
{
  const std::string path = WriteTempSVG("trazelle_svg_cache_test.svg", kLogo);
  {
    RecordingGraphics g;
    const ISVG a = g.LoadSVG(path.c_str());
    ASSERT_TRUE(a.IsValid());
    EXPECT_FLOAT_EQ(a.W(), 90.f);
    EXPECT_FLOAT_EQ(a.H(), 30.f);
    RecordingGraphics other;
    const ISVG b = other.LoadSVG(path.c_str());
    EXPECT_EQ(a.GetImage(), b.GetImage());

    // A changed file is not re-read while the cache holds the image.
    WriteTempSVG("trazelle_svg_cache_test.svg", "not svg");
    EXPECT_TRUE(g.LoadSVG(path.c_str()).IsValid());
  }
  // The last context is gone: the cache was emptied, so the file is read afresh (and now fails).
  RecordingGraphics g;
  EXPECT_FALSE(g.LoadSVG(path.c_str()).IsValid());
  std::filesystem::remove(path);
}

TEST(SVGLoading, MissingOrMalformedResourceGivesAnInvalidSVGThatDrawsNothing)
{
  RecordingGraphics g;
  const ISVG missing = g.LoadSVG("/nonexistent/trazelle/logo.svg");
  EXPECT_FALSE(missing.IsValid());
  EXPECT_FLOAT_EQ(missing.W(), 0.f);
  const std::string path = WriteTempSVG("trazelle_svg_bad_test.svg", "<svg><path d=");
  EXPECT_FALSE(g.LoadSVG(path.c_str()).IsValid());
  g.DrawSVG(missing, IRECT(0.f, 0.f, 10.f, 10.f));
  EXPECT_TRUE(g.commands.empty());
  std::filesystem::remove(path);
}
