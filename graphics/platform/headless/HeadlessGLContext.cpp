#include "graphics/platform/headless/HeadlessGLContext.h"

#include <epoxy/egl.h>

#include <mutex>

namespace kit::gfx
{

namespace
{

// One display for the process: terminating it would pull it from under any
// other live context, and opening it costs more than keeping it.
EGLDisplay SharedDisplay(const char*& error)
{
  static std::once_flag once;
  static EGLDisplay display = EGL_NO_DISPLAY;
  static const char* failure = "";
  std::call_once(once,
                 []
                 {
                   if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless"))
                   {
                     failure = "EGL_MESA_platform_surfaceless is not available";
                     return;
                   }
                   // The EXT entry point: libepoxy resolves it without a current display.
                   EGLDisplay d = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA,
                                                           EGL_DEFAULT_DISPLAY, nullptr);
                   EGLint major = 0, minor = 0;
                   if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor))
                   {
                     failure = "cannot open the surfaceless EGL display";
                     return;
                   }
                   display = d;
                 });
  error = failure;
  return display;
}

} // namespace

HeadlessGLContext::~HeadlessGLContext()
{
  Destroy();
}

bool HeadlessGLContext::Create()
{
  if (mContext) return true;
  EGLDisplay display = SharedDisplay(mError);
  if (display == EGL_NO_DISPLAY) return false;
  if (!eglBindAPI(EGL_OPENGL_API))
  {
    mError = "EGL cannot bind the OpenGL API";
    return false;
  }
  // Surfaceless contexts need no config when EGL_KHR_no_config_context is
  // present; otherwise take any config that supports desktop OpenGL.
  EGLConfig config = EGL_NO_CONFIG_KHR;
  if (!epoxy_has_egl_extension(display, "EGL_KHR_no_config_context"))
  {
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, attributes, &config, 1, &count) || count < 1)
    {
      mError = "no EGL config for desktop OpenGL";
      return false;
    }
  }
  const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                               3,
                               EGL_CONTEXT_MINOR_VERSION,
                               2,
                               EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                               EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
  if (context == EGL_NO_CONTEXT)
  {
    mError = "cannot create an OpenGL 3.2 core context";
    return false;
  }
  mContext = context;
  return true;
}

void HeadlessGLContext::Destroy()
{
  if (!mContext) return;
  const char* ignored;
  EGLDisplay display = SharedDisplay(ignored);
  if (eglGetCurrentContext() == mContext)
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display, mContext);
  mContext = nullptr;
  mSaved = false;
}

bool HeadlessGLContext::MakeCurrent()
{
  if (!mContext) return false;
  const char* ignored;
  EGLDisplay display = SharedDisplay(ignored);
  mSavedContext = eglGetCurrentContext();
  mSavedDraw = eglGetCurrentSurface(EGL_DRAW);
  mSavedRead = eglGetCurrentSurface(EGL_READ);
  mSaved = true;
  if (mSavedContext == mContext) return true;
  return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, mContext) == EGL_TRUE;
}

void HeadlessGLContext::Release()
{
  if (!mSaved) return;
  mSaved = false;
  if (mSavedContext == mContext) return;
  const char* ignored;
  EGLDisplay display = SharedDisplay(ignored);
  if (mSavedContext)
    eglMakeCurrent(display, mSavedDraw, mSavedRead, mSavedContext);
  else
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

} // namespace kit::gfx
