#pragma once

#include "controls/SwitchControl.h"

namespace qm::control
{

/** Two-state round button that shows its "on" state (value 1) with a gradient in colour slot 7.
 * It draws its label but no value text. */
class ButtonControl : public SwitchControl
{
public:
  ButtonControl(const IRECT& bounds, IActionFunction action, const std::string& label,
                const ControlStyle& style);
  ~ButtonControl() override;

  void Draw(GraphicsContext& g) override;
  void OnStyleChanged() override;

protected:
  void FillDisc(GraphicsContext& g, const IFillOptions& fill, const IBlend* blend) override;

private:
  void BuildOnGradient();

  IPattern mOnGradient{EPatternType::Radial};
};

} // namespace qm::control
