// GraphicsWin's window procedure: window messages become the graphics
// context's input calls, with positions in logical pixels.

#include "framework/GraphicsEditorDelegate.h"
#include "graphics/IRECTList.h"
#include "graphics/WindowRules.h"
#include "graphics/platform/win32/GraphicsWin.h"
#include "graphics/platform/win32/WinStrings.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cmath>
#include <vector>

namespace kit::gfx
{
namespace
{

IMouseMod ModifiersFrom(WPARAM wParam)
{
  return IMouseMod((wParam & MK_LBUTTON) != 0, (wParam & MK_RBUTTON) != 0, (wParam & MK_SHIFT) != 0,
                   (wParam & MK_CONTROL) != 0, GetKeyState(VK_MENU) < 0);
}

IMouseMod CurrentModifiers()
{
  return IMouseMod(GetKeyState(VK_LBUTTON) < 0, GetKeyState(VK_RBUTTON) < 0,
                   GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                   GetKeyState(VK_MENU) < 0);
}

} // namespace

LRESULT CALLBACK GraphicsWin::WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    auto* self =
        static_cast<GraphicsWin*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->OnCreate(hWnd);
    return 0;
  }
  auto* self = reinterpret_cast<GraphicsWin*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  if (!self || hWnd != self->mPlugWnd) return DefWindowProcW(hWnd, msg, wParam, lParam);
  ++self->mMessageDepth;
  LRESULT result = 0;
  // The host's message loop called us: nothing may unwind into it.
  try
  {
    result = self->HandleMessage(hWnd, msg, wParam, lParam);
  }
  catch (...)
  {
  }
  // A close the host asked for inside a menu's modal loop waited for it; once the outermost
  // message has returned nothing of this window is on the stack any more.
  GraphicsEditorDelegate* dlg = self->GetDelegate();
  if (--self->mMessageDepth == 0 && dlg && dlg->IsCloseDeferred() && !self->InModalLoop())
    dlg->CloseWindow(); // destroys self
  return result;
}

void GraphicsWin::OnCreate(HWND hWnd)
{
  mPlugWnd = hWnd;
  mDC = GetDC(hWnd);
  StartDisplayTick();
  DragAcceptFiles(hWnd, TRUE);
}

LRESULT GraphicsWin::HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  switch (msg)
  {
  case WM_TIMER:
    if (wParam != kDisplayTickTimerId) break;
    OnDisplayTickMessage(msg, wParam);
    return 0;
  case kVBlankMessage:
    OnDisplayTickMessage(msg, wParam);
    return 0;
  case WM_ERASEBKGND:
    return 1; // everything is drawn by the GL context
  case WM_PAINT:
    OnPaint();
    return 0;
  case WM_MOUSEMOVE:
    OnMouseMove(wParam, lParam);
    return 0;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    OnButtonDown(msg, wParam, lParam);
    return 0;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    OnButtonUp(wParam, lParam);
    return 0;
  case WM_CAPTURECHANGED:
    // Another window took the pointer (a switch of application, a menu): no release will come.
    if (reinterpret_cast<HWND>(lParam) != hWnd) EndMouseCapture();
    return 0;
  case WM_CANCELMODE:
    EndMouseCapture();
    break; // the default releases the system's capture
  case WM_LBUTTONDBLCLK:
  {
    NoteInputSource();
    if (mTextEntry.IsOpen())
    {
      OnButtonDown(WM_LBUTTONDOWN, wParam, lParam);
      return 0;
    }
    const IMouseInfo info = MouseInfo(lParam, wParam);
    SetCapture(hWnd);
    OnMouseDblClick(info.x, info.y, info.ms);
    return 0;
  }
  case WM_MOUSEWHEEL:
    OnWheel(wParam, lParam);
    return 0;
  case WM_KEYDOWN:
  case WM_KEYUP:
    if (OnKey(msg, wParam, lParam)) return 0;
    {
      HWND root = GetAncestor(hWnd, GA_ROOT);
      if (root && root != hWnd) SendMessageW(root, msg, wParam, lParam);
    }
    break;
  case WM_SETCURSOR:
    if (LOWORD(lParam) != HTCLIENT) break;
    SetMouseCursor(GetMouseCursor());
    return TRUE;
  case WM_MOUSEHOVER:
    if (TooltipsEnabled())
    {
      const IMouseInfo info = MouseInfo(lParam, wParam);
      IControl* pControl = GetMouseControl(info.x, info.y, false, true);
      if (pControl && !pControl->GetTooltip().empty())
      {
        ShowTooltip(pControl->GetTooltip().c_str());
        mTooltipIdx = GetControlIdx(pControl);
      }
    }
    return 0;
  case WM_MOUSELEAVE:
    HideTooltip();
    SetMouseCursor(ECursor::ARROW);
    GraphicsContext::OnMouseOut();
    return 0;
  case WM_DROPFILES:
    OnDropFiles(reinterpret_cast<HDROP>(wParam));
    return 0;
  case WM_TOUCH:
    OnTouch(wParam, lParam);
    return 0;
  case WM_CTLCOLOREDIT:
  {
    if (reinterpret_cast<HWND>(lParam) != mEditWnd) break;
    HDC dc = reinterpret_cast<HDC>(wParam);
    const IColor& bg = mEditText.mTextEntryBGColor;
    const IColor& fg = mEditText.mTextEntryFGColor;
    SetBkColor(dc, RGB(bg.R, bg.G, bg.B));
    SetTextColor(dc, RGB(fg.R, fg.G, fg.B));
    if (!mEditBrush) mEditBrush = CreateSolidBrush(RGB(bg.R, bg.G, bg.B));
    return reinterpret_cast<LRESULT>(mEditBrush);
  }
  default:
    break;
  }
  return DefWindowProcW(hWnd, msg, wParam, lParam);
}

