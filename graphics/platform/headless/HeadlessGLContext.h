#pragma once

// An OpenGL 3.2 core context without any window system: EGL on Mesa's
// surfaceless platform. There is no default framebuffer; whoever draws binds
// a framebuffer object of their own (see GraphicsHeadless).
//
// The EGL display is opened once per process and shared by every context.

namespace kit::gfx
{

class HeadlessGLContext
{
public:
  HeadlessGLContext() = default;
  ~HeadlessGLContext();
  HeadlessGLContext(const HeadlessGLContext&) = delete;
  HeadlessGLContext& operator=(const HeadlessGLContext&) = delete;

  // Creates the context. False (with Error() set) when EGL, the surfaceless
  // platform or a 3.2 core context is unavailable.
  bool Create();  // [ui thread]
  void Destroy(); // [ui thread]
  bool IsValid() const { return mContext != nullptr; }

  // Makes this context current on the calling thread, remembering the
  // caller's; Release puts the caller's back.
  bool MakeCurrent(); // [ui thread]
  void Release();     // [ui thread]

  const char* Error() const { return mError; }

private:
  void* mContext = nullptr; // EGLContext
  void* mSavedContext = nullptr;
  void* mSavedDraw = nullptr;
  void* mSavedRead = nullptr;
  bool mSaved = false;
  const char* mError = "";
};

} // namespace kit::gfx
