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
std::unique_ptr<IGraphics> MakePlatformGraphics(IGEditorDelegate* pDelegate, int width, int height,
                                                int fps, float scale);

} // namespace iplug::igraphics
