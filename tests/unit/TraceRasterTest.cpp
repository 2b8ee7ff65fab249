// The trace picture's two row loops: processors with AVX2 cover steep lines eight rows at a time,
// all others four at a time. Only one of them runs in the rest of the suite on any machine, so
// they are compared here on a picture made of steep lines. The picture drawn in two halves, one
// on the helper thread, must be the very same as drawn whole.

#include "controls/TraceRaster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{

using qm::control::TraceRaster;

// A loud tone a little off the column rate, as in waveform mode: every line through the maxima
// or minima runs steeply across much of the height, at every slope.
std::vector<uint8_t> Picture(bool wide, float scale, bool helped = false)
{
  constexpr int kColumns = 800; // wide enough to be drawn in parts with a helper
  constexpr float kHeight = 200.f;
  std::vector<float> x(kColumns), top(kColumns), bottom(kColumns);
  for (int i = 0; i < kColumns; ++i)
  {
    const float a = std::sin(0.93f * float(i)), b = std::sin(0.93f * float(i) + 0.4f);
    x[size_t(i)] = 0.5f * float(i);
    top[size_t(i)] = 0.5f * kHeight * (1.f - std::max(a, b) * 0.95f);
    bottom[size_t(i)] = 0.5f * kHeight * (1.f - std::min(a, b) * 0.95f);
  }
  TraceRaster raster;
  raster.SetWideRows(wide);
  raster.SetHelped(helped);
  EXPECT_EQ(raster.WideRows(), wide);
  const int w = int(std::ceil(0.5f * kColumns * scale)), h = int(std::ceil(kHeight * scale));
  raster.Begin(w, h, scale);
  raster.AddChannel(x.data(), top.data(), bottom.data(), kColumns, {255, 0, 0, 255});
  raster.End();
  return {raster.Coverage(0), raster.Coverage(0) + size_t(w) * size_t(h)};
}

TEST(TraceRaster, EightRowAndFourRowLoopsDrawTheSamePicture)
{
  if (!TraceRaster{}.WideRows()) GTEST_SKIP() << "no AVX2 here: only the four-row loop runs";
  for (const float scale : {1.f, 1.5f})
  {
    const std::vector<uint8_t> wide = Picture(true, scale), narrow = Picture(false, scale);
    ASSERT_EQ(wide.size(), narrow.size());
    int off = 0, covered = 0;
    for (size_t i = 0; i < wide.size(); ++i)
    {
      off += std::abs(int(wide[i]) - int(narrow[i])) > 1;
      covered += narrow[i] > 0;
    }
    EXPECT_GT(covered, int(wide.size() / 4)) << "the picture should be mostly lines";
    EXPECT_EQ(off, 0) << "scale " << scale;
  }
}

TEST(TraceRaster, TheHelperDrawsTheSamePicture)
{
  if (!qm::control::HelperThread::Available()) GTEST_SKIP() << "one core: there is no helper";
  for (const bool wide : {false, TraceRaster{}.WideRows()})
    for (const float scale : {1.f, 1.5f, 2.f})
      EXPECT_EQ(Picture(wide, scale, true), Picture(wide, scale, false)) << "scale " << scale;
}

} // namespace
