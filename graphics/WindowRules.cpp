#include "graphics/WindowRules.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{

int ScreenScaleFromDpi(unsigned dpi)
{
  if (dpi == 0 || dpi == 96) return 1;
  const int scale = static_cast<int>(std::lround(dpi / 96.0));
  return scale < 1 ? 1 : scale;
}

float ScreenScaleFromXftDpi(double dpi)
{
  if (!std::isfinite(dpi) || dpi <= 0.0) return 1.f;
  return static_cast<float>(std::clamp(dpi / 96.0, 1.0, 4.0));
}

int WheelSteps(int rawAmount)
{
  return rawAmount / 120;
}

bool IsPenOrTouchSignature(uint64_t extraInfo)
{
  return (extraInfo & ~uint64_t{0xFF}) == 0xFF515700u;
}

LogicalRect DeviceToLogicalOutward(int l, int t, int r, int b, float scale)
{
  if (scale <= 0.f) scale = 1.f;
  return {std::floor(l / scale), std::floor(t / scale), std::ceil(r / scale), std::ceil(b / scale)};
}

int LogicalToDevice(float v, float scale)
{
  return static_cast<int>(std::lround(v * scale));
}

} // namespace kit::gfx