void GraphicsWin::OnPaint()
{
  PAINTSTRUCT ps;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool haveRegion = GetUpdateRgn(mPlugWnd, region, FALSE) != ERROR;
  std::vector<uint8_t> data;
  if (haveRegion)
  {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    data.resize(bytes);
    if (bytes == 0 || !GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data())))
      data.clear();
  }
  DeleteObject(region);
  BeginPaint(mPlugWnd, &ps);

  if (mViewInitialized && !data.empty())
  {
    const auto* rgn = reinterpret_cast<const RGNDATA*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(rgn->Buffer);
    const float scale = GetBackingPixelScale();
    IRECTList list;
    for (DWORD i = 0; i < rgn->rdh.nCount; ++i)
    {
      const LogicalRect r = DeviceToLogicalOutward(rects[i].left, rects[i].top, rects[i].right,
                                                   rects[i].bottom, scale);
      list.Add(IRECT(r.L, r.T, r.R, r.B));
    }
    ActivateGLContext();
    // Nothing drawn (an empty update region): the window keeps its picture, no swap.
    if (Draw(list)) SwapBuffers(mDC);
    DeactivateGLContext();
  }
  EndPaint(mPlugWnd, &ps);
}

void GraphicsWin::NoteInputSource()
{
  const bool pen = IsPenOrTouchSignature(static_cast<uint64_t>(GetMessageExtraInfo()));
  SetTabletInput(pen);
}

IMouseInfo GraphicsWin::MouseInfo(LPARAM lParam, WPARAM wParam)
{
  IMouseInfo info;
  info.x = ToLogical(GET_X_LPARAM(lParam));
  info.y = ToLogical(GET_Y_LPARAM(lParam));
  info.ms = ModifiersFrom(wParam);
  return info;
}

void GraphicsWin::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
  NoteInputSource();
  IMouseInfo info = MouseInfo(lParam, wParam);
  const bool buttonHeld = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;

  if (!buttonHeld)
  {
    GraphicsContext::OnMouseOver(info.x, info.y, info.ms);
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = mPlugWnd;
    track.dwHoverTime = HOVER_DEFAULT;
    const int idx = GetMouseOverIdx();
    if (TooltipsEnabled() && idx != mTooltipIdx)
    {
      track.dwFlags |= TME_HOVER;
      if (mShowingTooltip) HideTooltip();
      mTooltipIdx = idx;
    }
    TrackMouseEvent(&track);
    mLastX = info.x;
    mLastY = info.y;
    return;
  }

  if (GetCapture() != mPlugWnd) return;
  info.dX = info.x - mLastX;
  info.dY = info.y - mLastY;
  if (info.dX != 0.f || info.dY != 0.f)
  {
    GraphicsContext::OnMouseDrag({info});
    if (mCursorHidden && mCursorLock && !GetTabletInput())
    {
      // A locked hidden cursor stays put: the next move measures from here.
      SetCursorPos(mHiddenCursorPos.x, mHiddenCursorPos.y);
      POINT p = mHiddenCursorPos;
      ScreenToClient(mPlugWnd, &p);
      info.x = ToLogical(p.x);
      info.y = ToLogical(p.y);
    }
  }
  mLastX = info.x;
  mLastY = info.y;
}

