// trazelle-render as a user runs it: on the demo signal and on a WAV file.

#include "tools/render/AudioInput.h"
#include "tools/render/PngFile.h"

#include "editor/Themes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

using namespace qm::render;
using kit::gfx::IColor;

namespace
{

namespace fs = std::filesystem;

fs::path TempDir()
{
  const fs::path dir = fs::temp_directory_path() / "trazelle_render_tool_test";
  fs::create_directories(dir);
  return dir;
}

int RunTool(const std::string& arguments)
{
  const std::string command =
      std::string(TRAZELLE_RENDER_TOOL) + " " + arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int CountNear(const RgbaImage& image, IColor c, int tolerance, int t, int b)
{
  int n = 0;
  for (int y = t; y < b; ++y)
    for (int x = 0; x < image.width; ++x)
    {
      const auto p = image.At(x, y);
      if (std::abs(p.r - c.R) <= tolerance && std::abs(p.g - c.G) <= tolerance &&
          std::abs(p.b - c.B) <= tolerance)
        ++n;
    }
  return n;
}

} // namespace

TEST(RenderTool, WavFileAtItsOwnRateWithThemeAndScale)
{
  const fs::path wav = TempDir() / "tone.wav";
  const fs::path png = TempDir() / "tone.png";
  fs::remove(png);
  // A 441 Hz tone at 22050 Hz, the right channel at a third of the left, so
  // the left trace shows around the right one.
  StereoAudio tone{22050.0, {}, {}};
  for (int i = 0; i < 11025; ++i)
  {
    tone.left.push_back(0.9 * std::sin(2.0 * M_PI * 441.0 * i / 22050.0));
    tone.right.push_back(tone.left.back() / 3.0);
  }
  std::string error;
  ASSERT_TRUE(WriteWavFile(wav.string(), tone, 2, error)) << error;
  ASSERT_EQ(RunTool("--input " + wav.string() + " --seconds 0.4 --theme orange --scale 150 " +
                    "--quiet --png " + png.string()),
            0);
  RgbaImage image;
  ASSERT_TRUE(ReadPngFile(png.string(), image, error)) << error;
  EXPECT_EQ(image.width, 1248);
  EXPECT_EQ(image.height, 696);
  const auto& orange = qm::Trazelle::ThemeColors(1);
  const auto corner = image.At(0, 60);
  EXPECT_NEAR(corner.g, orange[6].G, 2);
  EXPECT_NEAR(corner.b, orange[6].B, 2);
  // Scope area at 150 %: 72 to 456.
  EXPECT_GT(CountNear(image, orange[8], 12, 73, 456), 200);
}

TEST(RenderTool, BadInputsFailWithoutWritingAPicture)
{
  const fs::path png = TempDir() / "never.png";
  fs::remove(png);
  EXPECT_NE(RunTool("--input /nonexistent/file.wav --png " + png.string()), 0);
  EXPECT_NE(RunTool("--theme purple --png " + png.string()), 0);
  EXPECT_NE(RunTool("--event 1:poke:1,1 --png " + png.string()), 0);
  EXPECT_FALSE(fs::exists(png));
  EXPECT_EQ(RunTool("--help"), 0);
}
