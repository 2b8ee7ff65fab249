#pragma once

// GraphicsWin: the editor inside a host's window on Windows. A child window
// of the host's editor window carries an OpenGL context for the NanoVG back
// end; a vertical-blank thread (Windows 8 and later) or a 15 ms timer drives
// the display tick; the window procedure turns messages into the graphics
// context's input calls, with positions in logical pixels (device pixels ÷
// screen scale ÷ draw scale). Fonts, the logo and bitmaps come from the
// plug-in module's resources, or from files of the same name.
//
// Everything runs on the host's UI thread except the vertical-blank waiter,
// which only posts messages to the window.

#include "graphics/DisplayTick.h"
#include "graphics/GraphicsNanoVG.h"
#include "graphics/TextEntryRules.h"
#include "graphics/platform/win32/VBlankThread.h"
#include "graphics/platform/win32/WGLContext.h"
#include "graphics/platform/win32/WinIncludes.h"

#include <shellapi.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kit::gfx
{

class GraphicsWin final : public GraphicsNanoVG
{
public:
  GraphicsWin(GraphicsEditorDelegate* pDelegate, int w = kDefaultWidth, int h = kDefaultHeight,
              int fps = kDefaultFPS, float scale = 1.f);
  ~GraphicsWin() override;

  // Window lifetime [ui thread]
  void* OpenWindow(void* pParent) override;
  void CloseWindow() override;
  void* GetWindow() override { return mPlugWnd; }
  bool WindowIsOpen() override { return mPlugWnd != nullptr; }
  const char* GetPlatformAPIStr() override { return "win32"; }
  void PlatformResize(bool resizeParent) override;
  void PlatformInvalidate(const IRECT& deviceRect) override;
  void PlatformRepaint() override;
  float GetPlatformWindowScale() override;
  bool PlatformSupportsMultiTouch() const override;
  void ActivateGLContext() override;
  void DeactivateGLContext() override;

  // Pointer and cursor [ui thread]
  void GetMouseLocation(float& x, float& y) const override;
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  void MoveMouseCursor(float x, float y) override;
  ECursor SetMouseCursor(ECursor cursorType = ECursor::ARROW) override;
  // A null or empty text hides the tip.
  void ShowTooltip(const char* text);
  void HideTooltip() { ShowTooltip(nullptr); }

  // Services [ui thread]
  bool GetTextFromClipboard(std::string& str) override;
  bool SetTextInClipboard(const char* str) override;
  EMsgBoxResult ShowMessageBox(const char* str, const char* caption, EMsgBoxType type,
                               IMsgBoxCompletionHandlerFunc completionHandler = nullptr) override;
  void PromptForFile(std::string& fileName, std::string& path,
                     EFileAction action = EFileAction::Open, const char* ext = "") override;
  void PromptForDirectory(std::string& dir) override;
  bool PromptForColor(IColor& color, const char* str = "",
                      IColorPickerHandlerFunc func = nullptr) override;
  bool OpenURL(const char* url, const char* msgWindowTitle = nullptr,
               const char* confirmMsg = nullptr, const char* errMsgOnFailure = nullptr) override;
  bool RevealPathInExplorerOrFinder(std::string& path, bool select = false) override;

  // Prompts [ui thread]
  void CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                               const char* str) override;
  void EndPlatformTextEntry() override;
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                      bool& isAsync) override;

  // Resources [ui thread]
  PlatformFontPtr LoadPlatformFont(const char* fontID, const char* fileNameOrResID) override;
  std::vector<uint8_t> LoadResourceData(const char* fileNameOrResID, const char* ext) override;
  EResourceLocation LocateResource(const char* fileNameOrResID, const char* ext,
                                   std::string& result) override;

  // Whether this window ticks from the vertical-blank thread (else timer 2).
  bool UsesVBlankThread() const { return mVBlankMode; }

  // Open editor windows in this process (leak checks).
  static int OpenWindowCount();

private:
  static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

  // Message handlers (GraphicsWinInput.cpp)
  void OnCreate(HWND hWnd);
  void OnPaint();
  void OnDisplayTickMessage(UINT msg, WPARAM wParam);
  void OnMouseMove(WPARAM wParam, LPARAM lParam);
  void OnButtonDown(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnButtonUp(WPARAM wParam, LPARAM lParam);
  void OnWheel(WPARAM wParam, LPARAM lParam);
  bool OnKey(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnDropFiles(HDROP drop);
  void OnTouch(WPARAM wParam, LPARAM lParam);
  IMouseInfo MouseInfo(LPARAM lParam, WPARAM wParam);
  void NoteInputSource();

  // Display tick
  void StartDisplayTick();
  void StopDisplayTick();
  void DisplayTick();
  void ProcessTextEntryRequest();

  // Text entry and tooltips (GraphicsWinPrompts.cpp)
  void DestroyEditWindow();
  void CreateTooltipWindow();
  void DestroyTooltipWindow();
  HWND GetMainWnd();

  float ToLogical(int devicePixels) const;

  HINSTANCE Instance() const;

  HWND mPlugWnd = nullptr;
  int mMessageDepth = 0; // window procedure calls in progress
  HWND mParentWnd = nullptr;
  HWND mMainWnd = nullptr;
  HDC mDC = nullptr;
  WGLContext mGL;
  bool mViewInitialized = false;

  // Display tick
  bool mVBlankMode = false;
  bool mTimerRunning = false;
  VBlankThread mVBlank;
  VBlankTickFilter mVBlankFilter;

  // Pointer
  float mLastX = -1.f;
  float mLastY = -1.f;
  bool mCursorHidden = false;
  bool mCursorLock = false;
  POINT mHiddenCursorPos{};
  std::unordered_map<int64_t, std::pair<float, float>> mTouchLast; // touch id → last position

  // Tooltips
  HWND mTooltipWnd = nullptr;
  bool mShowingTooltip = false;
  int mTooltipIdx = -1;

  // Text entry
  HWND mEditWnd = nullptr;
  WNDPROC mDefEditProc = nullptr;
  HFONT mEditFont = nullptr;
  HBRUSH mEditBrush = nullptr;
  IText mEditText;
  int mEditParamType = kTextEntryNoParam;
  TextEntrySession mTextEntry;
};

} // namespace kit::gfx
