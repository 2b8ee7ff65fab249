#pragma once

#include "graphics/IControl.h"

#include <functional>
#include <vector>

namespace qm::control
{

/** A click area that opens an overlay and closes it again on a click inside the overlay.
 *
 * While closed it draws into the small closed rectangle and only that rectangle is clickable;
 * while open it draws into the open rectangle, which becomes the clickable area. Controls of list
 * A are shown while closed and hidden while open; those of list B the other way round. The lists
 * do not own their controls (the graphics context does). */
class HidingOverlayControl : public kit::gfx::IControl
{
public:
  using IRECT = kit::gfx::IRECT;
  using GraphicsContext = kit::gfx::GraphicsContext;
  using DrawFunction = std::function<void(GraphicsContext& g, const IRECT& area)>;

  /** Drawn in place of a missing draw function, so a wiring mistake is visible. */
  static constexpr kit::gfx::IColor kClosedFallbackColor{255, 96, 125, 139};
  static constexpr kit::gfx::IColor kOpenFallbackColor{230, 255, 255, 255};

  HidingOverlayControl(const IRECT& closedRect, const IRECT& openRect, DrawFunction closedDraw,
                       DrawFunction openDraw);
  ~HidingOverlayControl() override;

  void OnMouseDown(float x, float y,
                   const kit::gfx::IMouseMod& mod) override; // [ui thread]
  void Draw(GraphicsContext& g) override;

  /** Appends a control shown only while closed, hiding it at once if the overlay is open. */
  void AddToListA(IControl* control);
  /** Appends a control shown only while open, hiding it at once if the overlay is closed. */
  void AddToListB(IControl* control);

  bool IsOpen() const { return mOpen; }

private:
  std::vector<IControl*> mListA;
  std::vector<IControl*> mListB;
  IRECT mClosedRect;
  IRECT mOpenRect;
  DrawFunction mClosedDraw;
  DrawFunction mOpenDraw;
  bool mOpen = false;
};

} // namespace qm::control
