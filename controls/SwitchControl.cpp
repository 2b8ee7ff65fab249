#include "controls/SwitchControl.h"

#include "graphics/GraphicsContext.h"

#include <algorithm>
#include <cmath>

namespace qm::control
{

using namespace kit::gfx;

SwitchControl::SwitchControl(const IRECT& bounds, int numStates, IActionFunction action,
                             const std::string& label, const ControlStyle& style)
    : ControlBase(bounds, std::move(action), style, label), mNumStates(std::max(1, numStates))
{
  mWidgetBounds = CentredSquare(bounds);
  const float top = mWidgetBounds.B + 4.f;
  mValueRect = IRECT(bounds.L, top, bounds.R, top + mStyle.valueText.mSize);
  GrowBoundsToContents();
  BuildGradients();
  SetDblAsSingleClick(true);
}

SwitchControl::~SwitchControl() = default;

void SwitchControl::OnMouseDown(float, float, const IMouseMod&)
{
  double value = 0.0;
  if (mNumStates == 2)
    value = GetValue() > 0.5 ? 0.0 : 1.0;
  else if (mNumStates > 2)
  {
    // Step by state index rather than by adding 1/(n-1): repeated addition drifts, so a state
    // could land just above 1 and be skipped, or just below 1 and never read as "on".
    const int last = mNumStates - 1;
    const long current = std::lround(std::clamp(GetValue(), 0.0, 1.0) * last);
    value = current >= last ? 0.0 : static_cast<double>(current + 1) / last;
  }
  SetValue(value);
  mPressed = true;
  SetDirty(true);
}

void SwitchControl::OnInit()
{
  if (GraphicsContext* g = GetUI()) PlaceLabelAndValueBelow(*g);
}

void SwitchControl::Draw(GraphicsContext& g)
{
  DrawDisc(g);
  DrawLabel(g);
  DrawValue(g);
}

void SwitchControl::DrawDisc(GraphicsContext& g)
{
  const IBlend* blend = &GetBlend();
  IFillOptions fill;
  fill.mPreserve = true;
  g.PathClear();
  g.PathCircle(mWidgetBounds.MW(), mWidgetBounds.MH(), mWidgetBounds.W() * 0.5f);
  FillDisc(g, fill, blend);
  g.PathStroke(IPattern(mStyle.Color(1)), 1.f, IStrokeOptions(), blend);
}

void SwitchControl::FillDisc(GraphicsContext& g, const IFillOptions& fill, const IBlend* blend)
{
  if (mPressed)
    g.PathFill(mPressedGradient, fill, blend);
  else if (GetMouseIsOver())
    g.PathFill(mHoverGradient, fill, blend);
}

void SwitchControl::OnStyleChanged()
{
  BuildGradients();
}

void SwitchControl::BuildGradients()
{
  const float cx = mWidgetBounds.MW();
  const float cy = mWidgetBounds.MH();
  const float r = mWidgetBounds.W() * 0.5f;
  mHoverGradient = MakeRadialGradient(mStyle.Color(9), cx, cy, r);
  mPressedGradient = MakeRadialGradient(mStyle.Color(10), cx, cy, r);
}

} // namespace qm::control
