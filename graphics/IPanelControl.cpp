#include "graphics/IPanelControl.h"

#include "graphics/GraphicsContext.h"

namespace kit::gfx
{

IPanelControl::IPanelControl(const IRECT& bounds, const IPattern& pattern, bool drawFrame)
    : IControl(bounds), mPattern(pattern), mDrawFrame(drawFrame)
{
}

void IPanelControl::Draw(GraphicsContext& g)
{
  if (g.HasPathSupport())
  {
    g.PathRect(GetRECT());
    g.PathFill(mPattern, IFillOptions(), nullptr);
  }
  else
  {
    g.FillRect(mPattern.GetFirstColor(), GetRECT());
  }
  if (mDrawFrame) g.DrawRect(COLOR_LIGHT_GRAY, GetRECT(), nullptr, 1.f);
}

} // namespace kit::gfx
