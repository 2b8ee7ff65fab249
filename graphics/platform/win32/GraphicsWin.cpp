#include "graphics/platform/win32/GraphicsWin.h"

#include "framework/GraphicsEditorDelegate.h"
#include "graphics/WindowRules.h"
#include "graphics/platform/win32/ModuleResources.h"
#include "graphics/platform/win32/WinFontCache.h"
#include "graphics/platform/win32/WinStrings.h"

#include <commctrl.h>
#include <shellapi.h>
#include <wininet.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace kit::gfx
{
namespace
{

constexpr wchar_t kWindowClass[] = L"PluginWndClass";
constexpr wchar_t kWindowTitle[] = L"Plugin";

// Windows of the process that share the registered class. Touched only on
// UI threads; hosts run every editor on one.
int gWindowClassUsers = 0;
int gOpenWindows = 0;

// Windows 8 (6.2) and later wait for vertical blanks; earlier versions tick
// from a timer. Asked through ntdll because GetVersionEx reports 6.2 to
// modules without a compatibility manifest.
bool SystemHasVBlankWait()
{
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto getVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                                reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                          : nullptr;
  if (!getVersion || getVersion(&info) != 0) return false;
  return SupportsVBlankWaiter(info.dwMajorVersion, info.dwMinorVersion);
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn DpiForWindowFunction()
{
  static const GetDpiForWindowFn fn = []
  {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
  }();
  return fn;
}

int ScreenScaleOf(HWND hWnd)
{
  const GetDpiForWindowFn fn = DpiForWindowFunction();
  return ScreenScaleFromDpi(fn && hWnd ? fn(hWnd) : 0);
}

} // namespace

GraphicsWin::GraphicsWin(GraphicsEditorDelegate* pDelegate, int w, int h, int fps, float scale)
    : GraphicsNanoVG(pDelegate, w, h, fps, scale), mVBlankMode(SystemHasVBlankWait())
{
  WinFontCache::Retain();
}

GraphicsWin::~GraphicsWin()
{
  CloseWindow();
  WinFontCache::Release();
}

int GraphicsWin::OpenWindowCount()
{
  return gOpenWindows;
}

HINSTANCE GraphicsWin::Instance() const
{
  // The plug-in records its module at load; a host-side test without one
  // falls back to the executable.
  auto* instance = static_cast<HINSTANCE>(const_cast<GraphicsWin*>(this)->GetWinModuleHandle());
  return instance ? instance : GetModuleHandleW(nullptr);
}

float GraphicsWin::ToLogical(int devicePixels) const
{
  return static_cast<float>(devicePixels) / GetBackingPixelScale();
}

// -------------------------------------------------------------------------------------------------
// Window lifetime

void* GraphicsWin::OpenWindow(void* pParent)
{
  mParentWnd = static_cast<HWND>(pParent);
  const int screenScale = ScreenScaleOf(mParentWnd);

  int x = 0, y = 0;
  if (mPlugWnd)
  {
    // Reopening keeps the window where it was inside its parent.
    RECT r;
    GetWindowRect(mPlugWnd, &r);
    POINT topLeft{r.left, r.top};
    ScreenToClient(mParentWnd, &topLeft);
    x = topLeft.x;
    y = topLeft.y;
    CloseWindow();
  }

  const int w = static_cast<int>(Width() * GetDrawScale()) * screenScale;
  const int h = static_cast<int>(Height() * GetDrawScale()) * screenScale;

  if (gWindowClassUsers++ == 0)
  {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = &GraphicsWin::WndProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
  }

  mPlugWnd = CreateWindowW(kWindowClass, kWindowTitle,
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y, w, h,
                           mParentWnd, nullptr, Instance(), this);
  if (!mPlugWnd)
  {
    if (--gWindowClassUsers == 0) UnregisterClassW(kWindowClass, Instance());
    StopDisplayTick();
    return nullptr;
  }
  ++gOpenWindows;

  // The host may have a context of its own current; it gets it back below.
  HDC hostDC = wglGetCurrentDC();
  HGLRC hostContext = wglGetCurrentContext();
  // A failed context leaves a window that draws nothing; the editor still
  // lays out so that it can be closed and reopened normally.
  if (mGL.Create(mDC) && mGL.FunctionsLoaded())
  {
    OnViewInitialized(mGL.Handle());
    mViewInitialized = true;
  }
  SetScreenScale(screenScale);
  if (auto* dlg = GetDelegate()) dlg->LayoutUI(this);

  if (MultiTouchEnabled() && PlatformSupportsMultiTouch()) RegisterTouchWindow(mPlugWnd, 0);
  SetAllControlsDirty();
  if (TooltipsEnabled()) CreateTooltipWindow();

  if (mGL.IsValid()) wglMakeCurrent(hostDC, hostContext);
  if (auto* dlg = GetDelegate()) dlg->OnUIOpen();
  return mPlugWnd;
}

void GraphicsWin::CloseWindow()
{
  if (!mPlugWnd) return;
  StopDisplayTick();

  if (mGL.IsValid())
  {
    mGL.Activate();
    if (mViewInitialized) OnViewDestroyed();
    mViewInitialized = false;
    mGL.Deactivate();
    mGL.Destroy();
  }

  DestroyEditWindow();
  mTextEntry.Reset();
  DestroyTooltipWindow();
  if (mCursorHidden) HideMouseCursor(false, false);

  DestroyWindow(mPlugWnd);
  mPlugWnd = nullptr;
  mDC = nullptr;
  mMainWnd = nullptr;
  --gOpenWindows;
  if (--gWindowClassUsers == 0) UnregisterClassW(kWindowClass, Instance());
}

void GraphicsWin::PlatformResize(bool resizeParent)
{
  if (!mPlugWnd) return;
  RECT old;
  GetWindowRect(mPlugWnd, &old);
  const int w = WindowWidth(), h = WindowHeight();
  const int dw = w - (old.right - old.left), dh = h - (old.bottom - old.top);
  SetWindowPos(mPlugWnd, nullptr, 0, 0, w, h,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  if (!resizeParent || (dw == 0 && dh == 0)) return;

  // The host did not resize itself: grow its windows by the same amount.
  auto grow = [&](HWND wnd)
  {
    RECT r;
    GetWindowRect(wnd, &r);
    SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  };
  if (mParentWnd) grow(mParentWnd);
  HWND main = GetMainWnd();
  if (main && main != mParentWnd) grow(main);
}

void GraphicsWin::PlatformInvalidate(const IRECT& deviceRect)
{
  if (!mPlugWnd) return;
  const RECT r{
      static_cast<LONG>(std::floor(deviceRect.L)), static_cast<LONG>(std::floor(deviceRect.T)),
      static_cast<LONG>(std::ceil(deviceRect.R)), static_cast<LONG>(std::ceil(deviceRect.B))};
  InvalidateRect(mPlugWnd, &r, FALSE);
}

void GraphicsWin::PlatformRepaint()
{
  if (mPlugWnd) UpdateWindow(mPlugWnd);
}

float GraphicsWin::GetPlatformWindowScale()
{
  return ScreenScaleOf(mPlugWnd ? mPlugWnd : mParentWnd);
}

bool GraphicsWin::PlatformSupportsMultiTouch() const
{
  const int digitizer = GetSystemMetrics(SM_DIGITIZER);
  return (digitizer & NID_MULTI_INPUT) != 0;
}

void GraphicsWin::ActivateGLContext()
{
  mGL.Activate();
}
void GraphicsWin::DeactivateGLContext()
{
  mGL.Deactivate();
}

HWND GraphicsWin::GetMainWnd()
{
  if (!mMainWnd && mParentWnd) mMainWnd = GetAncestor(mParentWnd, GA_ROOT);
  return mMainWnd ? mMainWnd : mParentWnd;
}

// -------------------------------------------------------------------------------------------------
// Display tick

void GraphicsWin::StartDisplayTick()
{
  if (mVBlankMode)
    mVBlank.Start(mPlugWnd, mDC);
  else
    mTimerRunning =
        SetTimer(mPlugWnd, kDisplayTickTimerId, DisplayTickTimerIntervalMs(FPS()), nullptr) != 0;
}

void GraphicsWin::StopDisplayTick()
{
  if (mTimerRunning && mPlugWnd) KillTimer(mPlugWnd, kDisplayTickTimerId);
  mTimerRunning = false;
  mVBlank.Stop();
}

void GraphicsWin::OnDisplayTickMessage(UINT msg, WPARAM wParam)
{
  if (msg == kVBlankMessage)
  {
    const auto count = static_cast<uint32_t>(wParam);
    if (!mVBlankFilter.ShouldTick(count, mVBlank.Count())) return;
    DisplayTick();
    mVBlankFilter.TickDone(count, mVBlank.Count());
    return;
  }
  DisplayTick();
}

void GraphicsWin::DisplayTick()
{
  ProcessTextEntryRequest();
  if (mTextEntry.TakeRedraw() && mPlugWnd) InvalidateRect(mPlugWnd, nullptr, FALSE);
  OnDisplayTick();
}

// -------------------------------------------------------------------------------------------------
// Cursor

void GraphicsWin::GetMouseLocation(float& x, float& y) const
{
  POINT p{};
  GetCursorPos(&p);
  if (mPlugWnd) ScreenToClient(mPlugWnd, &p);
  x = ToLogical(p.x);
  y = ToLogical(p.y);
}

void GraphicsWin::HideMouseCursor(bool hide, bool lock)
{
  if (hide == mCursorHidden) return;
  if (hide)
  {
    GetCursorPos(&mHiddenCursorPos);
    mCursorLock = lock && !GetTabletInput();
    ShowCursor(FALSE);
    mCursorHidden = true;
  }
  else
  {
    if (mCursorLock) SetCursorPos(mHiddenCursorPos.x, mHiddenCursorPos.y);
    ShowCursor(TRUE);
    mCursorHidden = false;
    mCursorLock = false;
  }
}

void GraphicsWin::MoveMouseCursor(float x, float y)
{
  if (GetTabletInput() || !mPlugWnd) return;
  const float scale = GetBackingPixelScale();
  POINT p{LogicalToDevice(x, scale), LogicalToDevice(y, scale)};
  ClientToScreen(mPlugWnd, &p);
  SetCursorPos(p.x, p.y);
  if (mCursorHidden) mHiddenCursorPos = p;
  mLastX = x;
  mLastY = y;
}

ECursor GraphicsWin::SetMouseCursor(ECursor cursorType)
{
  const ECursor previous = GraphicsContext::SetMouseCursor(cursorType);
  static const LPCWSTR cursors[] = {
      IDC_ARROW,  IDC_IBEAM,  IDC_WAIT,    IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE,    IDC_SIZENESW,
      IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO,    IDC_HAND,    IDC_APPSTARTING, IDC_HELP};
  const auto index = static_cast<size_t>(cursorType);
  SetCursor(LoadCursorW(nullptr, index < std::size(cursors) ? cursors[index] : IDC_ARROW));
  return previous;
}

// -------------------------------------------------------------------------------------------------
// Services

bool GraphicsWin::GetTextFromClipboard(std::string& str)
{
  str.clear();
  if (!OpenClipboard(mPlugWnd)) return false;
  bool ok = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
  {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data)))
    {
      str = WideToUtf8(text);
      ok = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return ok;
}

bool GraphicsWin::SetTextInClipboard(const char* str)
{
  const std::wstring text = Utf8ToWide(str);
  if (text.empty() || !OpenClipboard(mPlugWnd)) return false;
  EmptyClipboard();
  bool ok = false;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes))
  {
    if (void* dest = GlobalLock(memory))
    {
      std::memcpy(dest, text.c_str(), bytes);
      GlobalUnlock(memory);
      ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!ok) GlobalFree(memory);
  }
  CloseClipboard();
  return ok;
}

