// Checks of GraphicsWin's window procedure under a real window system:
// positions arrive in logical pixels at a non-integer draw scale, drags carry
// their deltas, the wheel counts whole notches, and the text-entry box
// commits on Enter and focus loss, cancels on Escape and on a click into the
// editor, and refuses letters in a numeric entry.

#include "framework/GraphicsEditorDelegate.h"
#include "framework/IParam.h"
#include "graphics/IPanelControl.h"
#include "graphics/ITextControl.h"
#include "graphics/platform/win32/GraphicsWin.h"
#include "tests/win32/WinCheck.h"
#include "tools/vsthost/ImportHooks_win.h"

#include <shlobj.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace kit;
using namespace kit::gfx;

namespace
{

class TestDelegate : public GraphicsEditorDelegate
{
public:
  TestDelegate() : GraphicsEditorDelegate(1) { GetParam(0)->InitInt("count", 5, 0, 100); }
  void BeginInformHostOfParamChangeFromUI(int) override {}
  void EndInformHostOfParamChangeFromUI(int) override {}
};

struct Recorder : IControl
{
  explicit Recorder(const IRECT& r) : IControl(r) {}
  void Draw(GraphicsContext& g) override { g.FillRect(IColor(255, 200, 40, 40), GetRECT()); }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override
  {
    downX = x;
    downY = y;
    downL = mod.L;
    ++downs;
  }
  void OnMouseUp(float, float, const IMouseMod&) override { ++ups; }
  void OnMouseDrag(float, float, float dX, float dY, const IMouseMod&) override
  {
    dragDX += dX;
    dragDY += dY;
    ++drags;
  }
  void OnMouseWheel(float, float, const IMouseMod&, float d) override { wheel += d; }
  bool OnKeyDown(float, float, const IKeyPress& key) override
  {
    keyVK = key.VK;
    return true;
  }
  void OnDrop(const char* path) override { dropped = path ? path : ""; }
  void OnTextEntryCompletion(const char* str, int) override
  {
    committed = str;
    ++completions;
  }
  void SetValueFromUserInput(double value, int) override
  {
    userValue = value;
    ++completions;
  }

  float downX = -1, downY = -1, dragDX = 0, dragDY = 0, wheel = 0;
  bool downL = false;
  int downs = 0, ups = 0, drags = 0, completions = 0;
  double userValue = -1;
  int keyVK = 0;
  std::string committed, dropped;
};

LPARAM At(float x, float y, float scale)
{
  return MAKELPARAM(static_cast<int>(x * scale), static_cast<int>(y * scale));
}

HWND MakeParent()
{
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrazelleWindowCheck";
  RegisterClassW(&wc);
  return CreateWindowW(L"TrazelleWindowCheck", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                       1300, 760, nullptr, nullptr, wc.hInstance, nullptr);
}

// The window's finished frame, read while its context is current in SwapBuffers.
using SwapBuffersFn = BOOL(WINAPI*)(HDC);
SwapBuffersFn gSwapBuffers = nullptr;
bool gCapture = false;
std::vector<uint8_t> gPixels;
int gWidth = 0, gHeight = 0;

BOOL WINAPI CaptureSwapBuffers(HDC dc)
{
  if (gCapture)
  {
    RECT r{};
    GetClientRect(WindowFromDC(dc), &r);
    gWidth = r.right;
    gHeight = r.bottom;
    gPixels.assign(static_cast<size_t>(gWidth) * gHeight * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, gWidth, gHeight, GL_RGBA, GL_UNSIGNED_BYTE, gPixels.data());
    gCapture = false;
  }
  return gSwapBuffers(dc);
}

// RGB at a device pixel (top-left origin).
std::array<int, 3> PixelAt(int x, int y)
{
  const uint8_t* p = &gPixels[(static_cast<size_t>(gHeight - 1 - y) * gWidth + x) * 4];
  return {p[0], p[1], p[2]};
}

bool Capture(HWND editor)
{
  gCapture = true;
  InvalidateRect(editor, nullptr, FALSE);
  UpdateWindow(editor);
  return !gCapture && !gPixels.empty();
}

void Tick(HWND editor)
{
  SendMessageW(editor, WM_TIMER, kDisplayTickTimerId, 0);
}

HWND EditBox(HWND editor)
{
  return FindWindowExW(editor, nullptr, L"EDIT", nullptr);
}

std::wstring EditText(HWND edit)
{
  wchar_t buffer[64] = {};
  GetWindowTextW(edit, buffer, 63);
  return buffer;
}

void CheckInput(GraphicsWin& g, HWND editor, Recorder& rec, float scale)
{
  // 150 % draw scale: device pixels ÷ 1.5.
  SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(150, 120, scale));
  CHECK(rec.downs == 1 && rec.downL);
  CHECK(std::abs(rec.downX - 150.f) < 0.7f && std::abs(rec.downY - 120.f) < 0.7f);
  SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, At(160, 110, scale));
  SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, At(160, 110, scale)); // no movement: no drag
  CHECK(rec.drags == 1);
  CHECK(std::abs(rec.dragDX - 10.f) < 1.4f && std::abs(rec.dragDY + 10.f) < 1.4f);
  SendMessageW(editor, WM_LBUTTONUP, 0, At(160, 110, scale));
  CHECK(rec.ups == 1);
  CHECK(GetCapture() != editor);

  POINT p{static_cast<LONG>(150 * scale), static_cast<LONG>(120 * scale)};
  ClientToScreen(editor, &p);
  SendMessageW(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), MAKELPARAM(p.x, p.y));
  CHECK(rec.wheel == 2.f);
  SendMessageW(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), MAKELPARAM(p.x, p.y));
  CHECK(rec.wheel == -1.f);
  (void)g;
}

