#include "graphics/ISVG.h"

#include "graphics/IGraphics.h"

// Parsing arrives with the SVG parser; until then no SVG loads.

namespace iplug::igraphics
{

float ISVG::W() const { return 0.f; }
float ISVG::H() const { return 0.f; }

ISVG IGraphics::LoadSVG(const char*, const char*, float) { return {}; }

} // namespace iplug::igraphics
