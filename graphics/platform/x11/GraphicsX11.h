#pragma once

// GraphicsX11: the editor inside a Linux host's window. A child window of the
// host's X11 window (the `ptr` of effEditOpen) carries an OpenGL 3.2 core
// context for the NanoVG back end; each editor has its own Xlib connection.
//
// Linux hosts lend no timer: they call effEditIdle from their UI thread, and
// each of those calls (PlatformIdle) drains this connection's events and runs
// one display tick. Nothing here waits: no vertical-blank wait, no sleep.
//
// X11 has no native menus or edit boxes; pop-up menus and text entry are the
// editor's own drawn controls (DrawnPopupMenu, DrawnTextEntry), which this
// class attaches and routes to. X types stay out of this header: the X headers
// define macros (None, Bool, Status) that collide with framework names.

#include "graphics/GraphicsNanoVG.h"
#include "graphics/platform/x11/GLXContext.h"

#include <array>
#include <string>
#include <vector>

struct _XDisplay;
union _XEvent;

namespace kit::gfx
{

class DrawnPopupMenu;
class DrawnTextEntry;

class GraphicsX11 final : public GraphicsNanoVG
{
public:
  GraphicsX11(GraphicsEditorDelegate* pDelegate, int w = kDefaultWidth, int h = kDefaultHeight,
              int fps = kDefaultFPS, float scale = 1.f);
  ~GraphicsX11() override;

  // Window lifetime [ui thread]. The parent is the host's X window id; without
  // one (or without an X display) nothing opens.
  void* OpenWindow(void* pParent) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool WindowIsOpen() override { return mWindow != 0; }
  const char* GetPlatformAPIStr() override { return "x11"; }
  void PlatformIdle() override;
  void PlatformResize(bool resizeParent) override;
  void PlatformInvalidate(const IRECT& deviceRect) override;
  void PlatformRepaint() override;
  float GetPlatformWindowScale() override { return mScreenScaleFromDpi; }
  void ActivateGLContext() override;
  void DeactivateGLContext() override;

  // Pointer and cursor [ui thread]
  void GetMouseLocation(float& x, float& y) const override;
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  void MoveMouseCursor(float x, float y) override;
  ECursor SetMouseCursor(ECursor cursorType = ECursor::ARROW) override;

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

  // Prompts [ui thread]: the drawn controls.
  void CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                               const char* str) override;
  void EndPlatformTextEntry() override;
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                      bool& isAsync) override;

  // Resources [ui thread]: the plug-in's embedded resources, then files.
  PlatformFontPtr LoadPlatformFont(const char* fontID, const char* fileNameOrResID) override;
  std::vector<uint8_t> LoadResourceData(const char* fileNameOrResID, const char* ext) override;
  EResourceLocation LocateResource(const char* fileNameOrResID, const char* ext,
                                   std::string& result) override;

  // Counters for the test host and measurements: idle calls handled and
  // frames presented since the window opened.
  long IdleCount() const { return mIdleCount; }
  long FrameCount() const { return mFrameCount; }
  // Open editor windows in this process (leak checks).
  static int OpenWindowCount();

private:
  // Events (GraphicsX11Input.cpp)
  void DrainEvents();
  void HandleEvent(_XEvent& event);
  void OnButtonPress(_XEvent& event);
  void OnButtonRelease(_XEvent& event);
  void OnMotion(_XEvent& event);
  void OnKey(_XEvent& event);
  // Every held button gets its release: the grab or the focus went away.
  void ReleaseHeldButtons();
  void OnSelectionRequest(_XEvent& event);

  void DisplayTick();
  void ReapChildren();
  float ToLogical(int devicePixels) const;

  _XDisplay* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mParent = 0;
  unsigned long mColormap = 0;
  GLXWindowContext mGL;
  bool mViewInitialized = false;
  float mScreenScaleFromDpi = 1.f;

  std::vector<IRECT> mInvalid; // device pixels, collected until the repaint
  long mIdleCount = 0;
  long mFrameCount = 0;

  // Pointer
  unsigned mHeldButtons = 0; // bit n: button n (1 left, 2 middle, 3 right)
  float mLastX = -1.f;
  float mLastY = -1.f;
  unsigned mLastPressButton = 0;
  unsigned long mLastPressTime = 0;
  int mLastPressX = 0, mLastPressY = 0;
  bool mCursorHidden = false;
  bool mCursorLock = false;
  int mHiddenX = 0, mHiddenY = 0; // root coordinates
  std::array<unsigned long, 14> mCursors{};
  unsigned long mBlankCursor = 0;

  // Clipboard (the CLIPBOARD selection)
  std::string mClipboardText;
  unsigned long mAtomClipboard = 0, mAtomUtf8 = 0, mAtomTargets = 0, mAtomProperty = 0;

  DrawnPopupMenu* mMenu = nullptr;      // owned by the graphics context
  DrawnTextEntry* mTextEntry = nullptr; // owned by the graphics context
};

} // namespace kit::gfx
