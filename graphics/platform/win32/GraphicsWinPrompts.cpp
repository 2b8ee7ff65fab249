// GraphicsWin's prompts: the text-entry box, native pop-up menus, tooltips
// and the system's file, folder and colour dialogs.

#include "graphics/GraphicsDelegateLink.h"
#include "graphics/platform/win32/GraphicsWin.h"
#include "graphics/platform/win32/WinFontCache.h"
#include "graphics/platform/win32/WinStrings.h"

#include "framework/IParam.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cmath>
#include <vector>

namespace kit::gfx
{
namespace
{

constexpr int kEditControlId = 99;
constexpr LONG_PTR kEditMarker = 0xdeadf00b;
constexpr size_t kMaxInitialEditUnits = 32;
constexpr int kMaxEditTextUnits = 256;

// Command identifiers of a native menu, mapped back to the menu and index
// they came from.
struct MenuCommand
{
  IPopupMenu* menu;
  int index;
};

HMENU BuildNativeMenu(IPopupMenu& menu, std::vector<MenuCommand>& commands)
{
  HMENU native = CreatePopupMenu();
  for (int i = 0; i < menu.NItems(); ++i)
  {
    IPopupMenu::Item* item = menu.GetItem(i);
    if (item->GetIsSeparator())
    {
      AppendMenuW(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring text = Utf8ToWide(menu.GetDisplayText(i).c_str());
    UINT flags = MF_STRING;
    if (!item->GetEnabled()) flags |= MF_GRAYED;
    if (item->GetChecked()) flags |= MF_CHECKED;
    if (IPopupMenu* sub = item->GetSubmenu())
    {
      HMENU subMenu = BuildNativeMenu(*sub, commands);
      AppendMenuW(native, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(subMenu), text.c_str());
      continue;
    }
    commands.push_back({&menu, i});
    // Command 0 means "dismissed"; identifiers start at 1.
    AppendMenuW(native, flags, commands.size(), text.c_str());
  }
  return native;
}

void ResetChosen(IPopupMenu& menu)
{
  menu.SetChosenItemIdx(-1);
  for (int i = 0; i < menu.NItems(); ++i)
    if (IPopupMenu* sub = menu.GetItem(i)->GetSubmenu()) ResetChosen(*sub);
}

} // namespace

// -------------------------------------------------------------------------------------------------
// Text entry

void GraphicsWin::CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                          int length, const char* str)
{
  if (!mPlugWnd || mEditWnd) return;
  mEditText = text;
  mEditParamType = kTextEntryNoParam;
  if (auto* dlg = GetDelegate())
    if (const IParam* param = detail::GetDelegateParam(dlg, paramIdx))
      mEditParamType = static_cast<int>(param->Type());

  const float scale = GetBackingPixelScale();
  const int x = static_cast<int>(bounds.L * scale), y = static_cast<int>(bounds.T * scale);
  const int w = static_cast<int>(bounds.W() * scale) + 1;
  const int h = static_cast<int>(bounds.H() * scale) + 1;
  DWORD align = ES_CENTER;
  if (text.mAlign == EAlign::Near) align = ES_LEFT;
  if (text.mAlign == EAlign::Far) align = ES_RIGHT;

  std::wstring initial = Utf8ToWide(str);
  if (initial.size() > kMaxInitialEditUnits) initial.clear();

  mEditWnd = CreateWindowW(
      L"EDIT", initial.c_str(), WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | align, x, y,
      w, h, mPlugWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditControlId)), Instance(),
      nullptr);
  if (!mEditWnd) return;

  // The style's face when the editor loaded it, else the system's default.
  std::wstring face = L"Segoe UI";
  if (auto font = WinFontCache::FindByFontID(text.mFont))
    face = Utf8ToWide(font->names.family.c_str());
  const int fontHeight = static_cast<int>(std::lround(text.mSize * scale));
  mEditFont = CreateFontW(-fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                          face.c_str());
  SendMessageW(mEditWnd, WM_SETFONT, reinterpret_cast<WPARAM>(mEditFont), FALSE);
  SendMessageW(mEditWnd, EM_LIMITTEXT, static_cast<WPARAM>(length > 0 ? length : 0), 0);
  SendMessageW(mEditWnd, EM_SETSEL, 0, -1);

