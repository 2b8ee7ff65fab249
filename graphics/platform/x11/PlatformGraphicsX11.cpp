#include "graphics/PlatformGraphics.h"
#include "graphics/platform/x11/GraphicsX11.h"

namespace kit::gfx
{

std::unique_ptr<GraphicsContext> MakePlatformGraphics(GraphicsEditorDelegate* pDelegate, int width,
                                                      int height, int fps, float scale)
{
  return std::make_unique<GraphicsX11>(pDelegate, width, height, fps, scale);
}

} // namespace kit::gfx
