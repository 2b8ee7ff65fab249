#include "controls/ButtonControl.h"

#include "graphics/IGraphics.h"

namespace qm::control
{

using namespace iplug::igraphics;

namespace
{
/** Laid over the "on" fill while the pointer is over the button. */
constexpr IColor kOnHoverTint{60, 255, 255, 255};
} // namespace

ButtonControl::ButtonControl(const IRECT& bounds, IActionFunction action, const std::string& label,
                             const ControlStyle& style)
    : SwitchControl(bounds, 2, std::move(action), label, style)
{
  BuildOnGradient();
}

ButtonControl::~ButtonControl() = default;

void ButtonControl::Draw(IGraphics& g)
{
  const IBlend* blend = &GetBlend();
  IFillOptions fill;
  fill.mPreserve = true;
  g.PathClear();
  g.PathCircle(mWidgetBounds.MW(), mWidgetBounds.MH(), mWidgetBounds.W() * 0.5f);
  if (mPressed)
    g.PathFill(mPressedGradient, fill, blend);
  else if (GetValue() == 1.0)
  {
    g.PathFill(mOnGradient, fill, blend);
    if (GetMouseIsOver()) g.PathFill(IPattern(kOnHoverTint), fill, blend);
  }
  else if (GetMouseIsOver())
    g.PathFill(mHoverGradient, fill, blend);
  g.PathStroke(IPattern(mStyle.Color(1)), 1.f, IStrokeOptions(), blend);
  DrawLabel(g);
}

void ButtonControl::OnStyleChanged()
{
  SwitchControl::OnStyleChanged();
  BuildOnGradient();
}

void ButtonControl::BuildOnGradient()
{
  mOnGradient = MakeRadialGradient(mStyle.Color(7), mWidgetBounds.MW(), mWidgetBounds.MH(),
                                   mWidgetBounds.W() * 0.5f);
}

} // namespace qm::control
