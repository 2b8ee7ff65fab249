// SVG rendering of GraphicsPathBase: walks the parsed shapes and replays them as path primitives.
//
// The back end fills with "keep each sub-path's winding", so every sub-path is given a winding
// here: a sub-path lying inside an odd number of the shape's other outlines becomes a hole. Inside
// is decided by casting a ray from the sub-path's first point away from its bounding box (through
// the point one unit above and left of the box's top-left corner) and counting the edges of the
// other outlines it crosses.

#include "graphics/GraphicsPathBase.h"

#include "graphics/svg/SVGImage.h"

#include <algorithm>
#include <cmath>

namespace kit::gfx
{

namespace
{

/** Crossings of the ray o + t*d (t >= 0) with the polygon through a sub-path's curve end points. */
int CountCrossings(double ox, double oy, double dx, double dy, const svg::Path& other)
{
  const auto& pts = other.points;
  if (pts.size() < 4) return 0;

  int crossings = 0;
  const size_t nEnds = (pts.size() - 1) / 3 + 1; // first point, then every third
  for (size_t i = 0; i < nEnds; ++i)
  {
    const svg::Point& a = pts[i * 3];
    const svg::Point& b = pts[((i + 1) % nEnds) * 3];
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double denom = dx * ey - dy * ex;
    if (std::abs(denom) < 1e-8) continue; // parallel: never counts
    const double wx = a.x - ox;
    const double wy = a.y - oy;
    const double t = (wx * ey - wy * ex) / denom; // along the ray
    const double s = (wx * dy - wy * dx) / denom; // along the edge
    if (s >= 0.0 && s < 1.0 && t >= 0.0) ++crossings;
  }
  return crossings;
}

bool IsHole(const svg::Shape& shape, size_t pathIdx)
{
  const svg::Path& path = shape.paths[pathIdx];
  const double ox = path.points.front().x;
  const double oy = path.points.front().y;
  const double dx = (path.bounds[0] - 1.0) - ox;
  const double dy = (path.bounds[1] - 1.0) - oy;

  int crossings = 0;
  for (size_t j = 0; j < shape.paths.size(); ++j)
    if (j != pathIdx) crossings += CountCrossings(ox, oy, dx, dy, shape.paths[j]);
  return (crossings % 2) == 1;
}

IColor ToIColor(const svg::Color& c, int alpha)
{
  return IColor(alpha, c.r, c.g, c.b);
}

IPattern ToPattern(const svg::Paint& paint, float opacity)
{
  if (paint.type == svg::PaintType::Color)
  {
    // The parser folds fill-/stroke-opacity into the colour's alpha; the element opacity is
    // applied here.
    const long alpha = std::lround(opacity * static_cast<float>(paint.color.a));
    return IPattern(ToIColor(paint.color, static_cast<int>(std::clamp(alpha, 0L, 255L))));
  }

  const svg::Gradient& g = paint.gradient;
  IPattern pattern(paint.type == svg::PaintType::LinearGradient ? EPatternType::Linear
                                                                : EPatternType::Radial);
  pattern.mExtend = static_cast<EPatternExtend>(static_cast<int>(g.spread) + 1);
  for (const svg::GradientStop& stop : g.stops)
    pattern.AddStop(ToIColor(stop.color, stop.color.a), stop.offset);
  pattern.mTransform =
      IMatrix(g.xform.xx, g.xform.yx, g.xform.xy, g.xform.yy, g.xform.tx, g.xform.ty);
  return pattern;
}

IStrokeOptions ToStrokeOptions(const svg::Shape& shape)
{
  IStrokeOptions options;
  options.mMiterLimit = shape.miterLimit;
  options.mCapOption = static_cast<ELineCap>(static_cast<int>(shape.lineCap));
  options.mJoinOption = static_cast<ELineJoin>(static_cast<int>(shape.lineJoin));
  if (!shape.dashes.empty())
    options.mDash.SetDash(shape.dashes.data(), shape.dashOffset,
                          static_cast<int>(shape.dashes.size()));
  return options;
}

} // namespace

void GraphicsPathBase::RenderSVG(const ISVG& svg, const IBlend* pBlend)
{
  const svg::Image* pImage = svg.GetImage();
  if (!pImage) return;

  for (const svg::Shape& shape : pImage->shapes)
  {
    if (!shape.visible) continue;
    const bool hasFill = shape.fill.type != svg::PaintType::None;
    const bool hasStroke = shape.stroke.type != svg::PaintType::None;

    PathClear();
    for (size_t p = 0; p < shape.paths.size(); ++p)
    {
      const svg::Path& path = shape.paths[p];
      if (path.points.empty()) continue;
      PathMoveTo(path.points[0].x, path.points[0].y);
      for (size_t i = 1; i + 2 < path.points.size(); i += 3)
      {
        const svg::Point* c = &path.points[i];
        PathCubicBezierTo(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y);
      }
      if (path.closed) PathClose();
      PathSetWinding(IsHole(shape, p));
    }

    if (hasFill)
      PathFill(ToPattern(shape.fill, shape.opacity), IFillOptions(EFillRule::Preserve, hasStroke),
               pBlend);
    if (hasStroke)
      PathStroke(ToPattern(shape.stroke, shape.opacity), shape.strokeWidth, ToStrokeOptions(shape),
                 pBlend);
  }
}

} // namespace kit::gfx
