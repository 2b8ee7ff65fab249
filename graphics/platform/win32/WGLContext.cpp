#include "graphics/platform/win32/WGLContext.h"

#include <GL/wglext.h>

namespace kit::gfx
{

std::atomic<int> WGLContext::sLive{0};

namespace
{

bool SetWindowPixelFormat(HDC dc)
{
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 24;
  pfd.cStencilBits = 8;
  pfd.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(dc, &pfd);
  if (format == 0) return false;
  // A window keeps its first pixel format; accept it when it is already ours.
  if (GetPixelFormat(dc) == format) return true;
  return SetPixelFormat(dc, format, &pfd) != FALSE;
}

} // namespace

bool WGLContext::Create(HDC dc)
{
  Destroy();
  if (!dc || !SetWindowPixelFormat(dc)) return false;

  HGLRC legacy = wglCreateContext(dc);
  if (!legacy) return false;
  if (!wglMakeCurrent(dc, legacy))
  {
    wglDeleteContext(legacy);
    return false;
  }

  auto createAttribs = reinterpret_cast<PFNWGLCREATECONTEXTATTRIBSARBPROC>(
      reinterpret_cast<void*>(wglGetProcAddress("wglCreateContextAttribsARB")));
  HGLRC core = nullptr;
  if (createAttribs)
  {
    const int attribs[] = {WGL_CONTEXT_MAJOR_VERSION_ARB,
                           3,
                           WGL_CONTEXT_MINOR_VERSION_ARB,
                           2,
                           WGL_CONTEXT_PROFILE_MASK_ARB,
                           WGL_CONTEXT_CORE_PROFILE_BIT_ARB,
                           0};
    core = createAttribs(dc, nullptr, attribs);
  }
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(legacy);
  if (!core) return false;

  if (!wglMakeCurrent(dc, core))
  {
    wglDeleteContext(core);
    return false;
  }
  mDC = dc;
  mContext = core;
  ++sLive;
  mFunctionsLoaded = LoadGLFunctions();
  return true;
}

void WGLContext::Destroy()
{
  if (!mContext) return;
  if (mBorrowDepth > 0)
  {
    mBorrowDepth = 1;
    Deactivate();
  }
  if (wglGetCurrentContext() == mContext) wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(mContext);
  mContext = nullptr;
  mDC = nullptr;
  mFunctionsLoaded = false;
  --sLive;
}

bool WGLContext::Activate()
{
  if (!mContext) return false;
  if (mBorrowDepth++ > 0) return wglGetCurrentContext() == mContext;
  mSavedDC = wglGetCurrentDC();
  mSavedContext = wglGetCurrentContext();
  if (mSavedContext == mContext) return true;
  return wglMakeCurrent(mDC, mContext) != FALSE;
}

void WGLContext::Deactivate()
{
  if (mBorrowDepth == 0 || --mBorrowDepth > 0) return;
  if (mSavedContext != mContext) wglMakeCurrent(mSavedDC, mSavedContext);
  mSavedDC = nullptr;
  mSavedContext = nullptr;
}

} // namespace kit::gfx
