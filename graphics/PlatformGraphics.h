#pragma once

// The graphics context of the platform being built, for the plug-in's
// graphics factory: IGraphicsWin on Windows (graphics/platform/win32).

#include <memory>

namespace iplug::igraphics
{

class IGraphics;
class IGEditorDelegate;

// A new context for one opening of the editor. On Windows it finds its fonts
// and logo in the plug-in module recorded when the library was loaded.
// [ui thread]
// 60 frames per second at draw scale 1 unless asked otherwise.
std::unique_ptr<IGraphics> MakePlatformGraphics(IGEditorDelegate* pDelegate, int width, int height,
                                                int fps = 60, float scale = 1.f);

} // namespace iplug::igraphics
