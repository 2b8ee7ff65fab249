#include "controls/ButtonControl.h"

#include "graphics/GraphicsContext.h"

namespace qm::control
{

using namespace kit::gfx;

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

void ButtonControl::Draw(GraphicsContext& g)
{
  DrawDisc(g);
  DrawLabel(g);
}

void ButtonControl::FillDisc(GraphicsContext& g, const IFillOptions& fill, const IBlend* blend)
{
  if (mPressed || GetValue() != 1.0)
  {
    SwitchControl::FillDisc(g, fill, blend);
    return;
  }
  g.PathFill(mOnGradient, fill, blend);
  if (GetMouseIsOver()) g.PathFill(IPattern(kOnHoverTint), fill, blend);
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
