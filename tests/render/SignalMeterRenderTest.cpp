// The level meter drawn through the NanoVG back end on the headless platform: the bar, the
// peak-hold marker and the 0 dB mark probed where the scale puts them.

#include "RenderFixture.h"
#include "controls/SignalMeter.h"
#include "plugin/Trazelle.h"

#include <cmath>
#include <vector>

namespace trazelle::test
{

namespace
{

constexpr double kRate = 48000.0;
constexpr IColor kWhite = COLOR_WHITE;
// The "blue" theme's meter colours.
constexpr IColor kZeroDbMark(255, 84, 110, 122);     // slot 2
constexpr IColor kBarBackground(255, 179, 228, 246); // slot 4
constexpr IColor kBar(255, 11, 85, 139);             // slot 8
// The editor's meter: 192 x 26, bars (56, 380, 248, 391) and (56, 393, 248, 404).
const IRECT kBounds(56.f, 379.f, 248.f, 405.f);

qm::control::ControlStyle MeterStyle()
{
  qm::control::ControlStyle style;
  style.colors[2] = kZeroDbMark;
  style.colors[4] = kBarBackground;
  style.colors[8] = kBar;
  style.labelGap = 8.f;
  return style;
}

// The amplitude whose level sits `fraction` of the way along the -72 to +10 dB scale.
double AmplitudeAt(double fraction)
{
  return std::pow(10.0, (-72.0 + 82.0 * fraction) / 20.0);
}

class MeterRender : public RenderTest
{
public:
  void SetUp() override
  {
    Open(300, 430, 1.f);
    mPlugin.SetSampleRate(kRate);
    mPlugin.OnReset();
    mMeter = std::make_unique<qm::control::SignalMeter<2>>(
        kBounds, &mPlugin.MeterBuffer(), kRate, std::array<std::string, 2>{"", ""}, MeterStyle());
    mMeter->SetGraphics(&G());
    mMeter->OnInit();
    mMeter->SetBallistics(1100.0, 200.0, -72.0, 10.0, 750.0);
  }

  // Plays frames of a constant level through the block function and draws one meter frame.
  void PlayAndDraw(double left, double right, double seconds)
  {
    const int n = static_cast<int>(seconds * kRate);
    std::vector<double> l(n, left), r(n, right), o0(n), o1(n);
    double* in[2] = {l.data(), r.data()};
    double* out[2] = {o0.data(), o1.data()};
    mPlugin.ProcessBlock(in, out, n);
    Frame(
        [&](GraphicsContext& g)
        {
          g.FillRect(kWhite, g.GetBounds());
          mMeter->Draw(g);
        });
  }

  std::unique_ptr<qm::control::SignalMeter<2>> mMeter;

private:
  qm::Trazelle::Trazelle mPlugin;
};

} // namespace

TEST_F(MeterRender, BarsFillToTheirLevelOverTheBackground)
{
  // Left at half the scale (x = 152), right at a quarter (x = 104), held long enough to settle.
  PlayAndDraw(AmplitudeAt(0.5), AmplitudeAt(0.25), 0.2);
  EXPECT_EQ(Px(60, 385), kBar);
  EXPECT_EQ(Px(148, 385), kBar);
  EXPECT_EQ(Px(160, 385), kBarBackground);
  EXPECT_EQ(Px(60, 398), kBar);
  EXPECT_EQ(Px(100, 398), kBar);
  EXPECT_EQ(Px(110, 398), kBarBackground);
  // One-pixel rows between and around the bars stay clear.
  EXPECT_EQ(Px(100, 379), kWhite);
  EXPECT_EQ(Px(100, 392), kWhite);
  EXPECT_EQ(Px(100, 404), kWhite);
  EXPECT_EQ(Px(55, 385), kWhite);
  EXPECT_EQ(Px(248, 385), kWhite);
}

TEST_F(MeterRender, PeakMarkerStaysWhereTheBarFell)
{
  // The peak at 96.5 / 192 of the length puts the marker on the centre of column 152; then
  // 300 ms of silence drop the bar below the floor while the hold (750 ms) keeps the marker.
  PlayAndDraw(AmplitudeAt(96.5 / 192.0), 0.0, 0.2);
  PlayAndDraw(0.0, 0.0, 0.3);
  EXPECT_EQ(Px(60, 385), kBarBackground) << "the bar has fallen";
  EXPECT_EQ(Px(152, 385), kBar) << "the marker holds the peak";
  EXPECT_EQ(Px(150, 385), kBarBackground);
  EXPECT_EQ(Px(154, 385), kBarBackground);
}

TEST_F(MeterRender, ZeroDbMarkSitsAt72Of82OfTheLength)
{
  // x = 56 + 192 x 72 / 82 = 224.59: mostly column 224.
  PlayAndDraw(0.0, 0.0, 0.01);
  const IColor mark = Px(224, 385);
  EXPECT_TRUE(Near(mark, kZeroDbMark, 24)) << mark;
  EXPECT_EQ(Px(222, 385), kBarBackground);
  EXPECT_EQ(Px(227, 385), kBarBackground);
  EXPECT_TRUE(Near(Px(224, 398), kZeroDbMark, 24)) << "on both bars";
}

TEST_F(MeterRender, PeakAboveTheCeilingClampsBarAndMarkerAtTheEnd)
{
  PlayAndDraw(std::pow(10.0, 12.3 / 20.0), 0.0, 0.2);
  EXPECT_EQ(Px(240, 385), kBar);
  EXPECT_TRUE(Near(Px(247, 385), kBar, 2)) << Px(247, 385); // under the marker's edge
  EXPECT_EQ(Px(250, 385), kWhite) << "nothing beyond the bar's right end";
}

} // namespace trazelle::test
