#pragma once

// Shared pieces of the editor tests: an open editor on the headless platform
// and helpers to read what its controls show.

#include "controls/ControlBase.h"
#include "editor/TrazelleEditor.h"
#include "graphics/GraphicsContext.h"
#include "plugin/DemoSignal.h"
#include "plugin/Trazelle.h"
#include "tools/render/EditorHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace qm::test
{

using Tag = Trazelle::TrazelleEditor::ControlTag;

// Centres of the controls the tests operate, in logical editor coordinates.
struct Where
{
  static constexpr float kLogoX = 767.f, kLogoY = 24.f;
  static constexpr float kFreezeX = 328.f, kRowY = 392.f;
  static constexpr float kChannelX = 376.f;
  static constexpr float kZoomX = 440.f;
  static constexpr float kModeX = 568.f;
  static constexpr float kMenusX = 728.f, kThemeY = 376.f;
  static constexpr float kSliderY = 312.f;
};

class EditorTest : public ::testing::Test
{
protected:
  void OpenAt(double rate)
  {
    harness = std::make_unique<render::EditorHarness>(rate, 512);
    std::string error;
    ASSERT_TRUE(harness->Open(error)) << error;
  }

  void SetUp() override { OpenAt(44100.0); }

  Trazelle::Trazelle& Plugin() { return harness->Plugin(); }
  Trazelle::Settings& Settings() { return harness->Plugin().GetSettings(); }

  std::string TextOf(int tag)
  {
    auto* c = harness->ControlAs<control::ControlBase>(tag);
    return c ? c->GetValueText() : std::string("<no control>");
  }

  // Plays the demo signal for `seconds` of simulated time.
  void PlayDemo(double seconds)
  {
    const Trazelle::DemoSignal demo(Plugin().GetSampleRate());
    harness->Run(int(std::lround(seconds * render::EditorHarness::kTicksPerSecond)),
                 [&demo](int64_t first, int n, double* l, double* r)
                 { demo.Render(first % demo.TotalFrames(), n, l, r); });
  }

  render::RgbaImage Capture()
  {
    render::RgbaImage image;
    std::string error;
    EXPECT_TRUE(harness->Capture(image, error)) << error;
    return image;
  }

  std::unique_ptr<render::EditorHarness> harness;
};

// Pixels of `image` (at scale 1) inside [l, r) x [t, b) that match `c` within
// `tolerance` per channel.
inline int CountColour(const render::RgbaImage& image, int l, int t, int r, int b,
                       kit::gfx::IColor c, int tolerance = 0)
{
  int n = 0;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
    {
      const auto p = image.At(x, y);
      if (std::abs(p.r - c.R) <= tolerance && std::abs(p.g - c.G) <= tolerance &&
          std::abs(p.b - c.B) <= tolerance)
        ++n;
    }
  return n;
}

inline bool Near(const render::RgbaImage::Pixel& p, kit::gfx::IColor c, int tolerance)
{
  return std::abs(p.r - c.R) <= tolerance && std::abs(p.g - c.G) <= tolerance &&
         std::abs(p.b - c.B) <= tolerance;
}

} // namespace qm::test
