#include "controls/Oscilloscope.h"
#include "RecordingGraphics.h"
#include "plugin/Trazelle.h"

#include <gtest/gtest.h>
#include <vector>

using kit::gfx::IColor;
using kit::gfx::IRECT;
using kit::gfx::test::Op;
using kit::gfx::test::RecordingGraphics;
using qm::control::ControlStyle;
using Scope = qm::control::Oscilloscope<2>;

namespace
{

constexpr double kRate = 48000.0;
const IRECT kScopeBounds{0.f, 48.f, 832.f, 304.f}; // the editor's scope

ControlStyle Style()
{
  ControlStyle style;
  for (int i = 0; i < static_cast<int>(style.colors.size()); ++i)
    style.colors[i] = IColor(255, (20 * i) % 256, (7 * i) % 256, 100);
  return style;
}

// A plug-in at 48 kHz feeding the scope's buffer.
struct Input
{
  Input()
  {
    plugin.SetSampleRate(kRate);
    plugin.OnReset();
  }
  qm::Trazelle::SampleBuffer* Feed() { return &plugin.OscilloscopeBuffer(); }
  qm::Trazelle::Trazelle plugin;
};

} // namespace

TEST(Oscilloscope, ChannelModeSelectsTheTraces)
{
  Input input;
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
    const auto strokes = g.Of(Op::Stroke);
    ASSERT_EQ(strokes.size(), colours.size()) << "mode " << mode;
    for (size_t i = 0; i < strokes.size(); ++i)
      EXPECT_EQ(strokes[i].pattern.GetFirstColor(), colours[i]) << "mode " << mode;
  }
}

TEST(Oscilloscope, RedrawsEveryFrameWhileLiveAndOnlyWhenMarkedWhileFrozen)
{
  Input input;
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
