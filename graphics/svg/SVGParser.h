#pragma once

// Parses SVG text into the shape model of SVGImage.h. Covers the static subset
// used by logos and icons: path (all commands), rect, circle, ellipse, line,
// polyline, polygon, g, transform, presentation attributes and style="",
// colours, linear and radial gradients, width/height/viewBox.
//
// Untrusted input: a malformed or hostile document makes the load fail and
// return false; no exception escapes and the work done is bounded (element
// count, nesting depth, path length and number lengths are capped).

#include "graphics/svg/SVGImage.h"

#include <string>
#include <string_view>

namespace kit::gfx::svg
{

struct ParseLimits
{
  size_t maxBytes = 4u << 20;  // document size
  size_t maxElements = 20000;  // XML elements visited
  size_t maxDepth = 64;        // element nesting
  size_t maxPoints = 1u << 20; // Bezier points over all shapes
  size_t maxNumberLength = 64; // characters of one number
};

// `units` is the unit the image's width and height are reported in ("px",
// "pt", "pc", "mm", "cm", "in"); `dpi` converts between physical units and
// pixels. On failure `out` is left empty and `error` (when given) says why.
bool ParseSVG(std::string_view text, std::string_view units, float dpi, Image& out,
              std::string* error = nullptr, const ParseLimits& limits = {});

} // namespace kit::gfx::svg