  if (text.mVAlign == EVAlign::Middle)
  {
    RECT r;
    SendMessageW(mEditWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    const int offset = ((r.bottom - r.top) - fontHeight) / 2;
    if (offset > 0)
    {
      OffsetRect(&r, 0, offset);
      SendMessageW(mEditWnd, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
    }
  }

  mTextEntry.Begin();
  mDefEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      mEditWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GraphicsWin::EditProc)));
  SetWindowLongPtrW(mEditWnd, GWLP_USERDATA, kEditMarker);
  SetFocus(mEditWnd);
}

LRESULT CALLBACK GraphicsWin::EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  auto* self = reinterpret_cast<GraphicsWin*>(GetWindowLongPtrW(GetParent(hWnd), GWLP_USERDATA));
  if (!self || self->mEditWnd != hWnd || !self->mDefEditProc)
    return DefWindowProcW(hWnd, msg, wParam, lParam);

  switch (msg)
  {
  case WM_KEYDOWN:
  {
    const TextEntryRequest request = TextEntryKeyRequest(static_cast<int>(wParam));
    if (request == TextEntryRequest::None) break;
    self->mTextEntry.Request(request);
    return 0;
  }
  case WM_CHAR:
    if (!TextEntryAcceptsChar(self->mEditParamType, static_cast<char32_t>(wParam))) return 0;
    break;
  case WM_SETFOCUS:
    if (self->mTextEntry.State() == TextEntryState::Idle) self->mTextEntry.Begin();
    break;
  case WM_KILLFOCUS:
    self->mTextEntry.Request(TextEntryRequest::Commit);
    break;
  default:
    break;
  }
  return CallWindowProcW(self->mDefEditProc, hWnd, msg, wParam, lParam);
}

void GraphicsWin::ProcessTextEntryRequest()
{
  const TextEntryRequest request = mTextEntry.TakeRequest();
  if (request == TextEntryRequest::None) return;
  std::string value;
  if (request == TextEntryRequest::Commit && mEditWnd)
  {
    wchar_t buffer[kMaxEditTextUnits + 1] = {};
    const int n = GetWindowTextW(mEditWnd, buffer, kMaxEditTextUnits);
    value = WideToUtf8(buffer, n);
  }
  DestroyEditWindow();
  if (request == TextEntryRequest::Commit)
    SetControlValueAfterTextEdit(value.c_str());
  else
    ClearInTextEntryControl();
}

void GraphicsWin::EndPlatformTextEntry()
{
  DestroyEditWindow();
  mTextEntry.Reset();
}

void GraphicsWin::DestroyEditWindow()
{
  if (mEditWnd)
  {
    HWND edit = mEditWnd;
    // Cleared first: destroying the box moves the focus, and that must not
    // queue a commit for a box that no longer exists.
    mEditWnd = nullptr;
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mDefEditProc));
    DestroyWindow(edit);
  }
  mDefEditProc = nullptr;
  if (mEditFont) DeleteObject(mEditFont);
  mEditFont = nullptr;
  if (mEditBrush) DeleteObject(mEditBrush);
  mEditBrush = nullptr;
}

// -------------------------------------------------------------------------------------------------
// Pop-up menus

IPopupMenu* GraphicsWin::CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                                 bool& isAsync)
{
  isAsync = false;
  if (!mPlugWnd) return nullptr;
  ResetChosen(menu);
  std::vector<MenuCommand> commands;
  HMENU native = BuildNativeMenu(menu, commands);

  const float scale = GetBackingPixelScale();
  POINT p{static_cast<LONG>(bounds.L * scale), static_cast<LONG>(bounds.B * scale)};
  ClientToScreen(mPlugWnd, &p);
  const auto chosen =
      static_cast<size_t>(TrackPopupMenu(native,
                                         TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                             TPM_NONOTIFY | TPM_LEFTBUTTON | TPM_RIGHTBUTTON,
                                         p.x, p.y, 0, mPlugWnd, nullptr));
  DestroyMenu(native); // destroys the sub-menus too

  IPopupMenu* result = nullptr;
  if (chosen >= 1 && chosen <= commands.size())
  {
    const MenuCommand& command = commands[chosen - 1];
    command.menu->SetChosenItemIdx(command.index);
    if (command.menu->HasFunction()) command.menu->ExecFunction();
    result = command.menu;
  }
  InvalidateRect(mPlugWnd, nullptr, FALSE);
  return result;
}

