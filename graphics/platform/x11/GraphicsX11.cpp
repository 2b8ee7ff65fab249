#include "graphics/platform/x11/GraphicsX11.h"

#include "framework/GraphicsEditorDelegate.h"
#include "framework/IParam.h"
#include "graphics/DrawnPopupMenu.h"
#include "graphics/DrawnTextEntry.h"
#include "graphics/DrawnTooltip.h"
#include "graphics/EmbeddedOrFileResources.h"
#include "graphics/GraphicsDelegateLink.h"
#include "graphics/IRECTList.h"
#include "graphics/TextEntryRules.h"
#include "graphics/WindowRules.h"

// X after the framework: its macros would rename framework identifiers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace kit::gfx
{
namespace
{

int gOpenWindows = 0;

// While the window closes: a host may have destroyed its own window (and ours
// with it) already, and the default handler would end the host over that.
int IgnoreXError(Display*, XErrorEvent*)
{
  return 0;
}

// Link openers still running when their editor closed; reaped by later editors.
std::vector<pid_t> gChildren;

// How long a paste waits for the selection owner's answer. Pasting is a user's
// request; an owner that does not answer costs this much once, never more.
constexpr auto kPasteTimeout = std::chrono::milliseconds(250);

// Xft.dpi from the X resource database (the root window's RESOURCE_MANAGER as
// it was when this connection opened); none set is scale 1.
float ScreenScaleFromResources(Display* display)
{
  const char* resources = XResourceManagerString(display);
  if (!resources) return 1.f;
  XrmInitialize();
  XrmDatabase db = XrmGetStringDatabase(resources);
  if (!db) return 1.f;
  char* type = nullptr;
  XrmValue value{};
  double dpi = 0.0;
  if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr && value.size > 0)
    dpi = std::strtod(std::string(value.addr, value.size).c_str(), nullptr);
  XrmDestroyDatabase(db);
  return ScreenScaleFromXftDpi(dpi);
}

} // namespace

GraphicsX11::GraphicsX11(GraphicsEditorDelegate* pDelegate, int w, int h, int fps, float scale)
    : GraphicsNanoVG(pDelegate, w, h, fps, scale)
{
}

GraphicsX11::~GraphicsX11()
{
  CloseWindow();
}

int GraphicsX11::OpenWindowCount()
{
  return gOpenWindows;
}

void* GraphicsX11::GetWindow()
{
  return mWindow ? reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)) : nullptr;
}

float GraphicsX11::ToLogical(int devicePixels) const
{
  return static_cast<float>(devicePixels) / GetBackingPixelScale();
}

// -------------------------------------------------------------------------------------------------
// Window lifetime

void* GraphicsX11::OpenWindow(void* pParent)
{
  if (mDisplay)
  {
    // Opened again without a close: start over rather than lay the editor out twice.
    CloseWindow();
    RemoveAllControls();
    mMenu = nullptr;
    mTextEntry = nullptr;
  }
  // Linux hosts always name the window the editor goes into.
  if (!pParent) return nullptr;
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return nullptr;
  // Link openers started from here must not inherit the connection.
  fcntl(ConnectionNumber(mDisplay), F_SETFD, FD_CLOEXEC);

  const int screen = DefaultScreen(mDisplay);
  mParent = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(pParent));
  mScreenScaleFromDpi = ScreenScaleFromResources(mDisplay);
  mAtomClipboard = XInternAtom(mDisplay, "CLIPBOARD", False);
  mAtomUtf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
  mAtomTargets = XInternAtom(mDisplay, "TARGETS", False);
  mAtomProperty = XInternAtom(mDisplay, "TRAZELLE_SELECTION", False);

  // Without a GL visual the window still opens; it draws nothing.
  auto* visual = static_cast<XVisualInfo*>(mGL.ChooseConfig(mDisplay));
  XSetWindowAttributes attributes{};
  unsigned long mask = CWEventMask | CWBorderPixel;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask |
                          FocusChangeMask | StructureNotifyMask;
  if (visual)
  {
    mColormap = XCreateColormap(mDisplay, RootWindow(mDisplay, screen), visual->visual, AllocNone);
    attributes.colormap = mColormap;
    mask |= CWColormap;
  }
  // The size follows the screen scale from the start, as the first tick would make it.
  const int w = std::max(1, WindowPixels(Width(), mScreenScaleFromDpi));
  const int h = std::max(1, WindowPixels(Height(), mScreenScaleFromDpi));
  mWindow =
      XCreateWindow(mDisplay, mParent, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                    visual ? visual->depth : static_cast<int>(CopyFromParent), InputOutput,
                    visual ? visual->visual : nullptr, mask, &attributes);
  if (!mWindow)
  {
    CloseWindow();
    return nullptr;
  }
  ++gOpenWindows;
  XStoreName(mDisplay, mWindow, "Trazelle");
  XMapWindow(mDisplay, mWindow);
  XSync(mDisplay, False);

  if (visual && mGL.Create(mWindow) && mGL.Activate())
  {
    OnViewInitialized(mGL.Handle());
    mViewInitialized = GetDrawContext() != nullptr;
    mGL.Deactivate();
  }

  auto* menu = new DrawnPopupMenu();
  auto* entry = new DrawnTextEntry();
  AttachPopupMenuControl(menu);
  AttachTextEntryControl(entry);
  mMenu = menu;
  mTextEntry = entry;
  if (TooltipsEnabled()) AttachTooltipControl(new DrawnTooltip());

  SetScreenScale(mScreenScaleFromDpi); // also creates the drawing surface
  if (auto* dlg = GetDelegate()) dlg->LayoutUI(this);
  SetAllControlsDirty();
  if (auto* dlg = GetDelegate()) dlg->OnUIOpen();
  XFlush(mDisplay);
  return GetWindow();
}

