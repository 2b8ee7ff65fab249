#pragma once

// An OpenGL 3.2 core-profile context on an X window, through GLX
// (glXCreateContextAttribsARB, entry points resolved by libepoxy).
//
// The frame-buffer configuration decides the window's visual, so it is chosen
// before the window exists (ChooseConfig) and the context is created once the
// window is there (Create). X types stay out of this header: the X headers
// define macros (None, Bool, Status) that collide with framework names.

#include <atomic>

struct _XDisplay;

namespace kit::gfx
{

class GLXWindowContext
{
public:
  GLXWindowContext() = default;
  GLXWindowContext(const GLXWindowContext&) = delete;
  GLXWindowContext& operator=(const GLXWindowContext&) = delete;
  ~GLXWindowContext() { Destroy(); }

  // Picks a double-buffered RGBA8 configuration with an 8-bit stencil on the
  // display's default screen. Returns the X visual (an XVisualInfo*, owned
  // here until Destroy) or null when there is none. [ui thread]
  void* ChooseConfig(_XDisplay* display);

  // Creates the core context for `window` (made with the chosen visual),
  // makes it current long enough to turn vertical-blank waiting off, and
  // leaves the caller's context current again. False when GLX cannot give a
  // 3.2 core context; nothing is left behind then. [ui thread]
  bool Create(unsigned long window);

  // Deletes the context (restoring a borrowed caller's context first) and the
  // chosen configuration. [ui thread]
  void Destroy();

  bool IsValid() const { return mContext != nullptr; }
  void* Handle() const { return mContext; }
  // Whether buffer swaps may be issued without waiting for a vertical blank.
  bool SwapIntervalZero() const { return mSwapIntervalZero; }

  // Makes this context current and remembers whatever the caller had current
  // (a host may draw with GL on the same thread). Calls nest; the outermost
  // Deactivate restores the caller's context. [ui thread]
  bool Activate();
  void Deactivate();

  // Presents the back buffer. Never waits for a vertical blank when the
  // driver allowed swap interval 0. [ui thread, context active]
  void Swap();

  // Contexts created and not yet destroyed in this process (leak checks).
  static int LiveCount() { return sLive.load(); }

private:
  _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  void* mConfig = nullptr;  // GLXFBConfig
  void* mVisual = nullptr;  // XVisualInfo*
  void* mContext = nullptr; // GLXContext
  bool mSwapIntervalZero = false;

  _XDisplay* mSavedDisplay = nullptr;
  unsigned long mSavedDraw = 0;
  unsigned long mSavedRead = 0;
  void* mSavedContext = nullptr;
  int mBorrowDepth = 0;
  static std::atomic<int> sLive;
};

} // namespace kit::gfx
