#include "controls/PositionStrip.h"

#include "controls/OverColor.h"
#include "controls/OverMarks.h"
#include "graphics/GraphicsContext.h"

#include <cmath>

namespace qm::control
{

PositionStrip::PositionStrip(const IRECT& bounds, IActionFunction action, const ControlStyle& style)
    : SliderControl<1>(bounds, std::move(action), style, "")
{
}

void PositionStrip::SetMarks(const OverMarks* marks, MarkFunction onMark)
{
  mMarks = marks;
  mOnMark = std::move(onMark);
  SetDirty(false);
}

const std::vector<float>& PositionStrip::CollectTicks()
{
  mTicks.clear();
  if (!mMarks || mMarks->HistorySize() <= 0) return mTicks;
  const IRECT& b = GetRECT();
  const double size = static_cast<double>(mMarks->HistorySize());
  for (std::size_t k = 0; k < mMarks->Count(); ++k)
  {
    const double at = (static_cast<double>(mMarks->IndexOf(k)) + 0.5) / size;
    // On a pixel's centre, so a one-pixel line stays one pixel wide.
    const float x = std::floor(b.L + static_cast<float>(at * static_cast<double>(b.W()))) + 0.5f;
    if (mTicks.empty() || mTicks.back() != x) mTicks.push_back(x);
  }
  return mTicks;
}

bool PositionStrip::IsDirty()
{
  if (IsHidden()) return false;
  return SliderControl<1>::IsDirty() || CollectTicks() != mDrawnTicks;
}

void PositionStrip::Draw(GraphicsContext& g)
{
  SliderControl<1>::Draw(g);
  mDrawnTicks = CollectTicks();
  // Over the handle, so that the overs in the shown window stay visible.
  const IRECT& b = GetRECT();
  for (float x : mDrawnTicks)
    g.DrawLine(kOverColor, x, b.T + 2.f, x, b.B - 2.f, nullptr, 1.f);
}

void PositionStrip::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
  if (mMarks && mOnMark)
  {
    const IRECT& b = GetRECT();
    const double size = static_cast<double>(mMarks->HistorySize());
    std::size_t nearest = mMarks->Count();
    float distance = kMarkReach;
    for (std::size_t k = 0; k < mMarks->Count(); ++k)
    {
      const double at = (static_cast<double>(mMarks->IndexOf(k)) + 0.5) / size;
      const float d = std::fabs(b.L + static_cast<float>(at * static_cast<double>(b.W())) - x);
      if (d <= distance)
      {
        distance = d;
        nearest = k;
      }
    }
    if (nearest < mMarks->Count())
    {
      mOnMark(mMarks->IndexOf(nearest), mMarks->HistorySize());
      return;
    }
  }
  SliderControl<1>::OnMouseDblClick(x, y, mod);
}

} // namespace qm::control
