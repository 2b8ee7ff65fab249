#pragma once

#include "controls/ControlBase.h"

namespace qm::control
{

/** Round multi-state switch: each click advances to the next of `numStates` evenly spaced values
 * and wraps from 1 back to 0 (two states simply toggle). The value text names the state; the
 * owner sets it from the action function. A double click counts as two clicks. */
class SwitchControl : public ControlBase
{
public:
  SwitchControl(const IRECT& bounds, int numStates, IActionFunction action,
                const std::string& label, const ControlStyle& style);
  ~SwitchControl() override;

  void OnMouseDown(float x, float y, const IMouseMod& mod) override; // [ui thread]
  void OnInit() override;
  void Draw(GraphicsContext& g) override;
  void OnStyleChanged() override;

  int GetNumStates() const { return mNumStates; }

protected:
  void BuildGradients();
  // The outlined disc; its fill shows the pressed / hover state.
  void DrawDisc(GraphicsContext& g);
  virtual void FillDisc(GraphicsContext& g, const IFillOptions& fill, const IBlend* blend);

  int mNumStates;
  IPattern mHoverGradient{EPatternType::Radial};
  IPattern mPressedGradient{EPatternType::Radial};
};

} // namespace qm::control
