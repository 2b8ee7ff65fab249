#pragma once

// An OpenGL 3.2 core-profile context on a window's device context.
//
// Creating one takes two steps because wglCreateContextAttribsARB is itself an
// extension: a legacy context is made current on the same device context just
// long enough to fetch it. The pixel format of a window can be set only once,
// so Create must see a fresh window.

#include "graphics/platform/win32/GLLoader.h"

#include <atomic>

namespace kit::gfx
{

class WGLContext
{
public:
  WGLContext() = default;
  WGLContext(const WGLContext&) = delete;
  WGLContext& operator=(const WGLContext&) = delete;
  ~WGLContext() { Destroy(); }

  // Sets the pixel format (double-buffered RGBA, 32 colour, 24 depth, 8
  // stencil bits), creates the core context, leaves it current and loads the
  // GL functions. False when any step fails; nothing is left behind then.
  // [ui thread]
  bool Create(HDC dc);

  // Releases and deletes the context; restores a borrowed caller's context.
  // [ui thread]
  void Destroy();

  bool IsValid() const { return mContext != nullptr; }
  HGLRC Handle() const { return mContext; }
  HDC DeviceContext() const { return mDC; }
  bool FunctionsLoaded() const { return mFunctionsLoaded; }

  // Makes this context current and remembers whatever the caller had current,
  // so that drawing from inside a host's own GL code leaves it intact. Calls
  // nest; the outermost Deactivate restores the caller's pair. [ui thread]
  bool Activate();
  void Deactivate();

  // Contexts created and not yet destroyed in this process (leak checks).
  static int LiveCount() { return sLive.load(); }

private:
  HDC mDC = nullptr;
  HGLRC mContext = nullptr;
  bool mFunctionsLoaded = false;
  HDC mSavedDC = nullptr;
  HGLRC mSavedContext = nullptr;
  int mBorrowDepth = 0;
  static std::atomic<int> sLive;
};

} // namespace kit::gfx
