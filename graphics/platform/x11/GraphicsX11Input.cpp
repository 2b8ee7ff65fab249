// GraphicsX11's event handling: X events become the graphics context's input
// calls, with positions in logical pixels.

#include "graphics/DrawnTextEntry.h"
#include "graphics/platform/x11/GraphicsX11.h"
#include "graphics/platform/x11/X11Keys.h"

// X after the framework: its macros would rename framework identifiers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace kit::gfx
{
namespace
{

// A second press of the same button this soon and this close is a double click.
constexpr unsigned long kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;

constexpr unsigned kWheelUp = 4, kWheelDown = 5, kWheelLeft = 6, kWheelRight = 7;

IMouseMod ModifiersFrom(unsigned state)
{
  return IMouseMod((state & Button1Mask) != 0, (state & Button3Mask) != 0, (state & ShiftMask) != 0,
                   (state & ControlMask) != 0, (state & Mod1Mask) != 0);
}

} // namespace

void GraphicsX11::DrainEvents()
{
  // Events are taken only while the window exists: a handler may close it.
  while (mDisplay && XPending(mDisplay) > 0)
  {
    XEvent event;
    XNextEvent(mDisplay, &event);
    HandleEvent(event);
  }
}

void GraphicsX11::HandleEvent(XEvent& event)
{
  switch (event.type)
  {
  case Expose:
    PlatformInvalidate(IRECT(static_cast<float>(event.xexpose.x),
                             static_cast<float>(event.xexpose.y),
                             static_cast<float>(event.xexpose.x + event.xexpose.width),
                             static_cast<float>(event.xexpose.y + event.xexpose.height)));
    break;
  case ButtonPress:
    OnButtonPress(event);
    break;
  case ButtonRelease:
    OnButtonRelease(event);
    break;
  case MotionNotify:
    OnMotion(event);
    break;
  case LeaveNotify:
    if (event.xcrossing.mode == NotifyGrab)
      ReleaseHeldButtons(); // another client took the pointer from under a drag
    else if (event.xcrossing.mode == NotifyNormal && mHeldButtons == 0)
      GraphicsContext::OnMouseOut();
    break;
  case FocusOut:
    ReleaseHeldButtons();
    // As a native edit box does when it loses the focus.
    if (mTextEntry && mTextEntry->IsOpen() && event.xfocus.mode == NotifyNormal)
      mTextEntry->RequestCommit();
    break;
  case KeyPress:
  case KeyRelease:
    OnKey(event);
    break;
  case SelectionRequest:
    OnSelectionRequest(event);
    break;
  case SelectionClear:
    if (event.xselectionclear.selection == mAtomClipboard) mClipboardText.clear();
    break;
  default:
    break;
  }
}

void GraphicsX11::OnButtonPress(XEvent& event)
{
  const XButtonEvent& b = event.xbutton;
  const float x = ToLogical(b.x), y = ToLogical(b.y);
  IMouseMod mod = ModifiersFrom(b.state);
  if (b.button == kWheelUp || b.button == kWheelDown)
  {
    // One notch is one Windows wheel unit; wheel presses have no release worth reporting.
    GraphicsContext::OnMouseWheel(x, y, mod, b.button == kWheelUp ? 120.f : -120.f);
    return;
  }
  // The framework has no horizontal wheel; these presses are not clicks either.
  if (b.button == kWheelLeft || b.button == kWheelRight || b.button > 3) return;

  // Focus lets the keyboard reach the editor, as a click into a native window does.
  XSetInputFocus(mDisplay, mWindow, RevertToParent, b.time);
  mHeldButtons |= 1u << b.button;
  mod.L = mod.L || b.button == Button1;
  mod.R = mod.R || b.button == Button3;
  mLastX = x;
  mLastY = y;

  const bool doubleClick = b.button == mLastPressButton &&
                           b.time - mLastPressTime <= kDoubleClickMs &&
                           std::abs(b.x - mLastPressX) <= kDoubleClickPixels &&
                           std::abs(b.y - mLastPressY) <= kDoubleClickPixels;
  // A third press starts over rather than making a second double click.
  mLastPressButton = doubleClick ? 0 : b.button;
  mLastPressTime = b.time;
  mLastPressX = b.x;
  mLastPressY = b.y;
  if (doubleClick)
    GraphicsContext::OnMouseDblClick(x, y, mod);
  else
    GraphicsContext::OnMouseDown({IMouseInfo{x, y, 0.f, 0.f, mod}});
}

void GraphicsX11::OnButtonRelease(XEvent& event)
{
  const XButtonEvent& b = event.xbutton;
  if (b.button < 1 || b.button > 3 || !(mHeldButtons & (1u << b.button))) return;
  mHeldButtons &= ~(1u << b.button);
  IMouseMod mod = ModifiersFrom(b.state);
  // The state is from before the release: the released button is no longer down.
  if (b.button == Button1) mod.L = false;
  if (b.button == Button3) mod.R = false;
  const float x = ToLogical(b.x), y = ToLogical(b.y);
  mLastX = x;
  mLastY = y;
  GraphicsContext::OnMouseUp({IMouseInfo{x, y, 0.f, 0.f, mod}});
}

void GraphicsX11::ReleaseHeldButtons()
{
  for (unsigned button = 1; button <= 3; ++button)
  {
    if (!(mHeldButtons & (1u << button))) continue;
    mHeldButtons &= ~(1u << button);
    GraphicsContext::OnMouseUp({IMouseInfo{mLastX, mLastY, 0.f, 0.f, IMouseMod()}});
  }
}

void GraphicsX11::OnMotion(XEvent& event)
{
  // Of motions queued back to back only the newest matters (drag deltas add up the same). Never
  // reach past another event: a motion after a press belongs after it.
  XEvent next;
  while (XEventsQueued(mDisplay, QueuedAlready) > 0)
  {
    XPeekEvent(mDisplay, &next);
    if (next.type != MotionNotify || next.xmotion.window != mWindow) break;
    XNextEvent(mDisplay, &event);
  }
  const XMotionEvent& m = event.xmotion;
  IMouseInfo info{ToLogical(m.x), ToLogical(m.y), 0.f, 0.f, ModifiersFrom(m.state)};
  if (mHeldButtons == 0)
  {
    GraphicsContext::OnMouseOver(info.x, info.y, info.ms);
  }
  else
  {
    // The implicit grab of a press keeps the motion coming outside the window.
    info.dX = info.x - mLastX;
    info.dY = info.y - mLastY;
    if (info.dX != 0.f || info.dY != 0.f) GraphicsContext::OnMouseDrag({info});
    if (mCursorHidden && mCursorLock)
    {
      // A locked hidden cursor stays put: the next move measures from here.
      const Window root = RootWindow(mDisplay, DefaultScreen(mDisplay));
      XWarpPointer(mDisplay, 0, root, 0, 0, 0, 0, mHiddenX, mHiddenY);
      Window child = 0;
      int winX = 0, winY = 0;
      XTranslateCoordinates(mDisplay, root, mWindow, mHiddenX, mHiddenY, &winX, &winY, &child);
      info.x = ToLogical(winX);
      info.y = ToLogical(winY);
    }
  }
  mLastX = info.x;
  mLastY = info.y;
}

void GraphicsX11::OnKey(XEvent& event)
{
  KeySym keysym = 0;
  char ignored[8];
  XLookupString(&event.xkey, ignored, sizeof(ignored), &keysym, nullptr);
  const IKeyPress key = KeyPressFromKeysym(keysym, event.xkey.state);
  const float x = ToLogical(event.xkey.x), y = ToLogical(event.xkey.y);
  if (event.type == KeyPress)
    GraphicsContext::OnKeyDown(x, y, key);
  else
    GraphicsContext::OnKeyUp(x, y, key);
}

void GraphicsX11::OnSelectionRequest(XEvent& event)
{
  const XSelectionRequestEvent& request = event.xselectionrequest;
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = request.display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  reply.property = 0; // refused unless answered below
  // Old clients name no property: the target's name is the property then.
  const Atom property = request.property ? request.property : request.target;
  if (request.selection == mAtomClipboard && !mClipboardText.empty())
  {
    if (request.target == mAtomTargets)
    {
      const Atom targets[] = {mAtomTargets, mAtomUtf8, XA_STRING};
      XChangeProperty(mDisplay, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(targets), 3);
      reply.property = property;
    }
    else if (request.target == mAtomUtf8 || request.target == XA_STRING)
    {
      XChangeProperty(mDisplay, request.requestor, property, request.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(mClipboardText.data()),
                      static_cast<int>(mClipboardText.size()));
      reply.property = property;
    }
  }
  XSendEvent(mDisplay, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
  XFlush(mDisplay);
}

} // namespace kit::gfx
