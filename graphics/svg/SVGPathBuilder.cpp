#include "graphics/svg/SVGPathBuilder.h"

#include "graphics/svg/SVGValues.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx::svg
{

namespace
{
// Control-point distance of a quarter-circle cubic for a unit radius.
constexpr double kKappa = 0.5522847493;

bool IsCommand(char c)
{
  switch (c)
  {
  case 'M':
  case 'm':
  case 'L':
  case 'l':
  case 'H':
  case 'h':
  case 'V':
  case 'v':
  case 'C':
  case 'c':
  case 'S':
  case 's':
  case 'Q':
  case 'q':
  case 'T':
  case 't':
  case 'A':
  case 'a':
  case 'Z':
  case 'z':
    return true;
  default:
    return false;
  }
}

int ArgumentCount(char lowerCommand)
{
  switch (lowerCommand)
  {
  case 'm':
  case 'l':
  case 't':
    return 2;
  case 'h':
  case 'v':
    return 1;
  case 'c':
    return 6;
  case 's':
  case 'q':
    return 4;
  case 'a':
    return 7;
  default:
    return 0;
  }
}
} // namespace

bool PathBuilder::Reserve(size_t points)
{
  if (mOverBudget || points > mBudget)
  {
    mOverBudget = true;
    return false;
  }
  mBudget -= points;
  return true;
}

void UpdateBounds(Path& path)
{
  if (path.points.empty()) return;
  auto& b = path.bounds;
  b = {path.points[0].x, path.points[0].y, path.points[0].x, path.points[0].y};
  for (const Point& p : path.points)
  {
    b[0] = std::min(b[0], p.x);
    b[1] = std::min(b[1], p.y);
    b[2] = std::max(b[2], p.x);
    b[3] = std::max(b[3], p.y);
  }
}

void PathBuilder::Reflect(double x, double y, double& outX, double& outY) const
{
  outX = 2 * mX - x;
  outY = 2 * mY - y;
}

void PathBuilder::FinishPath()
{
  // A lone move-to draws nothing and would break the 1 + 3k invariant users
  // rely on, so it is dropped.
  if (mCurrent.points.size() >= 4)
  {
    UpdateBounds(mCurrent);
    mPaths.push_back(std::move(mCurrent));
  }
  mCurrent = {};
}

void PathBuilder::EnsureStarted()
{
  if (mCurrent.points.empty() && Reserve(1)) mCurrent.points.push_back({float(mX), float(mY)});
}

void PathBuilder::MoveTo(double x, double y)
{
  FinishPath();
  mX = mStartX = x;
  mY = mStartY = y;
  EnsureStarted();
}

void PathBuilder::CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y)
{
  EnsureStarted();
  if (!Reserve(3)) return;
  mCurrent.points.push_back({float(c1x), float(c1y)});
  mCurrent.points.push_back({float(c2x), float(c2y)});
  mCurrent.points.push_back({float(x), float(y)});
  mX = x;
  mY = y;
}

void PathBuilder::LineTo(double x, double y)
{
  const double dx = x - mX, dy = y - mY;
  CubicTo(mX + dx / 3.0, mY + dy / 3.0, x - dx / 3.0, y - dy / 3.0, x, y);
}

void PathBuilder::QuadTo(double cx, double cy, double x, double y)
{
  CubicTo(mX + 2.0 / 3.0 * (cx - mX), mY + 2.0 / 3.0 * (cy - mY), x + 2.0 / 3.0 * (cx - x),
          y + 2.0 / 3.0 * (cy - y), x, y);
}

void PathBuilder::Close()
{
  if (mCurrent.points.empty()) return;
  // The closing edge is made explicit so that consumers that only look at
  // the points (hit tests, hole detection) see the whole outline.
  const Point last = mCurrent.points.back();
  if (last.x != float(mStartX) || last.y != float(mStartY)) LineTo(mStartX, mStartY);
  mCurrent.closed = true;
  FinishPath();
  mX = mStartX;
  mY = mStartY;
}

