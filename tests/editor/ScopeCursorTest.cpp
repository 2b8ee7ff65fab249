// The scope's cursor read-out through the real editor on the headless platform: what the label
// says over a known signal, the reference cursor's interval, where the label goes, and what
// hovering costs and leaves behind.

#include "EditorTestSupport.h"

#include "controls/Oscilloscope.h"
#include "controls/ScopeCursorControl.h"
#include "editor/EditorLayout.h"
#include "graphics/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <numbers>

using namespace qm;
using namespace qm::test;
using control::ScopeCursor;
using control::ScopeCursorControl;
using kit::gfx::IRECT;
using Scope = control::Oscilloscope<2>;

namespace
{

constexpr double kRate = 48000.0;

// Left: a sine of amplitude 0.5 over an offset of 0.1, so its largest sample is 0.6 (-4.4 dBFS)
// and its smallest -0.4 (-8.0 dBFS). Right: silence.
render::AudioSource OffsetSine(double hz)
{
  return [hz](int64_t first, int n, double* l, double* r)
  {
    for (int i = 0; i < n; ++i)
    {
      l[i] = 0.1 + 0.5 * std::sin(2.0 * std::numbers::pi * hz * double(first + i) / kRate);
      r[i] = 0.0;
    }
  };
}

// The number a label line starts with after its `prefix`, in seconds or hertz by its unit.
double ValueAfter(const std::string& line, const std::string& prefix)
{
  EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
  char* end = nullptr;
  const double v = std::strtod(line.c_str() + prefix.size(), &end);
  return std::string(end).find(" ms") == 0 ? v * 1e-3 : v;
}

const IRECT kScope = Trazelle::EditorLayout::Make(832.f, 464.f).scope;
const IRECT kLegend = Trazelle::EditorLayout::Make(832.f, 464.f).legend;

class ScopeCursorTest : public EditorTest
{
protected:
  // Reopens at 48 kHz with the mode and the duration knob's value set as stored settings.
  void OpenWith(Trazelle::EDisplayMode mode, double durationKnob)
  {
    OpenAt(kRate);
    Settings().mode = mode;
    (mode == Trazelle::kWaveformMode ? Settings().waveform_mode_duration
                                     : Settings().envelope_mode_duration) = durationKnob;
    harness->Close();
    std::string error;
    ASSERT_TRUE(harness->Open(error)) << error;
    scope = harness->ControlAs<Scope>(Tag::kTagOscilloscope);
    for (int i = 0; i < harness->UI()->NControls(); ++i)
      if (auto* c = dynamic_cast<ScopeCursorControl*>(harness->UI()->GetControl(i))) cursor = c;
    ASSERT_TRUE(scope && cursor);
  }

  // The label after hovering at (x, y) and drawing.
  std::vector<std::string> HoverAt(float x, float y)
  {
    harness->MouseOver(x, y);
    harness->Tick();
    return cursor->GetShownLines();
  }

  float XOf(int column) const { return ScopeCursor::XOfColumn(column, kScope.L); }

  Scope* scope = nullptr;
  ScopeCursorControl* cursor = nullptr;
};

} // namespace

TEST_F(ScopeCursorTest, LabelReadsTimeBackFromTheNewestFrameAndEachChannelsLevels)
{
  OpenWith(Trazelle::kEnvelopeMode, 3.0 / 7.0); // 2 s
  harness->Run(150, OffsetSine(1000.0));        // every column holds whole periods
  harness->Click(Where::kFreezeX, Where::kRowY);

  const auto lines = HoverAt(kScope.MW(), 200.f);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NEAR(ValueAfter(lines[0], ""), -0.5 * scope->GetDuration(), 1e-3) << lines[0];
  EXPECT_EQ(lines[1], "L -4.4 / -8.0 dB");
  EXPECT_EQ(lines[2], "R -inf / -inf dB");

  // Only the channels shown are read out.
  harness->Click(Where::kChannelX, Where::kRowY); // stereo -> left
  const auto left = HoverAt(kScope.MW(), 200.f);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1], "L -4.4 / -8.0 dB");
}

TEST_F(ScopeCursorTest, LiveTheLabelFollowsThePictureUnderAStillPointer)
{
  OpenWith(Trazelle::kEnvelopeMode, 3.0 / 7.0); // 2 s
  harness->Run(150, OffsetSine(1000.0));
  EXPECT_EQ(HoverAt(kScope.MW(), 200.f).at(1), "L -4.4 / -8.0 dB");
  // The pointer stays; the sine scrolls out of the view and silence takes its place.
  harness->Run(150, [](int64_t, int n, double* l, double* r)
               { std::fill_n(l, n, 0.0), std::fill_n(r, n, 0.0); });
  EXPECT_EQ(cursor->GetShownLines().at(1), "L -inf / -inf dB");
}

