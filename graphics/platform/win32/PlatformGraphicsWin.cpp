#include "framework/PluginVST2.h"
#include "graphics/PlatformGraphics.h"
#include "graphics/platform/win32/GraphicsWin.h"

namespace kit::gfx
{

std::unique_ptr<GraphicsContext> MakePlatformGraphics(GraphicsEditorDelegate* pDelegate, int width,
                                                      int height, int fps, float scale)
{
  auto graphics = std::make_unique<GraphicsWin>(pDelegate, width, height, fps, scale);
  // Resources live in the plug-in library, not in the host's executable.
  graphics->SetWinModuleHandle(gModuleHandle);
  return graphics;
}

} // namespace kit::gfx
