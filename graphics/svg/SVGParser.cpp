#include "graphics/svg/SVGParser.h"

namespace iplug::igraphics::svg
{

bool ParseSVG(std::string_view, std::string_view, float, Image& out, std::string* error,
              const ParseLimits&)
{
  out = {};
  if (error) *error = "SVG parsing not available yet";
  return false;
}

} // namespace iplug::igraphics::svg
