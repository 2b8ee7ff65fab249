// The oscilloscope drawn through the NanoVG back end on the headless platform, probed pixel by
// pixel: where its traces land and in which colours.

#include "RenderFixture.h"
#include "controls/Oscilloscope.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace trazelle::test
{

namespace
{

constexpr double kRate = 48000.0;
constexpr IColor kWhite = COLOR_WHITE;
// The "blue" theme's trace colours: slot 8 left, slot 7 right.
constexpr IColor kLeftTrace(255, 11, 85, 139);
constexpr IColor kRightTrace(255, 56, 178, 230);
// 129 pixels high: the vertical middle, y = 64.5, is a pixel centre (row 64).
const IRECT kBounds(0.f, 0.f, 200.f, 129.f);

qm::control::ControlStyle ScopeStyle()
{
  qm::control::ControlStyle style;
  style.colors[7] = kRightTrace;
  style.colors[8] = kLeftTrace;
  return style;
}

class ScopeRender : public RenderTest
{
public:
  void SetUp() override
  {
    Open(200, 160, 1.f);
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
  }

  // Plays `seconds` of (left(t), right(t)) through the plug-in's block function.
  template <typename F>
  void Play(double seconds, F signal)
  {
    const int n = static_cast<int>(seconds * kRate);
    std::vector<double> l(n), r(n), o0(n), o1(n);
    for (int i = 0; i < n; ++i)
      signal(static_cast<double>(i) / kRate, l[i], r[i]);
    double* in[2] = {l.data(), r.data()};
    double* out[2] = {o0.data(), o1.data()};
    mPlugin.ProcessBlock(in, out, n);
  }

  void DrawScope(qm::control::Oscilloscope<2>& scope)
  {
    Frame(
        [&](GraphicsContext& g)
        {
          g.FillRect(kWhite, g.GetBounds());
          scope.Draw(g);
        });
  }

  qm::Trazelle::SampleBuffer* Feed() { return &mPlugin.OscilloscopeBuffer(); }

  // Row of the strongest trace colour in column x between rows y0 and y1.
  int DarkestRow(int x, int y0, int y1) const
  {
    int best = y0, bestSum = 1 << 30;
    for (int y = y0; y <= y1; ++y)
    {
      const IColor c = Px(x, y);
      if (c.R + c.G + c.B < bestSum)
      {
        bestSum = c.R + c.G + c.B;
        best = y;
      }
    }
    return best;
  }

private:
  qm::Trazelle::Trazelle mPlugin;
};

} // namespace

TEST_F(ScopeRender, SilenceIsAFlatLineAtTheVerticalMiddle)
{
  qm::control::Oscilloscope<2> scope(kBounds, Feed(), kRate, 4.0, 0.1, ScopeStyle());
  scope.SetChannelMode(1);
  Play(0.2, [](double, double& l, double& r) { l = r = 0.0; });
  DrawScope(scope);
  for (int x : {2, 50, 100, 150, 197})
  {
    EXPECT_EQ(Px(x, 64), kLeftTrace) << x;
    EXPECT_EQ(Px(x, 61), kWhite) << x;
    EXPECT_EQ(Px(x, 67), kWhite) << x;
  }
}

TEST_F(ScopeRender, LeftTraceIsSlot8AndRightTraceSlot7)
{
  qm::control::Oscilloscope<2> scope(kBounds, Feed(), kRate, 4.0, 0.1, ScopeStyle());
  scope.SetChannelMode(3);
  // 32 pixels above and below the middle: rows 32 and 96.
  const double v = 32.0 / 64.5;
  Play(0.2,
       [=](double, double& l, double& r)
       {
         l = v;
         r = -v;
       });
  DrawScope(scope);
  for (int x : {10, 100, 190})
  {
    EXPECT_TRUE(Near(Px(x, 32), kLeftTrace, 0)) << x << ": " << Px(x, 32);
    EXPECT_TRUE(Near(Px(x, 96), kRightTrace, 0)) << x << ": " << Px(x, 96);
    EXPECT_EQ(Px(x, 64), kWhite) << x;
  }

  // Left only, then right only.
  scope.SetChannelMode(1);
  DrawScope(scope);
  EXPECT_TRUE(Near(Px(100, 32), kLeftTrace, 0));
  EXPECT_EQ(Px(100, 96), kWhite);
  scope.SetChannelMode(2);
  DrawScope(scope);
  EXPECT_EQ(Px(100, 32), kWhite);
  EXPECT_TRUE(Near(Px(100, 96), kRightTrace, 0));
}

TEST_F(ScopeRender, RightTraceIsDrawnOverTheLeft)
{
  qm::control::Oscilloscope<2> scope(kBounds, Feed(), kRate, 4.0, 0.1, ScopeStyle());
  scope.SetChannelMode(3);
  Play(0.2, [](double, double& l, double& r) { l = r = 0.0; });
  DrawScope(scope);
  EXPECT_TRUE(Near(Px(100, 64), kRightTrace, 0)) << Px(100, 64);
}

TEST_F(ScopeRender, ThemeChangeRecoloursTheTraces)
{
  qm::control::Oscilloscope<2> scope(kBounds, Feed(), kRate, 4.0, 0.1, ScopeStyle());
  scope.SetChannelMode(1);
  Play(0.2, [](double, double& l, double& r) { l = r = 0.0; });
  qm::control::ColorSet orange = ScopeStyle().colors;
  orange[8] = IColor(255, 233, 76, 0);
  scope.SetColors(orange);
  DrawScope(scope);
  EXPECT_TRUE(Near(Px(100, 64), orange[8], 0)) << Px(100, 64);
}

TEST_F(ScopeRender, GainZoomsTheTraceAboutTheMiddle)
{
  qm::control::Oscilloscope<2> scope(kBounds, Feed(), kRate, 4.0, 0.1, ScopeStyle());
  scope.SetChannelMode(1);
  Play(0.2, [](double, double& l, double& r) { l = r = 16.0 / 64.5; });
  DrawScope(scope);
  EXPECT_EQ(DarkestRow(100, 0, 128), 48);
  scope.SetGain(2.0);
  DrawScope(scope);
  EXPECT_EQ(DarkestRow(100, 0, 128), 32);
}

TEST_F(ScopeRender, EnvelopeOfAToneIsASolidBand)
{
  // 1 kHz over 2 s: every column holds whole periods, so the outlines close into a band from
  // -0.5 to +0.5 (rows 32 to 96).
  qm::control::Oscilloscope<2> scope(kBounds, Feed(), kRate, 4.0, 2.0, ScopeStyle());
  scope.SetChannelMode(1);
  Play(3.0, [](double t, double& l, double& r)
       { l = r = 0.5 * std::sin(2.0 * std::numbers::pi * 1000.0 * t); });
  DrawScope(scope);
  for (int y : {36, 50, 64, 80, 92})
    EXPECT_TRUE(Near(Px(100, y), kLeftTrace, 2)) << y << ": " << Px(100, y);
  EXPECT_EQ(Px(100, 28), kWhite);
  EXPECT_EQ(Px(100, 100), kWhite);
}

} // namespace trazelle::test
