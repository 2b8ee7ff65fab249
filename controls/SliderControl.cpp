#include "controls/SliderControl.h"

#include "graphics/GraphicsContext.h"

#include <algorithm>

namespace qm::control
{

using namespace kit::gfx;

template <int MAXNC>
SliderControl<MAXNC>::SliderControl(const IRECT& bounds, IActionFunction action,
                                    const ControlStyle& style, const std::string& label)
    : ControlBase(bounds, std::move(action), style, label)
{
  mCornerRadius = bounds.H() * 0.5f;
}

template <int MAXNC>
SliderControl<MAXNC>::~SliderControl() = default;

template <int MAXNC>
void SliderControl<MAXNC>::SetValue(double value, int valIdx)
{
  IControl::SetValue(value, valIdx);
  const IRECT& b = GetRECT();
  const float w = mHandle.W();
  mHandle.L = b.L + (b.W() - w) * static_cast<float>(value);
  mHandle.R = mHandle.L + w;
  mHandle.T = b.T;
  mHandle.B = b.B;
}

template <int MAXNC>
void SliderControl<MAXNC>::OnMouseDown(float x, float y, const IMouseMod&)
{
  mPressed = true;
  const IRECT& b = GetRECT();
  const float w = mHandle.W();
  if (mHandle.Empty() || !mHandle.Contains(x, y))
  {
    const float lo = b.L + w * 0.5f;
    const float centre = std::clamp(x, lo, std::max(lo, b.R - w * 0.5f));
    const float travel = b.W() - w;
    // A handle as wide as the track has nowhere to go: it stays at the left end.
    const double value = travel > 0.f ? std::clamp((centre - lo) / travel, 0.f, 1.f) : 0.0;
    SetValue(value);
    SetDirty(true);
  }
  mLeftAnchor = x + b.L - mHandle.L;
  mRightAnchor = b.R - (mHandle.R - x);
}

template <int MAXNC>
void SliderControl<MAXNC>::OnMouseDrag(float x, float, float dX, float, const IMouseMod&)
{
  const IRECT& b = GetRECT();
  if (dX <= 0.f && (mHandle.L <= b.L || x >= mRightAnchor)) return;
  if (dX > 0.f && (mHandle.R >= b.R || x <= mLeftAnchor)) return;

  const float travel = b.W() - mHandle.W();
  if (travel <= 0.f) return;
  SetValue(std::clamp((x - mLeftAnchor) / travel, 0.f, 1.f));
  SetDirty(true);
}

template <int MAXNC>
void SliderControl<MAXNC>::Draw(GraphicsContext& g)
{
  const IBlend* blend = &GetBlend();
  g.DrawRoundRect(mStyle.Color(3), GetRECT(), mCornerRadius, nullptr, 1.f);

  g.PathClear();
  g.PathRoundRect(mHandle, mCornerRadius);
  if (!IsDisabled())
  {
    IColor fill = mStyle.Color(6);
    if (mPressed || GetMouseIsOver()) fill.A = 204;
    IFillOptions options;
    options.mPreserve = true;
    g.PathFill(IPattern(fill), options, blend);
  }
  g.PathStroke(IPattern(mStyle.Color(3)), mStyle.frameThickness, IStrokeOptions(), blend);
}

template <int MAXNC>
void SliderControl<MAXNC>::OnStyleChanged()
{
  mCornerRadius = GetRECT().H() * 0.5f;
}

template class SliderControl<1>;

} // namespace qm::control
