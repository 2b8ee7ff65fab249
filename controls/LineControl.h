#pragma once

#include "graphics/IControl.h"

namespace qm::control
{

/** One straight one-pixel line between two points, e.g. a separator. */
class LineControl : public kit::gfx::IControl
{
public:
  /** The light grey separators are drawn in unless told otherwise. */
  static constexpr kit::gfx::IColor kDefaultColor{255, 207, 216, 220};

  LineControl(float x1, float y1, float x2, float y2);
  ~LineControl() override;

  void Draw(kit::gfx::GraphicsContext& g) override;

  void SetColor(const kit::gfx::IColor& color) { mColor = color; }
  const kit::gfx::IColor& GetColor() const { return mColor; }

private:
  float mX1;
  float mX2;
  float mY1;
  float mY2;
  kit::gfx::IColor mColor = kDefaultColor;
};

} // namespace qm::control