// Keys go to the control under the pointer; dropped files to the one under
// the drop point; the clipboard carries UTF-8 text both ways.
void CheckServices(GraphicsWin& g, HWND editor, Recorder& rec, float scale)
{
  POINT over{static_cast<LONG>(150 * scale), static_cast<LONG>(150 * scale)};
  ClientToScreen(editor, &over);
  SetCursorPos(over.x, over.y);
  SendMessageW(editor, WM_KEYDOWN, 'K', 0);
  CHECK(rec.keyVK == 'K');

  const wchar_t path[] = L"C:\\music\\take \u00e9.wav";
  const size_t bytes = sizeof(DROPFILES) + sizeof(path) + sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = {static_cast<LONG>(150 * scale), static_cast<LONG>(150 * scale)};
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<uint8_t*>(drop) + sizeof(DROPFILES), path, sizeof(path));
  GlobalUnlock(memory);
  SendMessageW(editor, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  CHECK(rec.dropped == "C:\\music\\take \xc3\xa9.wav");

  CHECK(g.SetTextInClipboard("gr\xc3\xbc\xc3\x9f"
                             "e"));
  std::string text;
  CHECK(g.GetTextFromClipboard(text) && text == "gr\xc3\xbc\xc3\x9f"
                                                "e");
  CHECK(!g.SetTextInClipboard(""));

  CHECK(g.SetMouseCursor(ECursor::HAND) == ECursor::ARROW);
  CHECK(GetCursor() == LoadCursorW(nullptr, IDC_HAND));
  CHECK(g.SetMouseCursor(ECursor::ARROW) == ECursor::HAND);
}

// Native menus run a modal loop; a timer inside it plays the user. Each step
// acts only on the state it observes: the menu window up and showing its
// menu, the highlighted item known, the last key arrived. Neither the speed of
// the machine nor the item a menu selects first changes what is chosen.
struct MenuPlan
{
  std::vector<int> path;        // item index per menu level; empty: dismiss
  std::function<void()> whenUp; // runs once the menu is up (a host's call)
  std::vector<HMENU> menus;     // the menu of each level reached so far
  int keyFrom = -2;             // the selection a posted key has yet to move
  int polls = 0;
};
MenuPlan gPlan;

HWND MenuWindow(HMENU menu)
{
  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w;
       w = FindWindowExW(nullptr, w, L"#32768", nullptr))
  {
    const auto shown = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
    if (IsWindowVisible(w) && shown && (!menu || shown == menu)) return w;
  }
  return nullptr;
}

