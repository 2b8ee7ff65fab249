#include "controls/Oscilloscope.h"
#include "RecordingGraphics.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <vector>

using kit::gfx::COLOR_BLACK;
using kit::gfx::IColor;
using kit::gfx::IRECT;
using kit::gfx::test::Command;
using kit::gfx::test::Op;
using kit::gfx::test::RecordingGraphics;
using qm::control::ColorSet;
using qm::control::ControlStyle;
using Scope = qm::control::Oscilloscope<2>;

namespace
{

constexpr double kRate = 48000.0;
const IRECT kScopeBounds{0.f, 48.f, 832.f, 304.f}; // the editor's scope; middle at y = 176

ColorSet DistinctColors(int seed)
{
  ColorSet colors;
  for (int i = 0; i < static_cast<int>(colors.size()); ++i)
    colors[i] = IColor(255, (seed + 20 * i) % 256, (seed + 7 * i) % 256, 100);
  return colors;
}

ControlStyle Style(int seed = 0)
{
  ControlStyle style;
  style.colors = DistinctColors(seed);
  return style;
}

// A plug-in at 48 kHz that plays a constant frame through its block function.
class ConstantInput
{
public:
  ConstantInput()
  {
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
  }

  void Play(double left, double right, int frames)
  {
    std::vector<double> l(frames, left), r(frames, right), o0(frames), o1(frames);
    double* in[2] = {l.data(), r.data()};
    double* out[2] = {o0.data(), o1.data()};
    mPlugin.ProcessBlock(in, out, frames);
  }

  qm::Trazelle::SampleBuffer* Feed() { return &mPlugin.OscilloscopeBuffer(); }

private:
  qm::Trazelle::Trazelle mPlugin;
};

std::vector<Command> Strokes(const RecordingGraphics& g)
{
  return g.Of(Op::Stroke);
}

// All points of the path ops, as (x, y) pairs.
std::vector<std::pair<float, float>> Points(const RecordingGraphics& g)
{
  std::vector<std::pair<float, float>> points;
  for (const auto& c : g.commands)
    if (c.op == Op::MoveTo || c.op == Op::LineTo) points.emplace_back(c.args[0], c.args[1]);
  return points;
}

} // namespace

TEST(Oscilloscope, WidthOfWPixelsGivesTwoWColumnsAtHalfPixelSteps)
{
  ConstantInput input;
  const IRECT bounds{10.f, 48.f, 110.f, 304.f};
  Scope scope(bounds, input.Feed(), kRate, 4.0, 2.0, Style());
  EXPECT_EQ(scope.GetColumns().GetColumnCount(), 200u);
  RecordingGraphics g;
  scope.Draw(g);

  // One open four-point outline per neighbouring column pair: move to column i, back to i - 1.
  ASSERT_EQ(g.commands.front().op, Op::Clear);
  ASSERT_EQ(g.Count(Op::MoveTo), 199);
  ASSERT_EQ(g.Count(Op::LineTo), 3 * 199);
  std::set<float> xs;
  for (const auto& [x, y] : Points(g))
    xs.insert(x);
  ASSERT_EQ(xs.size(), 200u);
  float expected = 10.5f;
  for (float x : xs)
  {
    EXPECT_EQ(x, expected);
    expected += 0.5f;
  }
  EXPECT_EQ(*xs.rbegin(), 110.f) << "the last column ends at the right edge";
  const auto moves = g.Of(Op::MoveTo);
  EXPECT_EQ(moves.front().args[0], 11.f);
  EXPECT_EQ(moves.back().args[0], 110.f);
}

TEST(Oscilloscope, SilenceDrawsAFlatLineAtTheVerticalMiddle)
{
  ConstantInput input;
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 0.2, Style());
  scope.SetChannelMode(3);
  scope.SetTriggerEnabled(true);
  RecordingGraphics g;
  for (int frame = 0; frame < 10; ++frame)
  {
    input.Play(0.0, 0.0, 800);
    g.Reset();
    scope.Draw(g);
  }
  ASSERT_EQ(Strokes(g).size(), 2u);
  for (const auto& [x, y] : Points(g))
    ASSERT_EQ(y, 176.f);
}

TEST(Oscilloscope, TracesAreSlot8LeftAndSlot7Right)
{
  ConstantInput input;
  const ControlStyle style = Style();
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 2.0, style);
  scope.SetChannelMode(3);
  RecordingGraphics g;
  scope.Draw(g);
  const auto strokes = Strokes(g);
  ASSERT_EQ(strokes.size(), 2u);
  EXPECT_EQ(strokes[0].pattern.GetFirstColor(), style.colors[8]);
  EXPECT_EQ(strokes[1].pattern.GetFirstColor(), style.colors[7]);
  for (const auto& s : strokes)
  {
    EXPECT_EQ(s.thickness, 1.f);
    EXPECT_EQ(s.strokeOptions.mMiterLimit, 10.f);
    EXPECT_FALSE(s.strokeOptions.mPreserve);
    EXPECT_EQ(s.strokeOptions.mCapOption, kit::gfx::ELineCap::Butt);
    EXPECT_EQ(s.strokeOptions.mJoinOption, kit::gfx::ELineJoin::Miter);
    EXPECT_FALSE(s.hasBlend);
  }
}

