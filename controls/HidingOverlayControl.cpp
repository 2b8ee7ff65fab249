#include "controls/HidingOverlayControl.h"

#include "graphics/GraphicsContext.h"

namespace qm::control
{

using namespace kit::gfx;

// The bounds cover both rectangles so that the open drawing is not clipped away; the mouse
// area is only the rectangle of the current state.
HidingOverlayControl::HidingOverlayControl(const IRECT& closedRect, const IRECT& openRect,
                                           DrawFunction closedDraw, DrawFunction openDraw)
    : IControl(closedRect.Union(openRect)), mClosedRect(closedRect), mOpenRect(openRect),
      mClosedDraw(std::move(closedDraw)), mOpenDraw(std::move(openDraw))
{
  SetTargetRECT(mClosedRect);
}

HidingOverlayControl::~HidingOverlayControl() = default;

void HidingOverlayControl::OnMouseDown(float, float, const IMouseMod&)
{
  mOpen = !mOpen;
  for (IControl* c : mListA)
    c->Hide(mOpen);
  for (IControl* c : mListB)
    c->Hide(!mOpen);
  SetTargetRECT(mOpen ? mOpenRect : mClosedRect);
  SetMouseIsOver(false);
  SetDirty(false);
}

void HidingOverlayControl::Draw(GraphicsContext& g)
{
  const DrawFunction& draw = mOpen ? mOpenDraw : mClosedDraw;
  const IRECT& area = mOpen ? mOpenRect : mClosedRect;
  if (draw)
    draw(g, area);
  else
    g.FillRect(mOpen ? kOpenFallbackColor : kClosedFallbackColor, area, nullptr);
}

void HidingOverlayControl::AddToListA(IControl* control)
{
  if (!control) return;
  mListA.push_back(control);
  if (mOpen) control->Hide(true);
}

void HidingOverlayControl::AddToListB(IControl* control)
{
  if (!control) return;
  mListB.push_back(control);
  if (!mOpen) control->Hide(true);
}

} // namespace qm::control
