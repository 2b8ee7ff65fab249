#include "graphics/platform/headless/GraphicsHeadless.h"

#include "framework/GraphicsEditorDelegate.h"
#include "graphics/EmbeddedOrFileResources.h"
#include "graphics/GLHeaders.h"
#include "graphics/GraphicsDelegateLink.h"
#include "graphics/IPopupMenu.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kit::gfx
{

GraphicsHeadless::GraphicsHeadless(GraphicsEditorDelegate* pDelegate, int w, int h, int fps,
                                   float scale)
    : GraphicsNanoVG(pDelegate, w, h, fps, scale)
{
}

GraphicsHeadless::~GraphicsHeadless()
{
  CloseWindow();
}

void* GraphicsHeadless::OpenWindow(void*)
{
  CloseWindow();
  mError.clear();
  if (!mGL.Create() || !mGL.MakeCurrent())
  {
    mError = mGL.Error();
    if (mError.empty()) mError = "cannot make the OpenGL context current";
    mGL.Destroy();
    return nullptr;
  }
  OnViewInitialized(nullptr);
  if (!GetDrawContext() || !CreateWindowFramebuffer())
  {
    mError = GetDrawContext() ? "cannot create the window framebuffer"
                              : "cannot create the NanoVG context";
    OnViewDestroyed();
    DeleteWindowFramebuffer();
    mGL.Destroy();
    return nullptr;
  }
  GraphicsNanoVG::DrawResize();
  mOpen = true;
  detail::LayoutUI(GetDelegate(), *this);
  SetAllControlsDirty();
  // As a real window does once it is up: the plug-in brings the controls up to date.
  if (auto* dlg = GetDelegate()) dlg->OnUIOpen();
  return this;
}

void GraphicsHeadless::CloseWindow()
{
  if (!mGL.IsValid()) return;
  mGL.MakeCurrent();
  OnViewDestroyed();
  DeleteWindowFramebuffer();
  mGL.Destroy();
  mOpen = false;
  mInvalid.clear();
  mTextEntryOpen = false;
  mPendingText.reset();
}

bool GraphicsHeadless::CreateWindowFramebuffer()
{
  DeleteWindowFramebuffer();
  const int w = WindowWidth(), h = WindowHeight();
  if (w <= 0 || h <= 0) return false;
  GLuint fbo = 0, color = 0;
  glGenFramebuffers(1, &fbo);
  glGenRenderbuffers(1, &color);
  glBindRenderbuffer(GL_RENDERBUFFER, color);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  mWindowFBO = fbo;
  mWindowColor = color;
  mWindowW = w;
  mWindowH = h;
  if (!complete)
  {
    DeleteWindowFramebuffer();
    return false;
  }
  // A new window starts transparent.
  glViewport(0, 0, w, h);
  glClearColor(0.f, 0.f, 0.f, 0.f);
  glClear(GL_COLOR_BUFFER_BIT);
  return true;
}

void GraphicsHeadless::DeleteWindowFramebuffer()
{
  if (mWindowFBO)
  {
    GLuint fbo = mWindowFBO;
    glDeleteFramebuffers(1, &fbo);
  }
  if (mWindowColor)
  {
    GLuint color = mWindowColor;
    glDeleteRenderbuffers(1, &color);
  }
  mWindowFBO = mWindowColor = 0;
  mWindowW = mWindowH = 0;
}

void GraphicsHeadless::DrawResize()
{
  if (!mOpen) return;
  mGL.MakeCurrent();
  CreateWindowFramebuffer();
  GraphicsNanoVG::DrawResize();
}

void GraphicsHeadless::ActivateGLContext()
{
  mGL.MakeCurrent();
}

void GraphicsHeadless::DeactivateGLContext()
{
  mGL.Release();
}

bool GraphicsHeadless::Tick()
{
  if (!mOpen) return false;
  mGL.MakeCurrent();
  // Like a native edit control, a text entry commits on the tick after it
  // was answered, never inside the call that opened it.
  if (mTextEntryOpen)
  {
    mTextEntryOpen = false;
    if (std::optional<std::string> text = std::exchange(mPendingText, std::nullopt))
      SetControlValueAfterTextEdit(text->c_str());
    else
      ClearInTextEntryControl(); // cancelled: the control keeps its value, input flows again
  }
  const int frames = mFrameCount;
  OnDisplayTick();
  return mFrameCount != frames;
}

void GraphicsHeadless::PlatformInvalidate(const IRECT& deviceRect)
{
  mInvalid.push_back(deviceRect);
}

void GraphicsHeadless::PlatformRepaint()
{
  if (!mOpen || mInvalid.empty()) return;
  mGL.MakeCurrent();
  // Back to logical pixels, widened to whole pixels, as a window's paint
  // handler receives its update region.
  const float scale = GetBackingPixelScale();
  IRECTList rects;
  for (const IRECT& r : mInvalid)
    rects.Add(IRECT(std::floor(r.L / scale), std::floor(r.T / scale), std::ceil(r.R / scale),
                    std::ceil(r.B / scale)));
  mInvalid.clear();
  if (Draw(rects)) ++mFrameCount;
}

void GraphicsHeadless::DrawAll()
{
  if (!mOpen) return;
  mGL.MakeCurrent();
  IRECTList rects;
  rects.Add(GetBounds());
  Draw(rects);
  ++mFrameCount;
}

std::vector<uint8_t> GraphicsHeadless::ReadPixels()
{
  if (!mOpen || !mWindowFBO) return {};
  mGL.MakeCurrent();
  const size_t w = static_cast<size_t>(mWindowW), h = static_cast<size_t>(mWindowH);
  std::vector<uint8_t> bottomUp(w * h * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mWindowFBO);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, mWindowW, mWindowH, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  // OpenGL counts rows from the bottom; callers expect the top row first.
  std::vector<uint8_t> rgba(bottomUp.size());
  for (size_t row = 0; row < h; ++row)
    std::copy_n(bottomUp.data() + (h - 1 - row) * w * 4, w * 4, rgba.data() + row * w * 4);
  return rgba;
}

IColor GraphicsHeadless::ReadPixel(int x, int y)
{
  if (!mOpen || !mWindowFBO || x < 0 || y < 0 || x >= mWindowW || y >= mWindowH)
    return COLOR_TRANSPARENT;
  mGL.MakeCurrent();
  uint8_t p[4] = {0, 0, 0, 0};
  glBindFramebuffer(GL_READ_FRAMEBUFFER, mWindowFBO);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, mWindowH - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  return IColor(p[3], p[0], p[1], p[2]);
}

std::vector<uint8_t> GraphicsHeadless::LoadResourceData(const char* fileNameOrResID,
                                                        const char* ext)
{
  return LoadEmbeddedOrFile(fileNameOrResID, ext, mResourceDirs);
}

EResourceLocation GraphicsHeadless::LocateResource(const char* fileNameOrResID, const char* ext,
                                                   std::string& result)
{
  return LocateEmbeddedOrFile(fileNameOrResID, ext, mResourceDirs, result);
}

PlatformFontPtr GraphicsHeadless::LoadPlatformFont(const char*, const char* fileNameOrResID)
{
  return LoadFontEmbeddedOrFile(fileNameOrResID, mResourceDirs);
}

void GraphicsHeadless::GetMouseLocation(float& x, float& y) const
{
  x = mMouseX;
  y = mMouseY;
}

void GraphicsHeadless::HideMouseCursor(bool, bool) {}

void GraphicsHeadless::MoveMouseCursor(float x, float y)
{
  mMouseX = x;
  mMouseY = y;
}

bool GraphicsHeadless::GetTextFromClipboard(std::string& str)
{
  str = mClipboard;
  return !mClipboard.empty();
}

bool GraphicsHeadless::SetTextInClipboard(const char* str)
{
  if (!str || !*str) return false;
  mClipboard = str;
  return true;
}

EMsgBoxResult GraphicsHeadless::ShowMessageBox(const char* str, const char* caption,
                                               EMsgBoxType type,
                                               IMsgBoxCompletionHandlerFunc completionHandler)
{
  mMessageBoxes.push_back({str ? str : "", caption ? caption : "", type});
  if (completionHandler) completionHandler(mMessageBoxAnswer);
  return mMessageBoxAnswer;
}

void GraphicsHeadless::PromptForFile(std::string& fileName, std::string& path, EFileAction,
                                     const char*)
{
  fileName.clear();
  path.clear();
}

void GraphicsHeadless::PromptForDirectory(std::string& dir)
{
  dir.clear();
}

bool GraphicsHeadless::PromptForColor(IColor&, const char*, IColorPickerHandlerFunc)
{
  return false;
}

bool GraphicsHeadless::OpenURL(const char* url, const char* msgWindowTitle, const char* confirmMsg,
                               const char* errMsgOnFailure)
{
  if (!url) return false;
  if (confirmMsg && *confirmMsg &&
      ShowMessageBox(confirmMsg, msgWindowTitle, EMsgBoxType::YesNo) != EMsgBoxResult::Yes)
    return false;
  if (!mOpenURLResult)
  {
    if (errMsgOnFailure && *errMsgOnFailure)
      ShowMessageBox(errMsgOnFailure, msgWindowTitle, EMsgBoxType::OK);
    return false;
  }
  mOpenedURLs.emplace_back(url);
  return true;
}

void GraphicsHeadless::CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                               int length, const char* str)
{
  const std::string initial = str ? str : "";
  mTextEntries.push_back({initial, bounds, paramIdx, length});
  mTextEntryOpen = true;
  mPendingText = mTextEntryAnswer ? mTextEntryAnswer(initial, text, bounds, paramIdx)
                                  : std::optional<std::string>();
}

IPopupMenu* GraphicsHeadless::CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                                      bool& isAsync)
{
  isAsync = false;
  PopupMenuRecord record;
  record.bounds = bounds;
  for (int i = 0; i < menu.NItems(); ++i)
    record.items.push_back(menu.GetDisplayText(i));
  const int chosen = mPopupAnswer ? mPopupAnswer(menu, bounds) : -1;
  const IPopupMenu::Item* pItem = menu.GetItem(chosen);
  const bool valid =
      pItem && pItem->GetEnabled() && !pItem->GetIsSeparator() && !pItem->GetSubmenu();
  record.chosen = valid ? chosen : -1;
  mPopupMenus.push_back(std::move(record));
  if (!valid)
  {
    menu.SetChosenItemIdx(-1);
    return nullptr;
  }
  menu.SetChosenItemIdx(chosen);
  if (menu.HasFunction()) menu.ExecFunction();
  return &menu;
}

} // namespace kit::gfx
