#include "controls/SignalMeter.h"
#include "RecordingGraphics.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using kit::gfx::IColor;
using kit::gfx::IRECT;
using kit::gfx::test::Command;
using kit::gfx::test::Op;
using kit::gfx::test::RecordingGraphics;
using qm::control::ControlStyle;
using Meter = qm::control::SignalMeter<2>;

namespace
{

constexpr double kRate = 48000.0;
const IRECT kMeterBounds{56.f, 379.f, 248.f, 405.f}; // the editor's 192 x 26 meter

double Db(double amplitude)
{
  return 20.0 * std::log10(amplitude);
}
double Amplitude(double db)
{
  return std::pow(10.0, db / 20.0);
}

ControlStyle MeterStyle()
{
  ControlStyle style;
  for (int i = 0; i < 13; ++i)
    style.colors[i] = IColor(255, 10 * i, 200 - 10 * i, 50);
  style.labelText.mSize = 18.f;
  style.valueText.mSize = 14.f;
  style.labelGap = 8.f;
  return style;
}

class MeterInput
{
public:
  MeterInput()
  {
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
  }

  void Play(double level, int frames)
  {
    while (frames > 0)
    {
      const int n = std::min(frames, 512);
      std::vector<double> l(n, level), r(n, -level * 0.5), o0(n), o1(n);
      double* in[2] = {l.data(), r.data()};
      double* out[2] = {o0.data(), o1.data()};
      mPlugin.ProcessBlock(in, out, n);
      frames -= n;
    }
  }

  qm::Trazelle::SampleBuffer* Feed() { return &mPlugin.MeterBuffer(); }

private:
  qm::Trazelle::Trazelle mPlugin;
};

// A meter as the editor configures it.
struct EditorMeter
{
  EditorMeter() : meter(kMeterBounds, input.Feed(), kRate, {"L", "R"}, MeterStyle())
  {
    meter.SetBallistics(1100.0, 200.0, -72.0, 10.0, 750.0);
  }

  MeterInput input;
  Meter meter;
};

IRECT RectOf(const Command& c)
{
  return IRECT{c.args[0], c.args[1], c.args[2], c.args[3]};
}

} // namespace

TEST(SignalMeter, RisesAt1100DbPerSecondFromTheBuffer)
{
  EditorMeter m;
  // 1000 frames of full scale: 1000 x 1100 / 48000 dB above the -80 dB start.
  m.input.Play(1.0, 1000);
  m.meter.UpdateLevels();
  EXPECT_NEAR(Db(m.meter.GetChannel(0).level), -80.0 + 1000.0 * 1100.0 / kRate, 1e-9);
  // The right channel carries half the amplitude and rises at the same rate.
  EXPECT_NEAR(Db(m.meter.GetChannel(1).level), -80.0 + 1000.0 * 1100.0 / kRate, 1e-9);

  // 72 dB at 1100 dB/s is about 65 ms; the climb from -80 dB ends after 80 / 1100 s exactly at
  // the input peak, never above it.
  const int total = static_cast<int>(std::ceil(80.0 / 1100.0 * kRate));
  m.input.Play(1.0, total - 1000 - 1);
  m.meter.UpdateLevels();
  EXPECT_LT(m.meter.GetChannel(0).level, 1.0);
  m.input.Play(1.0, 1);
  m.meter.UpdateLevels();
  EXPECT_EQ(m.meter.GetChannel(0).level, 1.0);
  m.input.Play(1.0, 4800);
  m.meter.UpdateLevels();
  EXPECT_LE(m.meter.GetChannel(0).level, 1.0);
  EXPECT_EQ(m.meter.GetChannel(0).peakHold, 1.0);
  EXPECT_EQ(m.meter.GetChannel(1).peakHold, 0.5);
}

TEST(SignalMeter, HoldsThePeakFor750MsThenFallsAt200DbPerSecond)
{
  EditorMeter m;
  m.input.Play(0.5, 9000);
  m.meter.UpdateLevels();
  ASSERT_EQ(m.meter.GetChannel(0).peakHold, 0.5);
  // 750 ms of silence in display ticks: the hold stays. (On a steady input the level wobbles by
  // one release step, so the hold may have started counting one sample before the silence.)
  for (int tick = 0; tick < 44; ++tick)
  {
    m.input.Play(0.0, 800);
    m.meter.UpdateLevels();
  }
  m.input.Play(0.0, 799);
  m.meter.UpdateLevels();
  EXPECT_EQ(m.meter.GetChannel(0).peakHold, 0.5);
  // 100 ms after the 750 ms it has fallen by 20 dB.
  m.input.Play(0.0, 1 + 4800);
  m.meter.UpdateLevels();
  const double step = 200.0 / kRate;
  EXPECT_NEAR(Db(0.5) - Db(m.meter.GetChannel(0).peakHold), 20.0, 1.5 * step);
}

