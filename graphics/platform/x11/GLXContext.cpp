#include "graphics/platform/x11/GLXContext.h"

#include <epoxy/glx.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace kit::gfx
{

std::atomic<int> GLXWindowContext::sLive{0};

namespace
{

// A refused context arrives as an X protocol error, which by default ends the
// host. The handler is process-wide: it is swapped in only around the call.
bool gCreateFailed = false;

int NoteCreateError(Display*, XErrorEvent*)
{
  gCreateFailed = true;
  return 0;
}

} // namespace

void* GLXWindowContext::ChooseConfig(_XDisplay* display)
{
  Destroy();
  mDisplay = display;
  const int screen = DefaultScreen(display);
  int major = 0, minor = 0;
  if (!glXQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 3))
    return nullptr;
  const int attributes[] = {GLX_X_RENDERABLE,
                            True,
                            GLX_DRAWABLE_TYPE,
                            GLX_WINDOW_BIT,
                            GLX_RENDER_TYPE,
                            GLX_RGBA_BIT,
                            GLX_X_VISUAL_TYPE,
                            GLX_TRUE_COLOR,
                            GLX_DOUBLEBUFFER,
                            True,
                            GLX_RED_SIZE,
                            8,
                            GLX_GREEN_SIZE,
                            8,
                            GLX_BLUE_SIZE,
                            8,
                            GLX_ALPHA_SIZE,
                            8,
                            GLX_STENCIL_SIZE,
                            8,
                            0};
  int count = 0;
  GLXFBConfig* configs = glXChooseFBConfig(display, screen, attributes, &count);
  if (!configs || count <= 0)
  {
    if (configs) XFree(configs);
    return nullptr;
  }
  mConfig = configs[0];
  XFree(configs);
  mVisual = glXGetVisualFromFBConfig(display, static_cast<GLXFBConfig>(mConfig));
  if (!mVisual) mConfig = nullptr;
  return mVisual;
}

bool GLXWindowContext::Create(unsigned long window)
{
  if (!mDisplay || !mConfig || mContext) return mContext != nullptr;
  const int screen = DefaultScreen(mDisplay);
  if (!epoxy_has_glx_extension(mDisplay, screen, "GLX_ARB_create_context_profile")) return false;

  const int attributes[] = {GLX_CONTEXT_MAJOR_VERSION_ARB,
                            3,
                            GLX_CONTEXT_MINOR_VERSION_ARB,
                            2,
                            GLX_CONTEXT_PROFILE_MASK_ARB,
                            GLX_CONTEXT_CORE_PROFILE_BIT_ARB,
                            GLX_CONTEXT_FLAGS_ARB,
                            GLX_CONTEXT_FORWARD_COMPATIBLE_BIT_ARB,
                            0};
  XSync(mDisplay, False);
  gCreateFailed = false;
  auto* previousHandler = XSetErrorHandler(&NoteCreateError);
  GLXContext context = glXCreateContextAttribsARB(mDisplay, static_cast<GLXFBConfig>(mConfig),
                                                  nullptr, True, attributes);
  XSync(mDisplay, False);
  XSetErrorHandler(previousHandler);
  if (!context || gCreateFailed)
  {
    if (context) glXDestroyContext(mDisplay, context);
    return false;
  }
  mContext = context;
  mWindow = window;
  ++sLive;

  if (Activate())
  {
    // A swap that waits for the vertical blank would hold the host's idle call.
    if (epoxy_has_glx_extension(mDisplay, screen, "GLX_EXT_swap_control"))
    {
      glXSwapIntervalEXT(mDisplay, window, 0);
      mSwapIntervalZero = true;
    }
    else if (epoxy_has_glx_extension(mDisplay, screen, "GLX_MESA_swap_control"))
    {
      mSwapIntervalZero = glXSwapIntervalMESA(0) == 0;
    }
    Deactivate();
  }
  return true;
}

void GLXWindowContext::Destroy()
{
  if (mContext)
  {
    while (mBorrowDepth > 0)
      Deactivate();
    if (glXGetCurrentContext() == static_cast<GLXContext>(mContext))
      glXMakeCurrent(mDisplay, 0, nullptr);
    glXDestroyContext(mDisplay, static_cast<GLXContext>(mContext));
    mContext = nullptr;
    --sLive;
  }
  if (mVisual) XFree(mVisual);
  mVisual = nullptr;
  mConfig = nullptr;
  mWindow = 0;
  mSwapIntervalZero = false;
}

bool GLXWindowContext::Activate()
{
  if (!mContext) return false;
  if (mBorrowDepth++ == 0)
  {
    mSavedContext = glXGetCurrentContext();
    mSavedDisplay = mSavedContext ? glXGetCurrentDisplay() : nullptr;
    mSavedDraw = mSavedContext ? glXGetCurrentDrawable() : 0;
    mSavedRead = mSavedContext ? glXGetCurrentReadDrawable() : 0;
  }
  return glXMakeCurrent(mDisplay, mWindow, static_cast<GLXContext>(mContext)) == True;
}

void GLXWindowContext::Deactivate()
{
  if (mBorrowDepth == 0 || --mBorrowDepth > 0) return;
  if (mSavedContext && mSavedDisplay)
    glXMakeContextCurrent(mSavedDisplay, mSavedDraw, mSavedRead,
                          static_cast<GLXContext>(mSavedContext));
  else
    glXMakeCurrent(mDisplay, 0, nullptr);
  mSavedContext = nullptr;
  mSavedDisplay = nullptr;
  mSavedDraw = mSavedRead = 0;
}

void GLXWindowContext::Swap()
{
  if (mContext) glXSwapBuffers(mDisplay, mWindow);
}

} // namespace kit::gfx
