// The tempo-locked view through the real editor, with the harness acting as a host whose
// transport plays at a known tempo.

#include "EditorTestSupport.h"

#include "controls/GridControl.h"
#include "controls/Oscilloscope.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace qm::test
{
namespace
{

using Scope = control::Oscilloscope<2>;

constexpr double kRate = 48000.0;
constexpr double kTempo = 120.0;
constexpr double kFramesPerBeat = kRate * 60.0 / kTempo;
constexpr double kBeats = 2.0; // a window of one second
// Quantising the duration to whole samples per column shortens it by less than this.
constexpr double kColumnSlack = 1664.0 / kRate;
constexpr float kSyncX = 614.f;
// Each window's four quarters at a different level: a 1 kHz tone, so that every column of the
// picture holds whole periods and shows the level as the band's height.
constexpr std::array<double, 4> kLevels = {0.9, 0.3, 0.6, 0.15};

int QuarterAt(double frame)
{
  return int(std::floor(frame / (kFramesPerBeat * kBeats / 4.0))) % 4;
}

void Bars(int64_t first, int n, double* l, double* r)
{
  for (int i = 0; i < n; ++i)
  {
    const int64_t f = first + i;
    l[i] = r[i] = kLevels[size_t(QuarterAt(double(f)))] * std::sin(2.0 * M_PI * 1000.0 * f / kRate);
  }
}

class TempoSyncTest : public EditorTest
{
protected:
  static constexpr int kTop = 60, kBottom = 288;

  void SetUp() override
  {
    OpenAt(kRate);
    Settings().sync = true;
    Settings().beats = kBeats;
    Plugin().Editor().SyncControls();
  }

  // Pixel columns of the scope whose band height differs from the one expected of the quarter that
  // `frameAt(x)` falls in. Rows and columns with grid labels or the legend are left out, and so is
  // the gap after the newest columns of a wrapped picture, which shows nothing.
  template <typename FrameAt>
  int ColumnsOffTheBars(const render::RgbaImage& image, FrameAt frameAt)
  {
    const control::ColumnWrap wrap = harness->ControlAs<Scope>(Tag::kTagOscilloscope)->GetWrap();
    const int gapLeft = int(wrap.newest / 2), gapRight = int((wrap.newest + wrap.gap + 1) / 2);
    int off = 0;
    for (int x = 0; x < 832; ++x)
    {
      if (x < 140 || (x >= gapLeft && x < gapRight)) continue;
      int height = 0;
      for (int y = kTop; y < kBottom; ++y)
        if (image.At(x, y).r < 180) ++height;
      const double level = kLevels[size_t(QuarterAt(frameAt(x)))];
      const double expected = std::min(176.0 + 128.0 * level, double(kBottom)) -
                              std::max(176.0 - 128.0 * level, double(kTop));
      if (std::abs(height - expected) > 6.0) ++off;
    }
    return off;
  }

  // Frames each pixel column of the picture spans.
  double FramesPerPixel()
  {
    auto* scope = harness->ControlAs<Scope>(Tag::kTagOscilloscope);
    return 2.0 * scope->GetColumns().GetSamplesPerColumn();
  }
};

TEST_F(TempoSyncTest, WhilePlayingEachBarIsDrawnInPlaceAndOnceStoppedThePictureScrolls)
{
  harness->SetTransport({kTempo, 0.0, 3.0});
  const auto locked = [this](int x) { return (x + 0.5) * FramesPerPixel(); };

  // A quarter into the second window, then three quarters into the third: the windows stand
  // still, each drawn where the one before it was.
  harness->Run(75, Bars);
  EXPECT_EQ(TextOf(Tag::kTagDuration), "2 beats");
  const render::RgbaImage first = Capture();
  EXPECT_LE(ColumnsOffTheBars(first, locked), 10);
  harness->Run(90, Bars);
  const render::RgbaImage second = Capture();
  EXPECT_LE(ColumnsOffTheBars(second, locked), 10);

  // Stopped at the end of a window, a quarter second on: the newest frame at the right edge.
  harness->Run(30, Bars);
  EXPECT_EQ(harness->ControlAs<Scope>(Tag::kTagOscilloscope)->GetWrap(), control::ColumnWrap{});
  const render::RgbaImage stopped = Capture();
  const double newest = double(Plugin().OscilloscopeBuffer().Taken());
  const auto scrolled = [&](int x) { return newest - (832 - x - 0.5) * FramesPerPixel(); };
  EXPECT_LE(ColumnsOffTheBars(stopped, scrolled), 10);
  EXPECT_GT(ColumnsOffTheBars(stopped, locked), 500); // a quarter window away
}

TEST_F(TempoSyncTest, TheKnobCountsBeatsOfTheHostsTempoWithinTheHistoryAndTheGridLabelsBeats)
{
  auto* grid = harness->ControlAs<control::GridControl>(Tag::kTagTimeGrid);
  auto* scope = harness->ControlAs<Scope>(Tag::kTagOscilloscope);
  ASSERT_TRUE(grid && scope);
  struct Case
  {
    double tempo; // 0: a host without a transport
    double beats;
    const char* shown;
    double seconds;
  };
  for (const Case& c :
       {Case{0.0, 2.0, "2 beats", 1.0}, Case{90.0, 0.25, "1/4 beat", 1.0 / 6.0},
        Case{120.0, 16.0, "8 beats", 4.0}, Case{999.0, 0.25, "1 beat", 60.0 / 999.0},
        Case{60.0, 16.0, "4 beats", 4.0}})
  {
    harness->SetTransport({c.tempo});
    Settings().beats = c.beats;
    Plugin().Editor().SyncControls();
    harness->Run(2); // the new tempo reaches the editor with the next block
    EXPECT_EQ(TextOf(Tag::kTagDuration), c.shown) << c.tempo << " " << c.beats;
    EXPECT_EQ(Settings().beats, c.beats); // what is shown is fitted, what is stored stays
    EXPECT_NEAR(scope->GetDuration(), c.seconds, kColumnSlack) << c.tempo << " " << c.beats;
    EXPECT_NEAR(grid->GetXMax(), scope->GetDuration() * (c.tempo > 0 ? c.tempo : 120.0) / 60.0,
                1e-9);
  }

  // The switch sits in free space: nothing else of the panel shares its rectangle.
  kit::gfx::GraphicsContext* g = harness->UI();
  const kit::gfx::IRECT sync = harness->Control(Tag::kTagSync)->GetRECT();
  for (int i = 0; i < g->NControls(); ++i)
  {
    const kit::gfx::IControl* c = g->GetControl(i);
    const kit::gfx::IRECT r = c->GetRECT();
    if (c == harness->Control(Tag::kTagSync) || c->IsHidden() || r.Contains(sync)) continue;
    EXPECT_FALSE(r.Intersects(sync)) << r.L << " " << r.T << " " << r.R << " " << r.B;
  }

  // The switch turns it off: seconds again, and the choice of beats is kept for next time.
  harness->Click(kSyncX, Where::kRowY);
  EXPECT_FALSE(Settings().sync);
  EXPECT_EQ(TextOf(Tag::kTagSync), "off");
  EXPECT_EQ(TextOf(Tag::kTagDuration).find("beat"), std::string::npos);
  EXPECT_NEAR(scope->GetDuration(), 2.0, kColumnSlack);
  EXPECT_NEAR(grid->GetXMax(), scope->GetDuration(), 1e-12);
  harness->Click(kSyncX, Where::kRowY);
  EXPECT_EQ(TextOf(Tag::kTagDuration), "4 beats");

  // The triggered view has its own anchor and ignores it.
  harness->Click(Where::kModeX, Where::kRowY);
  EXPECT_EQ(TextOf(Tag::kTagDuration).find("beat"), std::string::npos);
  EXPECT_EQ(scope->GetWrap(), control::ColumnWrap{});
}

} // namespace
} // namespace qm::test
