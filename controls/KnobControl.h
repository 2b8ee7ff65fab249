#pragma once

#include "controls/ControlBase.h"

namespace qm::control
{

/** Rotary knob drawn with vector paths in the largest square that fits its rectangle.
 *
 * Angles are degrees from 12 o'clock, clockwise (the editor sweeps 225 to 495, 270 degrees
 * through the top). Dragging up by `gearing` times the height of the clickable area covers the
 * whole range; one wheel step moves the value by `gearing`. The label and the value text sit
 * below the square. */
class KnobControl : public ControlBase
{
public:
  KnobControl(const IRECT& bounds, IActionFunction action, const ControlStyle& style,
              const std::string& label, float minAngle, float maxAngle, double gearing);
  ~KnobControl() override;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override; // [ui thread]
  void OnMouseDrag(float x, float y, float dX, float dY,
                   const IMouseMod& mod) override;                             // [ui thread]
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override; // [ui thread]
  void OnInit() override;
  void Draw(GraphicsContext& g) override;
  void OnStyleChanged() override;

  float GetCentreX() const { return mCX; }
  float GetCentreY() const { return mCY; }
  float GetRadius() const { return mRadius; }

private:
  void BuildGradients();

  IPattern mHoverGradient{EPatternType::Radial};
  IPattern mPressedGradient{EPatternType::Radial};
  float mMinAngle;
  float mMaxAngle;
  double mGearing;
  float mCX = 0.f;
  float mCY = 0.f;
  float mRadius = 0.f;
  float mInnerRadius = 0.f;
  float mTrackWidth = 0.f;
};

} // namespace qm::control
