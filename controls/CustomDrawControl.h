#pragma once

#include "controls/ControlBase.h"

namespace qm::control
{

/** A styled control whose whole drawing is supplied by its owner (the title bar, the legend). */
class CustomDrawControl : public ControlBase
{
public:
  using DrawFunction = std::function<void(ControlBase& control, GraphicsContext& g)>;

  CustomDrawControl(const IRECT& bounds, DrawFunction draw, const ControlStyle& style);
  ~CustomDrawControl() override;

  void Draw(GraphicsContext& g) override;

private:
  DrawFunction mDrawFunc;
};

} // namespace qm::control