TEST(Oscilloscope, ThemeChangeRecoloursBothTraces)
{
  ConstantInput input;
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 2.0, Style(0));
  scope.SetChannelMode(3);
  const ColorSet theme = DistinctColors(99);
  scope.SetColors(theme);
  RecordingGraphics g;
  scope.Draw(g);
  const auto strokes = Strokes(g);
  ASSERT_EQ(strokes.size(), 2u);
  EXPECT_EQ(strokes[0].pattern.GetFirstColor(), theme[8]);
  EXPECT_EQ(strokes[1].pattern.GetFirstColor(), theme[7]);
}

TEST(Oscilloscope, ChannelModeSelectsTheTraces)
{
  ConstantInput input;
  const ControlStyle style = Style();
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 2.0, style);
  const std::pair<int, std::vector<IColor>> cases[] = {
      {1, {style.colors[8]}},
      {2, {style.colors[7]}},
      {3, {style.colors[8], style.colors[7]}},
      {0, {}},
      {4, {}},
  };
  for (const auto& [mode, colours] : cases)
  {
    scope.SetChannelMode(mode);
    RecordingGraphics g;
    scope.Draw(g);
    const auto strokes = Strokes(g);
    ASSERT_EQ(strokes.size(), colours.size()) << "mode " << mode;
    for (size_t i = 0; i < strokes.size(); ++i)
      EXPECT_EQ(strokes[i].pattern.GetFirstColor(), colours[i]) << "mode " << mode;
  }
}

TEST(Oscilloscope, GainZoomsAboutTheMiddle)
{
  ConstantInput input;
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 0.1, Style());
  scope.SetChannelMode(3);
  scope.SetGain(2.0);
  input.Play(0.25, -0.125, 48000);
  RecordingGraphics g;
  scope.Draw(g);
  // Half the height is 128 pixels: 0.25 x 2 is 64 pixels up, -0.125 x 2 is 32 pixels down.
  const auto points = Points(g);
  const size_t perChannel = points.size() / 2;
  EXPECT_EQ(points[perChannel - 1].second, 176.f - 64.f);
  EXPECT_EQ(points.back().second, 176.f + 32.f);
}

TEST(Oscilloscope, NarrowerThanOnePixelStrokesAnEmptyPath)
{
  ConstantInput input;
  Scope scope(IRECT{0.f, 0.f, 0.5f, 100.f}, input.Feed(), kRate, 4.0, 2.0, Style());
  EXPECT_EQ(scope.GetColumns().GetColumnCount(), 1u);
  RecordingGraphics g;
  scope.Draw(g);
  EXPECT_EQ(g.Count(Op::Stroke), 1);
  EXPECT_EQ(g.Count(Op::MoveTo) + g.Count(Op::LineTo), 0);
}

TEST(Oscilloscope, RedrawsEveryFrameWhileLiveAndOnlyWhenMarkedWhileFrozen)
{
  ConstantInput input;
  Scope scope(kScopeBounds, input.Feed(), kRate, 4.0, 2.0, Style());
  scope.SetClean();
  EXPECT_TRUE(scope.IsDirty());
  scope.Hide(true);
  EXPECT_FALSE(scope.IsDirty());
  scope.Hide(false);

  scope.SetFrozen(true);
  scope.SetClean();
  EXPECT_FALSE(scope.IsDirty());
  scope.SetFrozenPosition(0.5);
  EXPECT_TRUE(scope.IsDirty());
  scope.SetClean();
  scope.SetGain(3.0);
  EXPECT_TRUE(scope.IsDirty());
}

TEST(Oscilloscope, DurationShownIsWholeSamplesPerColumn)
{
  ConstantInput input;
  Scope scope(kScopeBounds, input.Feed(), 44100.0, 4.0, 2.0, Style());
  EXPECT_DOUBLE_EQ(scope.GetDuration(), 1664.0 * 53.0 / 44100.0);
  scope.SetSampleRate(kRate);
  EXPECT_DOUBLE_EQ(scope.GetSampleRate(), kRate);
  EXPECT_DOUBLE_EQ(scope.GetDuration(), 1664.0 * 57.0 / kRate);
  scope.SetDuration(0.0);
  EXPECT_DOUBLE_EQ(scope.GetDuration(), 1664.0 / kRate);
}
