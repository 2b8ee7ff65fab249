#pragma once

// The one way platform files include the Windows headers.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// <windows.h> maps these names to their A/W variants; GraphicsContext has members of the same
// names, and the mapping would rename them only in the files that include this header.
#undef DrawText
#undef LoadBitmap