EMsgBoxResult GraphicsWin::ShowMessageBox(const char* str, const char* caption, EMsgBoxType type,
                                          IMsgBoxCompletionHandlerFunc completionHandler)
{
  static const UINT styles[] = {MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO, MB_RETRYCANCEL};
  const auto index = static_cast<size_t>(type);
  const UINT style = index < std::size(styles) ? styles[index] : MB_OK;
  const int answer =
      MessageBoxW(GetMainWnd(), Utf8ToWide(str).c_str(), Utf8ToWide(caption).c_str(), style);
  EMsgBoxResult result = EMsgBoxResult::Null;
  switch (answer)
  {
  case IDOK:
    result = EMsgBoxResult::OK;
    break;
  case IDCANCEL:
    result = EMsgBoxResult::Cancel;
    break;
  case IDABORT:
    result = EMsgBoxResult::Abort;
    break;
  case IDRETRY:
    result = EMsgBoxResult::Retry;
    break;
  case IDIGNORE:
    result = EMsgBoxResult::Ignore;
    break;
  case IDYES:
    result = EMsgBoxResult::Yes;
    break;
  case IDNO:
    result = EMsgBoxResult::No;
    break;
  default:
    break;
  }
  if (completionHandler) completionHandler(result);
  return result;
}

bool GraphicsWin::OpenURL(const char* url, const char* msgWindowTitle, const char* confirmMsg,
                          const char* errMsgOnFailure)
{
  if (confirmMsg &&
      ShowMessageBox(confirmMsg, msgWindowTitle, EMsgBoxType::YesNo) != EMsgBoxResult::Yes)
    return false;
  DWORD flags = 0;
  if (url && InternetGetConnectedState(&flags, 0))
  {
    std::wstring wide = Utf8ToWide(url);
    if (wide.size() > 4096) wide.resize(4096);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(mPlugWnd, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
  }
  if (errMsgOnFailure) ShowMessageBox(errMsgOnFailure, msgWindowTitle, EMsgBoxType::OK);
  return false;
}

bool GraphicsWin::RevealPathInExplorerOrFinder(std::string& path, bool select)
{
  const std::wstring target = Utf8ToWide(path.c_str());
  if (target.empty()) return false;
  const std::wstring args = select ? L"/select,\"" + target + L"\"" : L"\"" + target + L"\"";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(mPlugWnd, L"open", L"explorer.exe", args.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

// -------------------------------------------------------------------------------------------------
// Resources

PlatformFontPtr GraphicsWin::LoadPlatformFont(const char* fontID, const char* fileNameOrResID)
{
  if (!fontID || !fileNameOrResID) return nullptr;
  char suffix[32];
  std::snprintf(suffix, sizeof(suffix), "-%.1fx", 1.0);
  const std::string key = std::string(fontID) + suffix;
  auto font = WinFontCache::Find(key);
  if (!font)
  {
    auto bytes = LoadResourceOrFile(Instance(), fileNameOrResID, "ttf");
    if (bytes.empty()) return nullptr;
    font = WinFontCache::Add(key, std::move(bytes));
  }
  if (!font) return nullptr;
  return std::make_unique<MemoryPlatformFont>(font->bytes);
}

std::vector<uint8_t> GraphicsWin::LoadResourceData(const char* fileNameOrResID, const char* ext)
{
  if (!fileNameOrResID) return {};
  return LoadResourceOrFile(Instance(), fileNameOrResID, ext ? ext : "");
}

EResourceLocation GraphicsWin::LocateResource(const char* fileNameOrResID, const char* ext,
                                              std::string& result)
{
  result.clear();
  if (!fileNameOrResID) return EResourceLocation::NotFound;
  std::string name, type;
  ResourceNameAndType(fileNameOrResID, ext ? ext : "", name, type);
  if (!FindModuleResource(Instance(), fileNameOrResID, ext ? ext : "").empty())
  {
    result = name;
    return EResourceLocation::WinBinary;
  }
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(fileNameOrResID).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
  {
    result = fileNameOrResID;
    return EResourceLocation::AbsolutePath;
  }
  return EResourceLocation::NotFound;
}

} // namespace kit::gfx
