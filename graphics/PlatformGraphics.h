#pragma once

// The graphics context of the platform being built, for the plug-in's
// graphics factory: GraphicsWin on Windows (graphics/platform/win32),
// GraphicsX11 on Linux (graphics/platform/x11).

#include <memory>

namespace kit::gfx
{

class GraphicsContext;
class GraphicsEditorDelegate;

// A new context for one opening of the editor. On Windows it finds its fonts
// and logo in the plug-in module recorded when the library was loaded.
// [ui thread]
// 60 frames per second at draw scale 1 unless asked otherwise.
std::unique_ptr<GraphicsContext> MakePlatformGraphics(GraphicsEditorDelegate* pDelegate, int width,
                                                      int height, int fps = 60, float scale = 1.f);

} // namespace kit::gfx