void GraphicsX11::CloseWindow()
{
  if (!mDisplay) return;
  auto* previousHandler = XSetErrorHandler(&IgnoreXError);
  XSync(mDisplay, False);
  ReleaseHeldButtons();
  if (mTextEntry) mTextEntry->Close();
  if (mMenu) mMenu->Close();

  if (mGL.IsValid())
  {
    mGL.Activate();
    if (mViewInitialized) OnViewDestroyed();
    mViewInitialized = false;
    mGL.Deactivate();
  }
  mGL.Destroy();

  for (unsigned long& cursor : mCursors)
  {
    if (cursor) XFreeCursor(mDisplay, cursor);
    cursor = 0;
  }
  if (mBlankCursor) XFreeCursor(mDisplay, mBlankCursor);
  mBlankCursor = 0;
  mCursorHidden = false;
  if (mWindow)
  {
    XDestroyWindow(mDisplay, mWindow);
    --gOpenWindows;
  }
  if (mColormap) XFreeColormap(mDisplay, mColormap);
  XSync(mDisplay, False);
  XSetErrorHandler(previousHandler);
  XCloseDisplay(mDisplay);
  mDisplay = nullptr;
  mWindow = mParent = mColormap = 0;
  mInvalid.clear();
  mClipboardText.clear();
  ReapChildren();
}

void GraphicsX11::PlatformResize(bool resizeParent)
{
  if (!mWindow) return;
  XWindowAttributes old{};
  XGetWindowAttributes(mDisplay, mWindow, &old);
  const int w = WindowWidth(), h = WindowHeight();
  XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(w), static_cast<unsigned>(h));
  if (resizeParent)
  {
    // The host did not resize itself: grow its window by the same amount.
    XWindowAttributes parent{};
    if (XGetWindowAttributes(mDisplay, mParent, &parent))
      XResizeWindow(mDisplay, mParent,
                    static_cast<unsigned>(std::max(1, parent.width + w - old.width)),
                    static_cast<unsigned>(std::max(1, parent.height + h - old.height)));
  }
  XFlush(mDisplay);
}

void GraphicsX11::ActivateGLContext()
{
  mGL.Activate();
}

void GraphicsX11::DeactivateGLContext()
{
  mGL.Deactivate();
}

// -------------------------------------------------------------------------------------------------
// Display tick

void GraphicsX11::PlatformIdle()
{
  if (!mDisplay) return;
  ++mIdleCount;
  ReapChildren();
  DrainEvents();
  if (mDisplay) DisplayTick();
}

void GraphicsX11::DisplayTick()
{
  if (mTextEntry) mTextEntry->ProcessRequest();
  OnDisplayTick();
  // Exposed areas with nothing dirty still need their pixels back.
  if (!mInvalid.empty()) PlatformRepaint();
  XFlush(mDisplay);
}

void GraphicsX11::PlatformInvalidate(const IRECT& deviceRect)
{
  mInvalid.push_back(deviceRect);
}

