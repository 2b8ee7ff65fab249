#pragma once

#include "controls/ControlBase.h"

namespace qm::control
{

/** Horizontal slider: a rounded track with a handle whose width the owner chooses.
 *
 * The handle is positioned from the value, so its width can change at any time (the editor sizes
 * it to the share of history on screen). Clicking off the handle centres it on the pointer;
 * dragging moves it with the pointer at the point where it was grabbed, and it stays at an end
 * while the pointer is beyond that end. Only one value slot is supported. */
template <int MAXNC = 1>
class SliderControl : public ControlBase
{
  static_assert(MAXNC == 1, "only a single-value slider is provided");

public:
  SliderControl(const IRECT& bounds, IActionFunction action, const ControlStyle& style,
                const std::string& label);
  ~SliderControl() override;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override; // [ui thread]
  void OnMouseDrag(float x, float y, float dX, float dY,
                   const IMouseMod& mod) override; // [ui thread]
  void Draw(GraphicsContext& g) override;
  /** Stores the value and moves the handle to it, keeping the handle's width. */
  void SetValue(double value, int valIdx = 0) override;
  void OnStyleChanged() override;

  /** The handle's width is kept from here on; its position follows the value. */
  void SetHandle(const IRECT& handle) { mHandle = handle; }
  const IRECT& GetHandle() const { return mHandle; }
  float GetCornerRadius() const { return mCornerRadius; }

private:
  IRECT mHandle;
  float mCornerRadius = 0.f;
  /** Pointer x at which the handle would touch the left (right) end, fixed at the grab. */
  float mLeftAnchor = 0.f;
  float mRightAnchor = 0.f;
};

extern template class SliderControl<1>;

} // namespace qm::control