// -------------------------------------------------------------------------------------------------
// Tooltips

void GraphicsWin::CreateTooltipWindow()
{
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  mTooltipWnd =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, mPlugWnd, nullptr, Instance(), nullptr);
  if (!mTooltipWnd)
  {
    EnableTooltips(false);
    return;
  }
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = mPlugWnd;
  tool.uId = 1;
  GetClientRect(mPlugWnd, &tool.rect);
  tool.lpszText = const_cast<wchar_t*>(L"");
  if (!SendMessageW(mTooltipWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
  {
    DestroyTooltipWindow();
    EnableTooltips(false);
    return;
  }
  SendMessageW(mTooltipWnd, TTM_SETMAXTIPWIDTH, 0, 250);
  SendMessageW(mTooltipWnd, TTM_ACTIVATE, FALSE, 0);
}

void GraphicsWin::DestroyTooltipWindow()
{
  if (mTooltipWnd) DestroyWindow(mTooltipWnd);
  mTooltipWnd = nullptr;
  mShowingTooltip = false;
  mTooltipIdx = -1;
}

void GraphicsWin::ShowTooltip(const char* text)
{
  if (!mTooltipWnd) return;
  const bool show = text && *text;
  if (show)
  {
    const std::wstring wide = Utf8ToWide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = mPlugWnd;
    tool.uId = 1;
    tool.lpszText = const_cast<wchar_t*>(wide.c_str());
    SendMessageW(mTooltipWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(mTooltipWnd, TTM_ACTIVATE, show ? TRUE : FALSE, 0);
  mShowingTooltip = show;
}

// -------------------------------------------------------------------------------------------------
// Dialogs (available to editors; this program's editor uses none)

void GraphicsWin::PromptForFile(std::string& fileName, std::string& path, EFileAction action,
                                const char* ext)
{
  wchar_t file[MAX_PATH] = {};
  const std::wstring initial = Utf8ToWide(fileName.c_str());
  initial.copy(file, MAX_PATH - 1);
  const std::wstring dir = Utf8ToWide(path.c_str());
  std::wstring filter;
  if (ext && *ext)
  {
    const std::wstring e = Utf8ToWide(ext);
    filter = L"*." + e + std::wstring(1, L'\0') + L"*." + e + std::wstring(2, L'\0');
  }
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetMainWnd();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  const BOOL ok = action == EFileAction::Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  fileName.clear();
  if (!ok) return;
  fileName = WideToUtf8(file);
  const size_t slash = fileName.find_last_of("\\/");
  path = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

void GraphicsWin::PromptForDirectory(std::string& dir)
{
  BROWSEINFOW info{};
  info.hwndOwner = GetMainWnd();
  info.lpszTitle = L"Choose a Directory";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  dir.clear();
  if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info))
  {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(list, path)) dir = WideToUtf8(path) + "\\";
    CoTaskMemFree(list);
  }
}

bool GraphicsWin::PromptForColor(IColor& color, const char* /*str*/, IColorPickerHandlerFunc func)
{
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = GetMainWnd();
  choose.rgbResult = RGB(color.R, color.G, color.B);
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  // Registered so that hooks of the dialog can be told the colour.
  RegisterWindowMessageW(L"commdlg_SetRGBColor");
  if (!ChooseColorW(&choose)) return false;
  color = IColor(color.A, GetRValue(choose.rgbResult), GetGValue(choose.rgbResult),
                 GetBValue(choose.rgbResult));
  if (func) func(color);
  return true;
}

} // namespace kit::gfx
