#include "graphics/IPanelControl.h"

#include "graphics/IGraphics.h"

namespace iplug::igraphics
{

IPanelControl::IPanelControl(const IRECT& bounds, const IPattern& pattern, bool drawFrame)
    : IControl(bounds), mPattern(pattern), mDrawFrame(drawFrame)
{
}

void IPanelControl::Draw(IGraphics& g)
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

} // namespace iplug::igraphics
