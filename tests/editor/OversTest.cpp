// Overs through the real editor: the meter's lights and counts, and the marks on the position strip
// under the scope, probed on frames rendered headless.

#include "EditorTestSupport.h"

#include "controls/Oscilloscope.h"
#include "controls/OverColor.h"
#include "controls/SignalMeter.h"
#include "editor/Themes.h"

#include <limits>
#include <vector>

namespace qm::test
{

namespace
{

using Meter = control::SignalMeter<2>;
using Scope = control::Oscilloscope<2>;
using control::kOverColor;
using kit::gfx::IColor;
using kit::gfx::IRECT;

constexpr double kRate = 44100.0;
constexpr int kTicks = render::EditorHarness::kTicksPerSecond;

// A quiet sine on both channels (-12 dBFS) with `left` and `right` written at `at`.
render::AudioSource QuietSineWith(int64_t at, double left, double right)
{
  return [=](int64_t first, int n, double* l, double* r)
  {
    for (int i = 0; i < n; ++i)
    {
      l[i] = r[i] = 0.25 * std::sin(double(first + i) * 0.03);
      if (first + i == at)
      {
        l[i] = left;
        r[i] = right;
      }
    }
  };
}

bool LightIsOn(const render::RgbaImage& image, const IRECT& bar)
{
  // Beside the digits, which sit in the light's middle.
  return Near(image.At(int(bar.R) - 2, int(bar.T) + 2), kOverColor, 24);
}

// The x of every red tick along the strip's middle row.
std::vector<int> TickColumns(const render::RgbaImage& image)
{
  std::vector<int> xs;
  for (int x = 0; x < image.width; ++x)
    if (Near(image.At(x, int(Where::kSliderY)), kOverColor, 40)) xs.push_back(x);
  return xs;
}

} // namespace

TEST_F(EditorTest, OverLightsLatchOneSampleCountWhileClosedAndResetOnAClick)
{
  auto* meter = harness->ControlAs<Meter>(Tag::kTagMeter);
  ASSERT_NE(meter, nullptr);
  const float meterX = meter->GetBarRect(0).MW(), meterY = meter->GetBarRect(0).B + 1.f;

  // Full scale exactly, on one sample of the left channel.
  harness->Run(kTicks, QuietSineWith(kRate / 2, 1.0, 0.0));
  EXPECT_STREQ(meter->GetOverText(0), "1");
  EXPECT_STREQ(meter->GetOverText(1), "");
  render::RgbaImage image = Capture();
  EXPECT_TRUE(LightIsOn(image, meter->GetBarRect(0)));
  EXPECT_FALSE(LightIsOn(image, meter->GetBarRect(1)));
  EXPECT_GT(meter->GetReadout(0).peakDb, -0.1);

  harness->Click(meterX, meterY);
  EXPECT_STREQ(meter->GetOverText(0), "");
  EXPECT_LT(meter->GetReadout(0).peakDb, -6.0) << "the peak hold drops with the lights";
  EXPECT_FALSE(LightIsOn(Capture(), meter->GetBarRect(0)));
  EXPECT_EQ(Plugin().Overs().Total(0), 1u) << "the audio thread's count is never written back";

  // What happens while nobody looks shows when the editor opens again: a NaN, and an infinity
  // one frame later, on the right.
  harness->Close();
  const int64_t at = harness->FramesPlayed() + 1000;
  harness->Run(kTicks / 2, QuietSineWith(at, 0.5, std::numeric_limits<double>::quiet_NaN()));
  harness->Run(kTicks / 2, QuietSineWith(at + kRate / 2, 0.5, -HUGE_VAL));
  std::string error;
  ASSERT_TRUE(harness->Open(error)) << error;
  meter = harness->ControlAs<Meter>(Tag::kTagMeter);
  EXPECT_STREQ(meter->GetOverText(0), "");
  EXPECT_STREQ(meter->GetOverText(1), "2");
  EXPECT_TRUE(LightIsOn(Capture(), meter->GetBarRect(1)));
}

TEST_F(EditorTest, OverMarksFollowTheHistoryAndADoubleClickCentresAFrozenOne)
{
  const int64_t over = int64_t(kRate); // one second in
  const auto source = QuietSineWith(over, -1.5, 0.0);
  // The strip spans the window's width and the four-second history, the newest frame at its
  // right end.
  auto expectedX = [&] { return 832.f * (1.f - float(harness->FramesPlayed() - over) / 176400.f); };

  harness->Run(2 * kTicks, source);
  std::vector<int> ticks = TickColumns(Capture());
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_NEAR(ticks[0], expectedX(), 1.5);

  harness->Run(kTicks / 2, source); // live, the mark moves with the history
  ticks = TickColumns(Capture());
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_NEAR(ticks[0], expectedX(), 1.5);

  harness->Click(Where::kFreezeX, Where::kRowY);
  harness->Run(kTicks / 2, source); // frozen, it stays
  ASSERT_EQ(TickColumns(Capture()), ticks);

  // Away from the mark a double-click is a click; on it, it puts the over in the view's middle.
  harness->Click(100.f, Where::kSliderY);
  const double clicked = Plugin().Editor().GetPosition();
  harness->DoubleClick(100.f, Where::kSliderY);
  EXPECT_EQ(Plugin().Editor().GetPosition(), clicked);

  harness->DoubleClick(float(ticks[0]) + 3.f, Where::kSliderY);
  const auto& columns = harness->ControlAs<Scope>(Tag::kTagOscilloscope)->GetColumns();
  const auto& ring = columns.GetColumns(0);
  const auto loudest = std::min_element(ring.begin(), ring.end(),
                                        [](const auto& a, const auto& b) { return a.min < b.min; });
  EXPECT_EQ(loudest->min, -1.5);
  EXPECT_NEAR(double(loudest - ring.begin()), columns.GetColumnCount() / 2.0, 1.0);

  // A reset empties the history, and the over with it.
  harness->Click(Where::kFreezeX, Where::kRowY);
  harness->SetSampleRate(48000.0);
  harness->Run(1);
  EXPECT_TRUE(TickColumns(Capture()).empty());
}

TEST(OverColor, StandsApartFromEveryThemesMeter)
{
  auto distance = [](IColor a, IColor b)
  { return std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B); };
  for (int theme = 0; theme < Trazelle::kNumThemes; ++theme)
  {
    const auto& colors = Trazelle::ThemeColors(theme);
    EXPECT_GT(distance(kOverColor, colors[4]), 200) << "bar background, theme " << theme;
    EXPECT_GT(distance(kOverColor, colors[8]), 100) << "bar, theme " << theme;
  }
  EXPECT_GT(distance(kOverColor, kit::gfx::COLOR_WHITE), 400) << "the digits";
}

} // namespace qm::test