void PathBuilder::ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep,
                        double x, double y)
{
  const double x1 = mX, y1 = mY;
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  if (x1 == x && y1 == y) return; // an arc to the current point is omitted
  if (rx < 1e-12 || ry < 1e-12)
  {
    LineTo(x, y);
    return;
  }
  // Endpoint to centre parameterisation.
  const double phi = rotationDegrees * M_PI / 180.0;
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const double dx2 = (x1 - x) / 2.0, dy2 = (y1 - y) / 2.0;
  const double x1p = cosPhi * dx2 + sinPhi * dy2;
  const double y1p = -sinPhi * dx2 + cosPhi * dy2;
  // Radii too small to span the endpoints are scaled up just enough.
  const double lambda = (x1p * x1p) / (rx * rx) + (y1p * y1p) / (ry * ry);
  if (lambda > 1.0)
  {
    const double s = std::sqrt(lambda);
    rx *= s;
    ry *= s;
  }
  const double rx2 = rx * rx, ry2 = ry * ry;
  const double num = rx2 * ry2 - rx2 * y1p * y1p - ry2 * x1p * x1p;
  const double den = rx2 * y1p * y1p + ry2 * x1p * x1p;
  double coef = den > 0.0 ? std::sqrt(std::max(0.0, num / den)) : 0.0;
  if (largeArc == sweep) coef = -coef;
  const double cxp = coef * rx * y1p / ry;
  const double cyp = -coef * ry * x1p / rx;
  const double cx = cosPhi * cxp - sinPhi * cyp + (x1 + x) / 2.0;
  const double cy = sinPhi * cxp + cosPhi * cyp + (y1 + y) / 2.0;

  const auto angle = [](double ux, double uy, double vx, double vy)
  { return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy); };
  const double ux = (x1p - cxp) / rx, uy = (y1p - cyp) / ry;
  const double vx = (-x1p - cxp) / rx, vy = (-y1p - cyp) / ry;
  const double theta1 = angle(1.0, 0.0, ux, uy);
  double delta = angle(ux, uy, vx, vy);
  if (!sweep && delta > 0.0)
    delta -= 2.0 * M_PI;
  else if (sweep && delta < 0.0)
    delta += 2.0 * M_PI;
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(theta1) || !std::isfinite(delta))
  {
    LineTo(x, y);
    return;
  }

  // At most a quarter turn per cubic keeps the approximation error tiny.
  const int segments = std::clamp(int(std::ceil(std::fabs(delta) / (M_PI / 2.0) - 1e-9)), 1, 4);
  const double step = delta / segments;
  const double k = 4.0 / 3.0 * std::tan(step / 4.0);
  const auto onEllipse = [&](double t, double& px, double& py, double& tx, double& ty)
  {
    const double ct = std::cos(t), st = std::sin(t);
    px = cx + rx * ct * cosPhi - ry * st * sinPhi;
    py = cy + rx * ct * sinPhi + ry * st * cosPhi;
    tx = -rx * st * cosPhi - ry * ct * sinPhi; // derivative d/dt
    ty = -rx * st * sinPhi + ry * ct * cosPhi;
  };
  double px, py, tx, ty;
  onEllipse(theta1, px, py, tx, ty);
  for (int i = 1; i <= segments; ++i)
  {
    double qx, qy, sx, sy;
    onEllipse(theta1 + step * i, qx, qy, sx, sy);
    if (i == segments)
    {
      qx = x; // land exactly on the requested end point
      qy = y;
    }
    CubicTo(px + k * tx, py + k * ty, qx - k * sx, qy - k * sy, qx, qy);
    px = qx;
    py = qy;
    tx = sx;
    ty = sy;
  }
}

