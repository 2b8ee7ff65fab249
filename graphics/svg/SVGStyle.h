#pragma once

// The inherited presentation state while walking an SVG tree: paints,
// opacities, stroke geometry, visibility and the current transform. Each
// element starts from a copy of its parent's state and applies its own
// presentation attributes, then its style="" declarations (which win).

#include "graphics/svg/SVGImage.h"
#include "graphics/svg/SVGValues.h"

#include <string>
#include <string_view>
#include <vector>

namespace kit::gfx::svg
{

struct PaintDef
{
  enum class Kind
  {
    None,
    Color,
    CurrentColor,
    Url
  };
  Kind kind = Kind::None;
  Color color;
  std::string url;          // id without '#', for Kind::Url
  bool hasFallback = false; // url(#id) followed by a colour
};

// What percentages, em and physical units resolve against.
struct UnitContext
{
  double dpi = 96.0;
  double viewportWidth = 100.0, viewportHeight = 100.0;
  size_t maxNumberLength = 64;
};

enum class Axis
{
  X,
  Y,
  Diagonal
};

struct Style
{
  PaintDef fill{PaintDef::Kind::Color, {0, 0, 0, 255}, {}, false};
  PaintDef stroke;
  Color currentColor{0, 0, 0, 255};
  double fillOpacity = 1.0, strokeOpacity = 1.0;
  double opacity = 1.0;        // product of the ancestors' opacity
  double elementOpacity = 1.0; // this element's own; the walker folds it in
  double strokeWidth = 1.0;
  std::vector<double> dashes;
  double dashOffset = 0.0;
  LineJoin lineJoin = LineJoin::Miter;
  LineCap lineCap = LineCap::Butt;
  double miterLimit = 4.0;
  FillRule fillRule = FillRule::NonZero;
  bool visible = true;   // visibility (inherited, a child may override)
  bool displayed = true; // display (not inherited: none hides the subtree)
  double fontSize = 16.0;
  Color stopColor{0, 0, 0, 255};
  double stopOpacity = 1.0;
  Transform ctm;
};

// Resolves a length to user units (pixels) along an axis.
double ToPixels(const Length& length, Axis axis, const UnitContext& units, double fontSize);

// Applies one property. Unknown properties and invalid values are ignored,
// as SVG asks, leaving the inherited value in place.
void ApplyProperty(Style& style, std::string_view name, std::string_view value,
                   const UnitContext& units);

// Applies "name: value; ..." declarations.
void ApplyStyleAttribute(Style& style, std::string_view declarations, const UnitContext& units);

// Whether `name` is a presentation attribute this parser understands.
bool IsPresentationAttribute(std::string_view name);

} // namespace kit::gfx::svg
