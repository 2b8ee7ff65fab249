#include "controls/CustomDrawControl.h"

#include <cassert>

namespace qm::control
{

CustomDrawControl::CustomDrawControl(const IRECT& bounds, DrawFunction draw,
                                     const ControlStyle& style)
    : ControlBase(bounds, nullptr, style, std::string()), mDrawFunc(std::move(draw))
{
  assert(mDrawFunc && "a custom-draw control needs its draw function");
}

CustomDrawControl::~CustomDrawControl() = default;

void CustomDrawControl::Draw(GraphicsContext& g)
{
  if (mDrawFunc) mDrawFunc(*this, g);
}

} // namespace qm::control