void GraphicsWin::OnButtonDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
  NoteInputSource();
  if (mTextEntry.IsOpen())
  {
    const TextEntryClick button = msg == WM_LBUTTONDOWN   ? TextEntryClick::Left
                                  : msg == WM_RBUTTONDOWN ? TextEntryClick::Right
                                                          : TextEntryClick::Middle;
    mTextEntry.Request(TextEntryClickRequest(button, GetFocus() == mEditWnd));
    return;
  }
  HideTooltip();
  SetFocus(mPlugWnd);
  SetCapture(mPlugWnd);
  const IMouseInfo info = MouseInfo(lParam, wParam);
  mLastX = info.x;
  mLastY = info.y;
  GraphicsContext::OnMouseDown({info});
}

void GraphicsWin::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
  NoteInputSource();
  // The release reaches the control at its own position before the capture-lost handling runs.
  const IMouseInfo info = MouseInfo(lParam, wParam);
  GraphicsContext::OnMouseUp({info});
  ReleaseCapture();
}

void GraphicsWin::OnWheel(WPARAM wParam, LPARAM lParam)
{
  if (mTextEntry.IsOpen())
  {
    mTextEntry.Request(TextEntryRequest::Cancel);
    return;
  }
  // Wheel positions come in screen coordinates.
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(mPlugWnd, &p);
  const IMouseMod mod = ModifiersFrom(GET_KEYSTATE_WPARAM(wParam));
  GraphicsContext::OnMouseWheel(ToLogical(p.x), ToLogical(p.y), mod,
                                static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)));
}

bool GraphicsWin::OnKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
  BYTE keyboard[256] = {};
  GetKeyboardState(keyboard);
  wchar_t typed[4] = {};
  const UINT scan = (static_cast<UINT>(lParam) >> 16) & 0xFF;
  const int n = ToUnicode(static_cast<UINT>(wParam), scan, keyboard, typed, 3, 0);
  std::string utf8 = n > 0 ? WideToUtf8(typed, n) : std::string();
  IKeyPress key(utf8.c_str(), static_cast<int>(wParam), GetKeyState(VK_SHIFT) < 0,
                GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);

  float x = 0.f, y = 0.f;
  GetMouseLocation(x, y);
  return msg == WM_KEYDOWN ? GraphicsContext::OnKeyDown(x, y, key)
                           : GraphicsContext::OnKeyUp(x, y, key);
}

void GraphicsWin::OnDropFiles(HDROP drop)
{
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  if (length > 0)
  {
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, 0, path.data(), length + 1);
    path.resize(length);
    POINT p{};
    DragQueryPoint(drop, &p);
    GraphicsContext::OnDrop(WideToUtf8(path.c_str()).c_str(), ToLogical(p.x), ToLogical(p.y));
  }
  DragFinish(drop);
}

void GraphicsWin::OnTouch(WPARAM wParam, LPARAM lParam)
{
  const UINT count = LOWORD(wParam);
  auto handle = reinterpret_cast<HTOUCHINPUT>(lParam);
  std::vector<TOUCHINPUT> inputs(count);
  if (count == 0 || !GetTouchInputInfo(handle, count, inputs.data(), sizeof(TOUCHINPUT)))
  {
    CloseTouchInputHandle(handle);
    return;
  }
  SetTabletInput(true);
  IMouseInfoList downs, moves, ups;
  const IMouseMod base = CurrentModifiers();
  for (const TOUCHINPUT& input : inputs)
  {
    // Hundredths of a screen pixel.
    POINT p{input.x / 100, input.y / 100};
    ScreenToClient(mPlugWnd, &p);
    IMouseInfo info;
    info.x = ToLogical(p.x);
    info.y = ToLogical(p.y);
    info.ms = base;
    info.ms.L = true;
    // Identifier 0 would read as "not a touch"; shift them all by one.
    info.ms.touchID = static_cast<int64_t>(input.dwID) + 1;
    const auto last = mTouchLast.find(info.ms.touchID);
    if (last != mTouchLast.end())
    {
      info.dX = info.x - last->second.first;
      info.dY = info.y - last->second.second;
    }
    if (input.dwFlags & TOUCHEVENTF_DOWN)
    {
      downs.push_back(info);
      mTouchLast[info.ms.touchID] = {info.x, info.y};
    }
    else if (input.dwFlags & TOUCHEVENTF_UP)
    {
      ups.push_back(info);
      mTouchLast.erase(info.ms.touchID);
    }
    else if (input.dwFlags & TOUCHEVENTF_MOVE)
    {
      moves.push_back(info);
      mTouchLast[info.ms.touchID] = {info.x, info.y};
    }
  }
  CloseTouchInputHandle(handle);
  if (!downs.empty()) GraphicsContext::OnMouseDown(downs);
  if (!moves.empty()) GraphicsContext::OnMouseDrag(moves);
  if (!ups.empty()) GraphicsContext::OnMouseUp(ups);
}

} // namespace kit::gfx
