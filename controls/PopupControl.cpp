#include "controls/PopupControl.h"

#include "graphics/GraphicsContext.h"

#include <cassert>

namespace qm::control
{

using namespace kit::gfx;

namespace
{
/** A downward chevron (U+F107) of the icon font, drawn right-aligned inside the box. */
constexpr const char* kChevron = "\xEF\x84\x87";

IText ChevronText()
{
  return IText(15.f, COLOR_BLACK, "forkawesome", EAlign::Far, EVAlign::Middle);
}

/** Opens the control's menu where the pointer went down. */
void OpenMenu(IControl* pControl)
{
  auto* popup = static_cast<PopupControl*>(pControl);
  GraphicsContext* g = popup->GetUI();
  if (!g) return;
  float x = 0.f;
  float y = 0.f;
  g->GetMouseDownPoint(x, y);
  g->CreatePopupMenu(*popup, popup->GetMenu(), IRECT(x, y, x, y), 0, false);
}
} // namespace

PopupControl::PopupControl(const IRECT& bounds, std::unique_ptr<IPopupMenu> menu, int initialIndex,
                           SelectionFunction onSelect, const std::string& label,
                           const ControlStyle& style)
    : ControlBase(bounds, OpenMenu, style, label), mMenu(std::move(menu)),
      mSelectionFunc(std::move(onSelect))
{
  assert(mMenu && mSelectionFunc && "a pop-up needs its menu and its selection function");
  if (!mMenu) mMenu = std::make_unique<IPopupMenu>();
  mCornerRadius = bounds.H() * 0.5f;
  BuildGradient();
  mMenu->SetChosenItemIdx(initialIndex);
  mValueText = mMenu->GetItemText(initialIndex);
}

PopupControl::~PopupControl() = default;

void PopupControl::OnMouseDown(float, float, const IMouseMod&)
{
  SetDirty(true);
}

void PopupControl::OnInit()
{
  if (GraphicsContext* g = GetUI()) PlaceLabel(*g, mLabel, kLabelLeft, mStyle.labelGap);
  mValueRect = mWidgetBounds;
  GrowBoundsToContents();
}

void PopupControl::OnPopupMenuSelection(IPopupMenu* pMenu, int)
{
  if (pMenu)
  {
    const int index = pMenu->GetChosenItemIdx();
    if (const IPopupMenu::Item* item = pMenu->GetItem(index)) mValueText = item->GetText();
    if (mSelectionFunc) mSelectionFunc(index);
  }
  mPressed = false;
  SetMouseIsOver(false);
  SetDirty(false);
}

void PopupControl::Draw(GraphicsContext& g)
{
  const IBlend* blend = &GetBlend();
  const IRECT& w = mWidgetBounds;
  g.PathClear();
  g.PathRoundRect(w, mCornerRadius);
  if (mPressed || GetMouseIsOver()) g.PathFill(mHoverGradient, IFillOptions({}, true), blend);
  g.PathStroke(IPattern(mStyle.Color(2)), mStyle.frameThickness, IStrokeOptions(), blend);

  g.DrawText(ChevronText(), kChevron, IRECT(w.L + mCornerRadius, w.T, w.R - mCornerRadius, w.B),
             nullptr);
  DrawLabel(g);
  DrawValue(g);
}

void PopupControl::OnStyleChanged()
{
  BuildGradient();
}

void PopupControl::BuildGradient()
{
  mHoverGradient = MakeRadialGradient(mStyle.Color(9), mWidgetBounds.MW(), mWidgetBounds.MH(),
                                      mWidgetBounds.W() * 0.5f);
}

} // namespace qm::control
