#include "graphics/IPattern.h"

#include <cmath>

namespace kit::gfx
{

namespace
{
// Degrees to radians as the drawing layer does it everywhere: with pi as a float.
constexpr double kDegToRad = static_cast<double>(3.1415927f) / 180.0;
} // namespace

IMatrix& IMatrix::Rotate(double degrees)
{
  const double a = degrees * kDegToRad;
  const double c = std::cos(a);
  const double s = std::sin(a);
  return Transform(IMatrix(c, s, -s, c, 0, 0));
}

IMatrix& IMatrix::Skew(double xDegrees, double yDegrees)
{
  return Transform(
      IMatrix(1, std::tan(yDegrees * kDegToRad), std::tan(xDegrees * kDegToRad), 1, 0, 0));
}

IMatrix& IMatrix::Transform(const IMatrix& m)
{
  const IMatrix p = *this;
  mXX = p.mXX * m.mXX + p.mXY * m.mYX;
  mYX = p.mYX * m.mXX + p.mYY * m.mYX;
  mXY = p.mXX * m.mXY + p.mXY * m.mYY;
  mYY = p.mYX * m.mXY + p.mYY * m.mYY;
  mTX = p.mXX * m.mTX + p.mXY * m.mTY + p.mTX;
  mTY = p.mYX * m.mTX + p.mYY * m.mTY + p.mTY;
  return *this;
}

IMatrix IMatrix::Inverted() const
{
  const double det = mXX * mYY - mXY * mYX;
  if (std::abs(det) < 1e-12) return {};
  const double inv = 1.0 / det;
  IMatrix r(mYY * inv, -mYX * inv, -mXY * inv, mXX * inv, 0, 0);
  r.mTX = -(r.mXX * mTX + r.mXY * mTY);
  r.mTY = -(r.mYX * mTX + r.mYY * mTY);
  return r;
}

IPattern IPattern::CreateLinearGradient(float x1, float y1, float x2, float y2,
                                        std::initializer_list<IColorStop> stops)
{
  IPattern p(EPatternType::Linear);
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double len2 = dx * dx + dy * dy;
  if (len2 > 0.0)
  {
    // Pattern y runs along the gradient, pattern x across it.
    IMatrix m(dy / len2, dx / len2, -dx / len2, dy / len2, 0, 0);
    m.mTX = -(m.mXX * x1 + m.mXY * y1);
    m.mTY = -(m.mYX * x1 + m.mYY * y1);
    p.mTransform = m;
  }
  for (const auto& s : stops)
    p.AddStop(s.mColor, s.mOffset);
  return p;
}

IPattern IPattern::CreateRadialGradient(float x, float y, float r,
                                        std::initializer_list<IColorStop> stops)
{
  IPattern p(EPatternType::Radial);
  if (r > 0.f)
  {
    const double ir = 1.0 / r;
    p.mTransform = IMatrix(ir, 0, 0, ir, -x * ir, -y * ir);
  }
  for (const auto& s : stops)
    p.AddStop(s.mColor, s.mOffset);
  return p;
}

} // namespace kit::gfx