int Highlighted(HMENU menu)
{
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

void PostKey(HWND window, WPARAM key)
{
  PostMessageW(window, WM_KEYDOWN, key, 0);
  PostMessageW(window, WM_KEYUP, key, 0);
}

void CALLBACK MenuDriver(HWND, UINT, UINT_PTR id, DWORD)
{
  MenuPlan& plan = gPlan;
  auto finish = [id](bool dismiss)
  {
    KillTimer(nullptr, id);
    if (dismiss) EndMenu();
  };
  if (++plan.polls > 6000) return finish(true); // stuck: fail rather than hang
  if (plan.menus.empty())
  {
    HWND window = MenuWindow(nullptr);
    if (!window) return;
    plan.menus.push_back(reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0)));
    if (plan.whenUp) plan.whenUp();
    if (plan.path.empty()) return finish(true);
  }
  const size_t level = plan.menus.size() - 1;
  HMENU menu = plan.menus.back();
  HWND window = MenuWindow(menu);
  if (!window) return; // a sub-menu still opening
  const int selected = Highlighted(menu);
  if (selected == plan.keyFrom) return; // the last key has not arrived yet
  plan.keyFrom = -2;
  const int target = plan.path[level];
  if (selected != target)
  {
    plan.keyFrom = selected;
    PostKey(window, selected < target ? VK_DOWN : VK_UP);
  }
  else if (level + 1 < plan.path.size())
  {
    plan.menus.push_back(GetSubMenu(menu, target));
    PostKey(window, VK_RIGHT);
  }
  else
  {
    PostKey(window, VK_RETURN);
    finish(false);
  }
}

void StartMenuDriver(std::vector<int> path, std::function<void()> whenUp = {})
{
  gPlan = MenuPlan{};
  gPlan.path = std::move(path);
  gPlan.whenUp = std::move(whenUp);
  SetTimer(nullptr, 0, 10, &MenuDriver);
}

IPopupMenu* ShowMenu(GraphicsWin& g, IPopupMenu& menu, std::vector<int> path)
{
  StartMenuDriver(std::move(path));
  bool isAsync = true;
  IPopupMenu* result = g.CreatePlatformPopupMenu(menu, IRECT(100, 100, 200, 120), isAsync);
  CHECK(!isAsync);
  return result;
}

void CheckPopupMenu(GraphicsWin& g)
{
  int called = 0;
  IPopupMenu colours("themes", {"blue", "orange", "green", "pink"});
  colours.SetFunction([&](IPopupMenu*) { ++called; });
  IPopupMenu* chosen = ShowMenu(g, colours, {2});
  CHECK(chosen == &colours && colours.GetChosenItemIdx() == 2 && called == 1);
  chosen = ShowMenu(g, colours, {});
  CHECK(chosen == nullptr && colours.GetChosenItemIdx() == -1 && called == 1);

  // An item in a sub-menu is reported in the sub-menu that holds it.
  IPopupMenu outer("outer", {"first"});
  auto inner = std::make_unique<IPopupMenu>("inner", std::initializer_list<const char*>{"a", "b"});
  IPopupMenu* innerMenu = inner.get();
  outer.AddSubMenu("more", std::move(inner));
  chosen = ShowMenu(g, outer, {1, 1});
  CHECK(chosen == innerMenu && innerMenu->GetChosenItemIdx() == 1 &&
        outer.GetChosenItemIdx() == -1);
}

// A press whose release never comes (the middle button's, or one whose capture
// is taken away mid-drag) must not leave its control captured: the next click
// goes where it points.
void CheckLostRelease(HWND editor, Recorder& rec, Recorder& other, float scale)
{
  for (UINT lose : {UINT(WM_MBUTTONUP), UINT(WM_CANCELMODE), UINT(WM_CAPTURECHANGED)})
  {
    const int ups = rec.ups, otherDowns = other.downs;
    const bool middle = lose == WM_MBUTTONUP;
    SendMessageW(editor, middle ? WM_MBUTTONDOWN : WM_LBUTTONDOWN, middle ? MK_MBUTTON : MK_LBUTTON,
                 At(150, 150, scale));
    if (middle)
      SendMessageW(editor, WM_MBUTTONUP, 0, At(150, 150, scale));
    else if (lose == WM_CANCELMODE)
      SendMessageW(editor, WM_CANCELMODE, 0, 0);
    else
      SetCapture(GetParent(editor)); // another window takes the pointer
    ReleaseCapture();
    CHECK(rec.ups == ups + 1);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(350, 150, scale));
    SendMessageW(editor, WM_LBUTTONUP, 0, At(350, 150, scale));
    CHECK(other.downs == otherDowns + 1 && rec.ups == ups + 1);
  }
}

// The host closes the editor from inside a native menu's modal loop (a timer
// of its own firing there): the close waits until the menu has returned, so
// the control that opened it is still alive when the answer reaches it.
bool gOpenerDeleted = false;
int gAnswersToLiveOpener = 0;