TEST_F(ScopeCursorTest, ReferenceBetweenTwoPeaksReadsThePeriodAndTheFrequency)
{
  constexpr double kHz = 110.0;
  OpenWith(Trazelle::kWaveformMode, 0.08); // 0.04 s: one sample per column at 48 kHz
  harness->Run(60, OffsetSine(kHz));
  ASSERT_EQ(scope->GetColumns().GetSamplesPerColumn(), 1u);

  // Live, "waveform" counts from the trigger point at the left edge.
  const auto live = HoverAt(XOf(480), 200.f);
  ASSERT_FALSE(live.empty());
  EXPECT_NEAR(ValueAfter(live[0], ""), 480.0 / kRate, 1.0 / kRate) << live[0];

  harness->Click(Where::kFreezeX, Where::kRowY);
  const auto& ring = scope->GetColumns().GetColumns(0);
  auto peakAfter = [&ring](size_t from)
  {
    for (size_t i = std::max<size_t>(from, 1); i + 1 < ring.size(); ++i)
      if (ring[i].max > 0.59 && ring[i].max >= ring[i - 1].max && ring[i].max >= ring[i + 1].max)
        return int(i);
    return -1;
  };
  const int first = peakAfter(0);
  const int second = peakAfter(size_t(first) + size_t(kRate / kHz / 2.0));
  ASSERT_GT(first, 0);
  ASSERT_GT(second, first);

  harness->Click(XOf(first), 200.f);
  const auto lines = HoverAt(XOf(second), 150.f);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NEAR(ValueAfter(lines[3], "\xCE\x94t "), 1.0 / kHz, 0.01 / kHz) << lines[3];
  EXPECT_NEAR(ValueAfter(lines[4], "1/\xCE\x94t "), kHz, 0.01 * kHz) << lines[4];
  EXPECT_NE(lines[4].find(" Hz"), std::string::npos);

  // Escape clears the reference wherever the pointer is; a click on the reference does too.
  const kit::gfx::IKeyPress escape("", kit::gfx::vk::kEscape);
  EXPECT_TRUE(harness->UI()->OnKeyDown(Where::kZoomX, Where::kRowY, escape));
  EXPECT_FALSE(cursor->GetCursor().ReferenceTime());
  EXPECT_EQ(HoverAt(XOf(second), 150.f).size(), 3u);
  EXPECT_FALSE(harness->UI()->OnKeyDown(XOf(second), 150.f, escape)) << "nothing to clear";
  harness->Click(XOf(first), 200.f);
  ASSERT_TRUE(cursor->GetCursor().ReferenceTime());
  harness->Click(XOf(first) + 2.f, 200.f);
  EXPECT_FALSE(cursor->GetCursor().ReferenceTime());

  // Live again, there is no reference to keep.
  harness->Click(XOf(first), 200.f);
  harness->Click(Where::kFreezeX, Where::kRowY);
  harness->Tick();
  EXPECT_FALSE(cursor->GetCursor().ReferenceTime());
}

TEST_F(ScopeCursorTest, LabelStaysInTheScopeClearOfTheLegendAndLeavesNoTrace)
{
  OpenWith(Trazelle::kEnvelopeMode, 3.0 / 7.0);
  PlayDemo(1.0);
  harness->Click(Where::kFreezeX, Where::kRowY);
  const render::RgbaImage before = Capture();
  auto sameIn = [&before](const render::RgbaImage& image, const IRECT& r)
  {
    for (int y = int(r.T); y < int(r.B); ++y)
      for (int x = int(r.L); x < int(r.R); ++x)
      {
        const auto a = image.At(x, y), b = before.At(x, y);
        if (a.r != b.r || a.g != b.g || a.b != b.b) return false;
      }
    return true;
  };

  // Corners, edges, and on and around the legend.
  const float xs[] = {0.f, 1.f, kLegend.L, kLegend.MW(), kLegend.R + 4.f, 416.f, 826.f, 831.f};
  const float ys[] = {48.f, 50.f, kLegend.T, kLegend.MH(), kLegend.B + 4.f, 200.f, 300.f, 303.f};
  for (float x : xs)
    for (float y : ys)
    {
      EXPECT_EQ(HoverAt(x, y).size(), 3u);
      const IRECT label = cursor->GetShownLabel();
      EXPECT_TRUE(kScope.Contains(label)) << x << "," << y;
      EXPECT_FALSE(label.Intersects(kLegend)) << x << "," << y;
    }
  HoverAt(kLegend.MW(), kLegend.MH());
  const render::RgbaImage hovered = Capture();
  EXPECT_TRUE(sameIn(hovered, kLegend)) << "the legend shows whole";
  EXPECT_FALSE(sameIn(hovered, cursor->GetShownLabel()));

  // A still pointer over the frozen view costs no frame (once the meter has settled); a move
  // draws one.
  harness->Run(5 * render::EditorHarness::kTicksPerSecond);
  const int64_t frames = harness->Stats().frames;
  harness->Run(30);
  EXPECT_EQ(harness->Stats().frames, frames);
  HoverAt(300.f, 200.f);
  EXPECT_EQ(harness->Stats().frames, frames + 1);

  // Leaving the scope hides the read-out and gives back the picture as it was.
  harness->MouseOver(Where::kZoomX, Where::kRowY);
  harness->Tick();
  EXPECT_TRUE(cursor->GetShownLines().empty());
  EXPECT_TRUE(sameIn(Capture(), kScope));
}