void PathBuilder::AddPathData(std::string_view d)
{
  Scanner s(d, mMaxNumberLength);
  char command = 0;
  // Reflection points for S/s and T/t.
  double lastC2x = 0, lastC2y = 0, lastQx = 0, lastQy = 0;
  char previous = 0;
  s.SkipSpace();
  while (!s.AtEnd() && Ok())
  {
    if (IsCommand(s.Peek()))
    {
      command = s.Peek();
      s.Advance();
      s.SkipSpace();
    }
    else if (command == 0 || command == 'z' || command == 'Z')
      return; // numbers without a command, or after close-path
    const char lower = char(command | 0x20);
    const bool relative = command == lower;
    const int count = ArgumentCount(lower);
    double a[7] = {};
    for (int i = 0; i < count; ++i)
    {
      bool ok;
      if (lower == 'a' && (i == 3 || i == 4))
      {
        bool flag = false;
        ok = s.Flag(flag);
        a[i] = flag ? 1.0 : 0.0;
      }
      else
        ok = s.Number(a[i]);
      if (!ok) return; // keep what was drawn so far
      s.SkipCommaSpace();
    }
    const double ox = relative ? mX : 0.0, oy = relative ? mY : 0.0;
    switch (lower)
    {
    case 'm':
      MoveTo(ox + a[0], oy + a[1]);
      command = relative ? 'l' : 'L'; // further pairs are line-tos
      break;
    case 'l':
      LineTo(ox + a[0], oy + a[1]);
      break;
    case 'h':
      LineTo(ox + a[0], mY);
      break;
    case 'v':
      LineTo(mX, oy + a[0]);
      break;
    case 'c':
      CubicTo(ox + a[0], oy + a[1], ox + a[2], oy + a[3], ox + a[4], oy + a[5]);
      lastC2x = ox + a[2];
      lastC2y = oy + a[3];
      break;
    case 's':
    {
      double c1x = mX, c1y = mY;
      if (previous == 'c' || previous == 's') Reflect(lastC2x, lastC2y, c1x, c1y);
      CubicTo(c1x, c1y, ox + a[0], oy + a[1], ox + a[2], oy + a[3]);
      lastC2x = ox + a[0];
      lastC2y = oy + a[1];
      break;
    }
    case 'q':
      QuadTo(ox + a[0], oy + a[1], ox + a[2], oy + a[3]);
      lastQx = ox + a[0];
      lastQy = oy + a[1];
      break;
    case 't':
    {
      double cx = mX, cy = mY;
      if (previous == 'q' || previous == 't') Reflect(lastQx, lastQy, cx, cy);
      QuadTo(cx, cy, ox + a[0], oy + a[1]);
      lastQx = cx;
      lastQy = cy;
      break;
    }
    case 'a':
      ArcTo(a[0], a[1], a[2], a[3] != 0.0, a[4] != 0.0, ox + a[5], oy + a[6]);
      break;
    case 'z':
      Close();
      break;
    }
    previous = lower;
    s.SkipSpace();
  }
}

void PathBuilder::AddRect(double x, double y, double w, double h, double rx, double ry)
{
  rx = std::min(rx, w / 2.0);
  ry = std::min(ry, h / 2.0);
  if (rx <= 0.0 || ry <= 0.0)
  {
    MoveTo(x, y);
    LineTo(x + w, y);
    LineTo(x + w, y + h);
    LineTo(x, y + h);
    Close();
    return;
  }
  const double kx = rx * (1.0 - kKappa), ky = ry * (1.0 - kKappa);
  const double r = x + w, b = y + h;
  MoveTo(x + rx, y);
  LineTo(r - rx, y);
  CubicTo(r - kx, y, r, y + ky, r, y + ry);
  LineTo(r, b - ry);
  CubicTo(r, b - ky, r - kx, b, r - rx, b);
  LineTo(x + rx, b);
  CubicTo(x + kx, b, x, b - ky, x, b - ry);
  LineTo(x, y + ry);
  CubicTo(x, y + ky, x + kx, y, x + rx, y);
  Close();
}

void PathBuilder::AddEllipse(double cx, double cy, double rx, double ry)
{
  const double kx = rx * kKappa, ky = ry * kKappa;
  MoveTo(cx + rx, cy);
  CubicTo(cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
  CubicTo(cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
  CubicTo(cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
  CubicTo(cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
  Close();
}

void PathBuilder::AddPoints(std::string_view points, bool close)
{
  Scanner s(points, mMaxNumberLength);
  s.SkipSpace();
  bool first = true;
  while (!s.AtEnd() && Ok())
  {
    double x, y;
    if (!s.Number(x)) break;
    s.SkipCommaSpace();
    if (!s.Number(y)) break;
    s.SkipCommaSpace();
    if (first)
      MoveTo(x, y);
    else
      LineTo(x, y);
    first = false;
  }
  if (close) Close();
}

std::vector<Path>& PathBuilder::Paths()
{
  FinishPath();
  return mPaths;
}

} // namespace kit::gfx::svg
