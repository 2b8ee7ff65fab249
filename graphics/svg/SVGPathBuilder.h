#pragma once

// Builds the cubic-Bezier sub-paths of one shape in the element's own
// coordinate system. Every primitive (lines, quadratics, arcs, rectangles,
// ellipses) is converted to cubic segments here, so the shape model holds a
// single kind of curve.

#include "graphics/svg/SVGImage.h"

#include <string_view>
#include <vector>

namespace kit::gfx::svg
{

class PathBuilder
{
public:
  // `pointBudget` is shared across the document; building fails once it runs
  // out, which bounds the memory a hostile document can make us use.
  PathBuilder(size_t& pointBudget, size_t maxNumberLength)
      : mBudget(pointBudget), mMaxNumberLength(maxNumberLength)
  {
  }

  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y);
  void QuadTo(double cx, double cy, double x, double y);
  // The endpoint-parameterised elliptical arc of SVG path data.
  void ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, double x,
             double y);
  void Close();

  // Path data ("d"). Per SVG error handling, everything up to the first
  // malformed command is kept.
  void AddPathData(std::string_view d);
  void AddRect(double x, double y, double w, double h, double rx, double ry);
  void AddEllipse(double cx, double cy, double rx, double ry);
  // polyline / polygon "points"; an odd trailing coordinate is ignored.
  void AddPoints(std::string_view points, bool close);

  // False once the point budget was exceeded; the paths are then incomplete.
  bool Ok() const { return !mOverBudget; }
  std::vector<Path>& Paths();

private:
  void EnsureStarted();
  void FinishPath();
  // A smooth curve's first control point: (x, y) mirrored about the current point.
  void Reflect(double x, double y, double& outX, double& outY) const;
  bool Reserve(size_t points);

  std::vector<Path> mPaths;
  Path mCurrent;
  double mX = 0, mY = 0;           // current point
  double mStartX = 0, mStartY = 0; // start of the current sub-path
  size_t& mBudget;
  size_t mMaxNumberLength;
  bool mOverBudget = false;
};

// Sets a path's bounds to the box around its points.
void UpdateBounds(Path& path);

} // namespace kit::gfx::svg
