#include "graphics/ISVG.h"

#include "graphics/svg/SVGImage.h"

namespace kit::gfx
{

float ISVG::W() const
{
  return mImage ? mImage->width : 0.f;
}
float ISVG::H() const
{
  return mImage ? mImage->height : 0.f;
}

} // namespace kit::gfx
