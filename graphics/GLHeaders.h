#pragma once

// The one place that decides where OpenGL declarations come from. Code that
// calls OpenGL includes this header and nothing else GL-related.

#if defined(TRAZELLE_GL_EPOXY)
#include <epoxy/gl.h>
#elif defined(TRAZELLE_GL_WGL)
// Entry points fetched through opengl32.dll and wglGetProcAddress.
#include "graphics/platform/win32/GLLoader.h"
#else
#error "No OpenGL loader configured (link trazelle_gl)"
#endif