TEST(SignalMeter, ReadOutShowsTheTrueValueAboveTheCeiling)
{
  EditorMeter m;
  m.input.Play(Amplitude(12.3), 12000);
  RecordingGraphics g;
  m.meter.Draw(g);
  const auto texts = g.Of(Op::Text);
  ASSERT_FALSE(texts.empty());
  bool found = false;
  for (const auto& t : texts)
    found = found || t.text == "12.3";
  EXPECT_TRUE(found);
  EXPECT_EQ(m.meter.GetReadout(0).peakFraction, 1.0);
}

TEST(SignalMeter, FreshMeterReadsMinusInf)
{
  EditorMeter m;
  RecordingGraphics g;
  m.meter.Draw(g);
  int minusInf = 0;
  for (const auto& t : g.Of(Op::Text))
    minusInf += t.text == "-Inf";
  EXPECT_EQ(minusInf, 2);
}

TEST(SignalMeter, SampleRateChangeTakesEffectAtTheNextUpdate)
{
  EditorMeter m;
  EXPECT_EQ(m.meter.GetBallistics().GetHoldSamples(), 36000u);
  m.meter.SetSampleRate(96000.0);
  m.meter.UpdateLevels();
  EXPECT_EQ(m.meter.GetBallistics().GetSampleRate(), 96000.0);
  EXPECT_EQ(m.meter.GetBallistics().GetHoldSamples(), 48000u) << "500 ms until reconfigured";
  m.meter.SetSampleRate(44100.0);
  m.meter.SetBallistics(1100.0, 200.0, -72.0, 10.0, 750.0);
  EXPECT_EQ(m.meter.GetBallistics().GetHoldSamples(), static_cast<uint64_t>(44100 * 0.75));
}

TEST(SignalMeterLayout, BarsLabelsAndReadOutsAroundTheBounds)
{
  EditorMeter m;
  RecordingGraphics g; // glyphs are half their size wide, lines their size high
  m.meter.SetGraphics(&g);
  m.meter.OnInit();
  // Two bars of half the height each, one pixel in from their halves.
  EXPECT_EQ(m.meter.GetBarRect(0), IRECT(56.f, 380.f, 248.f, 391.f));
  EXPECT_EQ(m.meter.GetBarRect(1), IRECT(56.f, 393.f, 248.f, 404.f));
  // "L" is 9 pixels wide at size 18; the label ends the label gap before the bar.
  EXPECT_EQ(m.meter.GetChannelLabelRect(0), IRECT(39.f, 380.f, 48.f, 391.f));
  // "-99.9" at size 14 is 35 x 14, centred on the origin: read-outs sit 2 pixels off the bars.
  EXPECT_EQ(m.meter.GetReadoutRect(0), IRECT(56.f - 17.5f, 364.f, 56.f + 17.5f, 378.f));
  EXPECT_EQ(m.meter.GetReadoutRect(1), IRECT(56.f - 17.5f, 406.f, 56.f + 17.5f, 420.f));
  EXPECT_EQ(m.meter.GetRECT(), IRECT(39.f, 364.f, 248.f + 17.5f, 420.f));
}

TEST(SignalMeterDrawing, BarMarkerAndZeroDbMarkSitOnTheScale)
{
  EditorMeter m;
  RecordingGraphics g;
  m.meter.SetGraphics(&g);
  m.meter.OnInit();
  m.input.Play(Amplitude(-31.0), 12000); // 41 dB above the -72 dB floor: half of 82 dB
  g.Reset();
  m.meter.Draw(g);
  const ControlStyle style = MeterStyle();
  const auto fills = g.Of(Op::Fill);
  const auto strokes = g.Of(Op::Stroke);
  ASSERT_EQ(fills.size(), 4u);
  ASSERT_EQ(strokes.size(), 4u);
  EXPECT_EQ(fills[0].pattern.GetFirstColor(), style.colors[4]);
  EXPECT_EQ(fills[1].pattern.GetFirstColor(), style.colors[8]);
  EXPECT_EQ(strokes[0].pattern.GetFirstColor(), style.colors[8]);
  EXPECT_EQ(strokes[1].pattern.GetFirstColor(), style.colors[2]);

  std::vector<std::pair<float, float>> lines; // x of each move-to, in order
  for (const auto& c : g.commands)
    if (c.op == Op::MoveTo) lines.emplace_back(c.args[0], c.args[1]);
  // Fill paths start at the rectangle's top-left: background, then the bar up to half way.
  EXPECT_EQ(lines[0], std::make_pair(56.f, 380.f));
  EXPECT_EQ(lines[1], std::make_pair(56.f, 380.f));
  // Peak marker at half the length, 0 dB mark at 72 / 82 of it.
  EXPECT_NEAR(lines[2].first, 56.f + 96.f, 1e-3);
  EXPECT_NEAR(lines[3].first, 56.f + 192.f * 72.f / 82.f, 1e-3);
  const auto texts = g.Of(Op::Text);
  ASSERT_EQ(texts.size(), 4u); // label and read-out per channel
  EXPECT_EQ(texts[0].text, "L");
  EXPECT_EQ(texts[1].text, "-31.0");
  // The read-out rides with the marker: its box moves right by the peak's share of the length.
  EXPECT_NEAR(RectOf(texts[1]).MW(), 56.f + 96.f, 1e-3);
}
