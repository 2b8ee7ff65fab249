#include "controls/LineControl.h"

#include "graphics/GraphicsContext.h"

#include <algorithm>

namespace qm::control
{

using namespace kit::gfx;

LineControl::LineControl(float x1, float y1, float x2, float y2)
    : IControl(IRECT(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2))),
      mX1(x1), mX2(x2), mY1(y1), mY2(y2)
{
}

LineControl::~LineControl() = default;

void LineControl::Draw(GraphicsContext& g)
{
  g.DrawLine(mColor, mX1, mY1, mX2, mY2, nullptr, 1.f);
}

} // namespace qm::control
