#include "framework/IPlugVST2.h"
#include "graphics/PlatformGraphics.h"
#include "graphics/platform/win32/IGraphicsWin.h"

namespace iplug::igraphics
{

std::unique_ptr<IGraphics> MakePlatformGraphics(IGEditorDelegate* pDelegate, int width, int height,
                                                int fps, float scale)
{
  auto graphics = std::make_unique<IGraphicsWin>(pDelegate, width, height, fps, scale);
  // Resources live in the plug-in library, not in the host's executable.
  graphics->SetWinModuleHandle(gModuleHandle);
  return graphics;
}

} // namespace iplug::igraphics
