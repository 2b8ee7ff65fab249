#pragma once

#include "controls/ControlBase.h"
#include "graphics/IPopupMenu.h"

#include <memory>

namespace qm::control
{

/** Drop-down selector: a rounded box showing the chosen item's text, a chevron on its right and
 * its label to the left. A click opens the menu at the pointer; a chosen item becomes the shown
 * text and is reported by index to the selection function. */
class PopupControl : public ControlBase
{
public:
  using SelectionFunction = std::function<void(int index)>;

  PopupControl(const IRECT& bounds, std::unique_ptr<kit::gfx::IPopupMenu> menu, int initialIndex,
               SelectionFunction onSelect, const std::string& label, const ControlStyle& style);
  ~PopupControl() override;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override; // [ui thread]
  void OnInit() override;
  void OnPopupMenuSelection(kit::gfx::IPopupMenu* pMenu, int valIdx) override;
  void Draw(GraphicsContext& g) override;
  void OnStyleChanged() override;

  kit::gfx::IPopupMenu& GetMenu() { return *mMenu; }

private:
  void BuildGradient();

  std::unique_ptr<kit::gfx::IPopupMenu> mMenu;
  SelectionFunction mSelectionFunc;
  float mCornerRadius = 0.f;
  IPattern mHoverGradient{EPatternType::Radial};
};

} // namespace qm::control
