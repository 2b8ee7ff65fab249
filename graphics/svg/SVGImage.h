#pragma once

// The shape model of a parsed SVG document. The parser (SVGParser.h) flattens
// the document tree into a list of shapes in document order: groups, styles,
// transforms and the viewBox are already applied, so every coordinate is in
// image space (the document's width x height, in the units asked for at load
// time), and every outline is made of cubic Bezier segments. Drawing code only
// walks shapes and paths; it never sees XML.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kit::gfx::svg
{

// 8-bit straight (not premultiplied) colour. `a` carries fill-opacity or
// stroke-opacity; the element's `opacity` is kept separately on the shape.
struct Color
{
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Color&) const = default;
};

// Affine transform in the same element order as IMatrix: x' = xx*x + xy*y + tx,
// y' = yx*x + yy*y + ty.
struct Transform
{
  double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, tx = 0.0, ty = 0.0;
  bool operator==(const Transform&) const = default;
};

enum class PaintType
{
  None,
  Color,
  LinearGradient,
  RadialGradient
};

// Values 0, 1, 2 = pad, reflect, repeat (IPattern's extend mode is this + 1).
enum class Spread
{
  Pad,
  Reflect,
  Repeat
};

// Numeric values match IStrokeOptions' join and cap numbering.
enum class LineJoin
{
  Miter,
  Round,
  Bevel
};

enum class LineCap
{
  Butt,
  Round,
  Square
};

enum class FillRule
{
  NonZero,
  EvenOdd
};

struct GradientStop
{
  Color color;        // alpha = stop-opacity
  float offset = 0.f; // 0..1, non-decreasing along the list
};

// `xform` maps image space to gradient space, ready to be used as an
// IPattern's transform: a linear gradient runs from (0, 0) to (0, 1) in
// gradient space, a radial gradient is the unit circle about the origin.
// Bounding-box units and gradientTransform are already folded in.
struct Gradient
{
  Transform xform;
  Spread spread = Spread::Pad;
  float fx = 0.f, fy = 0.f;        // focal point in gradient space (radial only)
  std::vector<GradientStop> stops; // at least one when the paint is a gradient
};

struct Paint
{
  PaintType type = PaintType::None;
  Color color;       // PaintType::Color
  Gradient gradient; // PaintType::LinearGradient / RadialGradient
};

struct Point
{
  float x = 0.f, y = 0.f;
};

// One sub-path: points[0] is the start, then three points per cubic segment
// (control 1, control 2, end). A path always has 1 + 3k points, k >= 1.
struct Path
{
  std::vector<Point> points;
  bool closed = false;
  std::array<float, 4> bounds{}; // left, top, right, bottom of all points
};

struct Shape
{
  std::string id;
  Paint fill;
  Paint stroke;
  // Product of the element's and its groups' opacity. A solid paint is drawn
  // with alpha = opacity x color.a / 255.
  float opacity = 1.f;
  float strokeWidth = 1.f; // already scaled by the element's transform
  float dashOffset = 0.f;
  std::vector<float> dashes; // at most kMaxDashes, each > 0; empty = solid
  LineJoin lineJoin = LineJoin::Miter;
  LineCap lineCap = LineCap::Butt;
  float miterLimit = 4.f;
  FillRule fillRule = FillRule::NonZero;
  bool visible = true; // false for display="none" / visibility="hidden"
  std::vector<Path> paths;
  std::array<float, 4> bounds{}; // union of the paths' bounds
};

inline constexpr size_t kMaxDashes = 8;

struct Image
{
  float width = 0.f, height = 0.f; // in the units requested at load time
  std::vector<Shape> shapes;       // document order
};

} // namespace kit::gfx::svg