struct MenuOpener : IControl
{
  explicit MenuOpener(const IRECT& r) : IControl(r) {}
  ~MenuOpener() override { gOpenerDeleted = true; }
  void Draw(GraphicsContext&) override {}
  void OnMouseDown(float, float, const IMouseMod&) override
  {
    GetUI()->CreatePopupMenu(*this, menu, GetRECT());
  }
  void OnPopupMenuSelection(IPopupMenu*, int) override
  {
    gAnswersToLiveOpener += gOpenerDeleted ? 0 : 1;
  }
  IPopupMenu menu{"m", {"a", "b"}};
};

void CheckCloseDuringMenu(HWND parent)
{
  TestDelegate delegate;
  delegate.SetGraphicsFactory(
      [&delegate] { return std::make_unique<GraphicsWin>(&delegate, 832, 464, 60, 1.f); });
  delegate.SetLayoutFunction([](GraphicsContext* g)
                             { g->AttachControl(new MenuOpener(IRECT(0, 0, 100, 100))); });
  HWND editor = static_cast<HWND>(delegate.OpenWindow(parent));
  CHECK(editor != nullptr);
  if (!editor) return;
  StartMenuDriver({}, [&delegate] { delegate.CloseWindow(); });
  SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
  CHECK(gAnswersToLiveOpener == 1 && gOpenerDeleted);
  CHECK(delegate.GetUI() == nullptr && !IsWindow(editor));
  CHECK(GraphicsWin::OpenWindowCount() == 0);
}

