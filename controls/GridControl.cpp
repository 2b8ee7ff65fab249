#include "controls/GridControl.h"

#include "graphics/GraphicsContext.h"

#include <cmath>
#include <cstdio>

namespace qm::control
{

using namespace kit::gfx;

namespace
{
/** More lines than this in one direction are treated as a misconfigured grid and not drawn. */
constexpr double kMaxLines = 65536.0;
/** Below this amplitude the top of a decibel grid is taken as -120 dB. */
constexpr double kMinAmplitude = 1e-6;
constexpr double kSilenceDb = -120.0;
} // namespace

GridControl::GridControl(const IRECT& bounds, const ControlStyle& style, const std::string& label)
    : ControlBase(bounds, nullptr, style, label), mXMinSpacing(3.f * style.valueText.mSize),
      mYMinSpacing(style.valueText.mSize)
{
}

GridControl::~GridControl() = default;

void GridControl::Draw(GraphicsContext& g)
{
  if (mDecibel)
  {
    if (mHorizontal) DrawDecibel(g, false);
    if (mVertical) DrawDecibel(g, true);
  }
  else
  {
    if (mVertical) DrawLinear(g, true);
    if (mHorizontal) DrawLinear(g, false);
  }
}

std::string GridControl::FormatLabel(double value) const
{
  char text[64];
  const int n = std::snprintf(text, sizeof(text), "%.*f", mPrecision, value);
  return n > 0 ? std::string(text) : std::string();
}

// Vertical lines mark x values across the width, horizontal lines y values down the height.
void GridControl::DrawLinear(GraphicsContext& g, bool vertical)
{
  const IRECT& b = GetRECT();
  const float extent = vertical ? b.W() : b.H();
  const float origin = vertical ? b.L : b.T;
  const double minimum = vertical ? mXMin : mYMin;
  const double span = (vertical ? mXMax : mYMax) - minimum;
  const double step = vertical ? mXStep : mYStep;
  const float spacing = vertical ? mXMinSpacing : mYMinSpacing;

  // Thin the lines by whole multiples of the step until they are at least `spacing` apart.
  float p = static_cast<float>(step * extent / span);
  const float ratio = spacing / p;
  const float factor = ratio < 0.f ? std::floor(ratio) : std::ceil(ratio);
  p *= factor;
  const double s = factor * step;
  if (!(p > 0.f) || !std::isfinite(p) || !(extent > 0.f) || extent / p > kMaxLines) return;

  const double first = std::ceil(minimum / s) * s;
  const float p0 = static_cast<float>((first - minimum) * extent / span + origin);
  const IColor& color = mStyle.Color(1);
  for (int k = 0; static_cast<float>(k) * p < extent; ++k)
  {
    const float pos = p0 + static_cast<float>(k) * p;
    const float cellEnd = p0 + static_cast<float>(k + 1) * p;
    if (vertical)
      g.DrawLine(color, pos, b.T, pos, b.B, nullptr, 1.f);
    else
      g.DrawLine(color, b.L, pos, b.R, pos, nullptr, 1.f);

    if (!mStyle.showValue) continue;
    const std::string label = FormatLabel(first + k * s);
    if (label.empty()) continue;
    const IRECT cell = vertical ? IRECT(pos, b.T, cellEnd, b.B) : IRECT(b.L, pos, b.R, cellEnd);
    g.DrawText(mStyle.valueText, label.c_str(), cell, nullptr);
  }
}

void GridControl::DrawDecibel(GraphicsContext& g, bool vertical)
{
  const IRECT& b = GetRECT();
  const float extent = vertical ? b.W() : b.H();
  const double maximum = vertical ? mXMax : mYMax;
  const double d = -std::fabs(vertical ? mXStep : mYStep);
  const float spacing = vertical ? mXMinSpacing : mYMinSpacing;

  const double top = maximum >= kMinAmplitude ? 20.0 * std::log10(maximum) : kSilenceDb;
  if (!(d < 0.0) || !std::isfinite(top) || (top - kFloorDb) / -d > kMaxLines) return;

  // Levels are placed by amplitude relative to the top, from the chosen edge inward.
  const auto position = [&](double level)
  {
    const float a = static_cast<float>(std::pow(10.0, (level - top) * 0.05));
    const float inset = extent * (1.f - a);
    if (vertical) return mMirrored == 0 ? b.L + inset : b.R - inset;
    return mMirrored == 0 ? b.T + inset : b.B - inset;
  };

  const float h = mStyle.valueText.mSize;
  float o = -h * 0.5f;
  if (mStyle.valueText.mVAlign == EVAlign::Top)
    o = -h;
  else if (mStyle.valueText.mVAlign == EVAlign::Bottom)
    o = 0.f;

  const IColor& color = mStyle.Color(1);
  double level = std::ceil(top / d) * d; // the first multiple of the step at or below the top
  while (level > kFloorDb)
  {
    const float pos = position(level);
    if (vertical)
      g.DrawLine(color, pos, b.T, pos, b.B, nullptr, 1.f);
    else
      g.DrawLine(color, b.L, pos, b.R, pos, nullptr, 1.f);

    if (mStyle.showValue)
    {
      const std::string label = FormatLabel(level);
      const IRECT rect = vertical ? IRECT(pos - 20.f, b.T, pos + 20.f, b.B)
                                  : IRECT(b.L, pos + o, b.R, pos + o + h);
      if (!label.empty()) g.DrawText(mStyle.valueText, label.c_str(), rect, nullptr);
    }

    do
      level += d;
    while (level > kFloorDb && std::fabs(position(level) - pos) < spacing);
  }
}

} // namespace qm::control