void GraphicsX11::PlatformRepaint()
{
  if (!mWindow || mInvalid.empty()) return;
  if (!mViewInitialized)
  {
    mInvalid.clear();
    return;
  }
  // Back to logical pixels, widened to whole pixels.
  const float scale = GetBackingPixelScale();
  IRECTList rects;
  for (const IRECT& r : mInvalid)
  {
    const LogicalRect l = DeviceToLogicalOutward(
        static_cast<int>(std::floor(r.L)), static_cast<int>(std::floor(r.T)),
        static_cast<int>(std::ceil(r.R)), static_cast<int>(std::ceil(r.B)), scale);
    rects.Add(IRECT(l.L, l.T, l.R, l.B));
  }
  mInvalid.clear();
  ActivateGLContext();
  // The one place a frame is presented, and only when one was drawn.
  if (Draw(rects))
  {
    mGL.Swap();
    ++mFrameCount;
  }
  DeactivateGLContext();
}

void GraphicsX11::ReapChildren()
{
  std::erase_if(gChildren, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

// -------------------------------------------------------------------------------------------------
// Cursor

void GraphicsX11::GetMouseLocation(float& x, float& y) const
{
  x = mLastX;
  y = mLastY;
  if (!mWindow) return;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned mask = 0;
  if (XQueryPointer(mDisplay, mWindow, &root, &child, &rootX, &rootY, &winX, &winY, &mask))
  {
    x = ToLogical(winX);
    y = ToLogical(winY);
  }
}

void GraphicsX11::HideMouseCursor(bool hide, bool lock)
{
  if (!mWindow || hide == mCursorHidden) return;
  if (hide)
  {
    if (!mBlankCursor)
    {
      static const char empty[1] = {0};
      Pixmap pixmap = XCreateBitmapFromData(mDisplay, mWindow, empty, 1, 1);
      XColor black{};
      mBlankCursor = XCreatePixmapCursor(mDisplay, pixmap, pixmap, &black, &black, 0, 0);
      XFreePixmap(mDisplay, pixmap);
    }
    Window root = 0, child = 0;
    int winX = 0, winY = 0;
    unsigned mask = 0;
    XQueryPointer(mDisplay, mWindow, &root, &child, &mHiddenX, &mHiddenY, &winX, &winY, &mask);
    mCursorLock = lock && !GetTabletInput();
    XDefineCursor(mDisplay, mWindow, mBlankCursor);
    mCursorHidden = true;
  }
  else
  {
    if (mCursorLock)
      XWarpPointer(mDisplay, 0, RootWindow(mDisplay, DefaultScreen(mDisplay)), 0, 0, 0, 0, mHiddenX,
                   mHiddenY);
    mCursorHidden = false;
    mCursorLock = false;
    SetMouseCursor(GetMouseCursor());
  }
  XFlush(mDisplay);
}

void GraphicsX11::MoveMouseCursor(float x, float y)
{
  if (!mWindow || GetTabletInput()) return;
  const float scale = GetBackingPixelScale();
  XWarpPointer(mDisplay, 0, mWindow, 0, 0, 0, 0, LogicalToDevice(x, scale),
               LogicalToDevice(y, scale));
  XFlush(mDisplay);
  mLastX = x;
  mLastY = y;
}

ECursor GraphicsX11::SetMouseCursor(ECursor cursorType)
{
  const ECursor previous = GraphicsContext::SetMouseCursor(cursorType);
  if (!mWindow || mCursorHidden) return previous;
  // The framework's cursor set, in order, as X font cursors.
  static constexpr unsigned kShapes[14] = {XC_left_ptr,
                                           XC_xterm,
                                           XC_watch,
                                           XC_crosshair,
                                           XC_sb_up_arrow,
                                           XC_bottom_right_corner,
                                           XC_bottom_left_corner,
                                           XC_sb_h_double_arrow,
                                           XC_sb_v_double_arrow,
                                           XC_fleur,
                                           XC_X_cursor,
                                           XC_hand2,
                                           XC_watch,
                                           XC_question_arrow};
  auto index = static_cast<size_t>(cursorType);
  if (index >= mCursors.size()) index = 0;
  if (!mCursors[index]) mCursors[index] = XCreateFontCursor(mDisplay, kShapes[index]);
  XDefineCursor(mDisplay, mWindow, mCursors[index]);
  XFlush(mDisplay);
  return previous;
}

// -------------------------------------------------------------------------------------------------
// Services

bool GraphicsX11::SetTextInClipboard(const char* str)
{
  if (!mWindow || !str || !*str) return false;
  mClipboardText = str;
  XSetSelectionOwner(mDisplay, mAtomClipboard, mWindow, CurrentTime);
  XFlush(mDisplay);
  return XGetSelectionOwner(mDisplay, mAtomClipboard) == mWindow;
}

bool GraphicsX11::GetTextFromClipboard(std::string& str)
{
  str.clear();
  if (!mWindow) return false;
  const Window owner = XGetSelectionOwner(mDisplay, mAtomClipboard);
  if (owner == mWindow)
  {
    str = mClipboardText;
    return !str.empty();
  }
  if (owner == 0) return false;
  XDeleteProperty(mDisplay, mWindow, mAtomProperty);
  XConvertSelection(mDisplay, mAtomClipboard, mAtomUtf8, mAtomProperty, mWindow, CurrentTime);
  XFlush(mDisplay);

  // Other events stay queued for the next idle call.
  const auto deadline = std::chrono::steady_clock::now() + kPasteTimeout;
  XEvent event{};
  bool answered = false;
  while (!answered)
  {
    if (XCheckTypedWindowEvent(mDisplay, mWindow, SelectionNotify, &event))
    {
      answered = true;
      break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd fd{ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
    XPending(mDisplay);
  }
  if (!answered || event.xselection.property == 0) return false;

  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(mDisplay, mWindow, mAtomProperty, 0, 1 << 16, True, AnyPropertyType, &type,
                         &format, &count, &remaining, &data) == Success &&
      data && format == 8)
    str.assign(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  return !str.empty();
}

EMsgBoxResult GraphicsX11::ShowMessageBox(const char* str, const char* caption, EMsgBoxType type,
                                          IMsgBoxCompletionHandlerFunc completionHandler)
{
  // No native message boxes on X11: the text goes to the host's log, and a
  // question counts as declined so that nothing happens unasked.
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "Trazelle", str ? str : "");
  EMsgBoxResult result = EMsgBoxResult::Cancel;
  if (type == EMsgBoxType::OK) result = EMsgBoxResult::OK;
  if (type == EMsgBoxType::YesNo) result = EMsgBoxResult::No;
  if (completionHandler) completionHandler(result);
  return result;
}

void GraphicsX11::PromptForFile(std::string& fileName, std::string& path, EFileAction, const char*)
{
  fileName.clear();
  path.clear();
}

void GraphicsX11::PromptForDirectory(std::string& dir)
{
  dir.clear();
}

bool GraphicsX11::PromptForColor(IColor&, const char*, IColorPickerHandlerFunc)
{
  return false;
}

bool GraphicsX11::OpenURL(const char* url, const char* msgWindowTitle, const char* confirmMsg,
                          const char* errMsgOnFailure)
{
  if (!url || !*url) return false;
  if (confirmMsg &&
      ShowMessageBox(confirmMsg, msgWindowTitle, EMsgBoxType::YesNo) != EMsgBoxResult::Yes)
    return false;
  // No shell, and never waited for: the opener is reaped on later idle calls.
  std::string target = url;
  char program[] = "xdg-open";
  char* argv[] = {program, target.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) == 0)
  {
    gChildren.push_back(pid);
    return true;
  }
  if (errMsgOnFailure) ShowMessageBox(errMsgOnFailure, msgWindowTitle, EMsgBoxType::OK);
  return false;
}

// -------------------------------------------------------------------------------------------------
// Prompts

void GraphicsX11::CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                          int length, const char* str)
{
  if (!mTextEntry) return;
  int paramType = kTextEntryNoParam;
  if (const IParam* param = detail::GetDelegateParam(GetDelegate(), paramIdx))
    paramType = static_cast<int>(param->Type());
  mTextEntry->Open(text, bounds, paramType, length, str);
}

void GraphicsX11::EndPlatformTextEntry()
{
  if (mTextEntry) mTextEntry->Close();
}

IPopupMenu* GraphicsX11::CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                                 bool& isAsync)
{
  isAsync = true;
  if (!mMenu) return nullptr;
  // The menu takes the look of the control that asked for it.
  const IControl* requester = GetControlInPopupMenu();
  mMenu->Open(menu, bounds, requester ? requester->GetText() : IText());
  return nullptr;
}

// -------------------------------------------------------------------------------------------------
// Resources

std::vector<uint8_t> GraphicsX11::LoadResourceData(const char* fileNameOrResID, const char* ext)
{
  return LoadEmbeddedOrFile(fileNameOrResID, ext, {});
}

EResourceLocation GraphicsX11::LocateResource(const char* fileNameOrResID, const char* ext,
                                              std::string& result)
{
  return LocateEmbeddedOrFile(fileNameOrResID, ext, {}, result);
}

PlatformFontPtr GraphicsX11::LoadPlatformFont(const char*, const char* fileNameOrResID)
{
  return LoadFontEmbeddedOrFile(fileNameOrResID, {});
}

} // namespace kit::gfx