int CountTooltipWindows()
{
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM counter) -> BOOL
      {
        wchar_t name[64] = {};
        GetClassNameW(w, name, 63);
        if (std::wstring(name) == L"tooltips_class32") ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

void CheckTooltips(TestDelegate& delegate, HWND parent)
{
  GraphicsWin g(&delegate, 832, 464, 60, 1.f);
  g.EnableTooltips(true);
  HWND editor = static_cast<HWND>(g.OpenWindow(parent));
  CHECK(editor != nullptr);
  CHECK(CountTooltipWindows() == 1);
  g.ShowTooltip("v. zoom");
  g.HideTooltip();
  g.CloseWindow();
  CHECK(CountTooltipWindows() == 0);
}

void CheckTextEntry(GraphicsWin& g, HWND editor, Recorder& rec)
{
  // Escape cancels: no value reaches the control, the box goes away.
  g.CreateTextEntry(rec, IText(), IRECT(100, 100, 200, 120), "12");
  HWND edit = EditBox(editor);
  CHECK(edit != nullptr);
  if (!edit) return;
  CHECK(GetDlgCtrlID(edit) == 99);
  CHECK(static_cast<uint32_t>(GetWindowLongPtrW(edit, GWLP_USERDATA)) == 0xdeadf00bu);
  CHECK(EditText(edit) == L"12");
  SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  Tick(editor);
  CHECK(EditBox(editor) == nullptr);
  CHECK(rec.completions == 0);
  CHECK(g.GetControlInTextEntry() == nullptr);

  // Enter commits the typed text.
  g.CreateTextEntry(rec, IText(), IRECT(100, 100, 200, 120), "");
  edit = EditBox(editor);
  CHECK(edit != nullptr);
  if (!edit) return;
  SendMessageW(edit, WM_CHAR, 'h', 0);
  SendMessageW(edit, WM_CHAR, 'i', 0);
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageW(edit, WM_CHAR, '\r', 0);
  Tick(editor);
  CHECK(EditBox(editor) == nullptr);
  CHECK(rec.completions == 1 && rec.committed == "hi");

  // A click into the editor while typing cancels.
  g.CreateTextEntry(rec, IText(), IRECT(100, 100, 200, 120), "");
  edit = EditBox(editor);
  if (edit)
  {
    const int downs = rec.downs;
    SetFocus(edit);
    SendMessageW(edit, WM_CHAR, 'x', 0);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    Tick(editor);
    CHECK(EditBox(editor) == nullptr);
    CHECK(rec.completions == 1);
    CHECK(rec.downs == downs); // the click went no further
  }

  // Focus moving to another window commits.
  g.CreateTextEntry(rec, IText(), IRECT(100, 100, 200, 120), "");
  edit = EditBox(editor);
  if (edit)
  {
    SendMessageW(edit, WM_CHAR, 'o', 0);
    SendMessageW(edit, WM_CHAR, 'k', 0);
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    Tick(editor);
    CHECK(rec.completions == 2 && rec.committed == "ok");
  }

  // A whole-number parameter refuses letters: "a" inserts nothing.
  rec.SetParamIdx(0);
  g.CreateTextEntry(rec, IText(), IRECT(100, 100, 200, 120), "");
  edit = EditBox(editor);
  if (edit)
  {
    SendMessageW(edit, WM_CHAR, 'a', 0);
    CHECK(EditText(edit).empty());
    SendMessageW(edit, WM_CHAR, '4', 0);
    SendMessageW(edit, WM_CHAR, '2', 0);
    CHECK(EditText(edit) == L"42");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    Tick(editor);
    CHECK(rec.completions == 3 && std::abs(rec.userValue - 0.42) < 1e-9);
  }
  rec.SetParamIdx(kNoParameter);
}

void CheckDrawing(GraphicsWin& g, HWND editor, float scale)
{
  CHECK(g.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  CHECK(!g.LoadFont("Missing", "missing-font.ttf"));
  const ISVG logo = g.LoadSVG("Quillmarsh_Logo_360x120.svg");
  CHECK(logo.IsValid());
  g.AttachBackground(new IPanelControl(g.GetBounds(), IPattern(IColor(255, 255, 255, 255))));
  g.AttachControl(new ITextControl(IRECT(300, 20, 500, 80), "Trazelle", IText(40.f)));
  CHECK(Capture(editor));
  if (gPixels.empty()) return;
  CHECK(gWidth == 1248 && gHeight == 696);
  auto px = [&](float x, float y)
  { return PixelAt(static_cast<int>(x * scale), static_cast<int>(y * scale)); };
  CHECK((px(20, 20) == std::array<int, 3>{255, 255, 255})); // background
  CHECK((px(150, 150) == std::array<int, 3>{200, 40, 40})); // the recorder's fill
  CHECK((px(700, 400) == std::array<int, 3>{255, 255, 255}));
  // Text in the loaded font leaves dark pixels in its box, none outside.
  int dark = 0;
  for (int y = 20; y < 80; ++y)
    for (int x = 300; x < 500; ++x)
    {
      const auto p = px(static_cast<float>(x), static_cast<float>(y));
      dark += p[0] + p[1] + p[2] < 200 ? 1 : 0;
    }
  CHECK(dark > 100);
  std::printf("window frame %d x %d, %d text pixels\n", gWidth, gHeight, dark);
}

} // namespace

int main()
{
  gSwapBuffers = reinterpret_cast<SwapBuffersFn>(
      vsthost::PatchImport(GetModuleHandleW(nullptr), "gdi32.dll", "SwapBuffers",
                           reinterpret_cast<void*>(&CaptureSwapBuffers)));
  CHECK(gSwapBuffers != nullptr);
  HWND parent = MakeParent();
  CHECK(parent != nullptr);
  TestDelegate delegate;
  const float scale = 1.5f;
  {
    GraphicsWin graphics(&delegate, 832, 464, 60, scale);
    HWND editor = static_cast<HWND>(graphics.OpenWindow(parent));
    CHECK(editor != nullptr);
    CHECK(GraphicsWin::OpenWindowCount() == 1);
    if (editor)
    {
      RECT client{};
      GetClientRect(editor, &client);
      CHECK(client.right == 1248 && client.bottom == 696);
      CHECK(std::string(graphics.GetPlatformAPIStr()) == "win32");
      CHECK(graphics.GetPlatformWindowScale() == 1);
      auto* rec = new Recorder(IRECT(100, 100, 200, 200));
      graphics.AttachControl(rec);
      auto* other = new Recorder(IRECT(300, 100, 400, 200));
      graphics.AttachControl(other);
      CheckInput(graphics, editor, *rec, scale);
      CheckServices(graphics, editor, *rec, scale);
      CheckLostRelease(editor, *rec, *other, scale);
      CheckPopupMenu(graphics);
      if (gSwapBuffers) CheckDrawing(graphics, editor, scale);
      CheckTextEntry(graphics, editor, *rec);
      graphics.CloseWindow();
      CHECK(!IsWindow(editor));
    }
    CHECK(GraphicsWin::OpenWindowCount() == 0);
    CHECK(WGLContext::LiveCount() == 0);
    CHECK(VBlankThread::LiveCount() == 0);
  }
  CheckTooltips(delegate, parent);
  CheckCloseDuringMenu(parent);
  CHECK(GraphicsWin::OpenWindowCount() == 0);
  DestroyWindow(parent);
  return WinCheckResult("trazelle_window_check");
}
