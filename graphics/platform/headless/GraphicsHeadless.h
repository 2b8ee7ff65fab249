#pragma once

// GraphicsHeadless: the graphics context without a window system. The
// "window" is an off-screen framebuffer in an EGL surfaceless OpenGL context;
// the caller drives the display tick and reads the window's pixels back.
// Everything the real platforms ask a user (menus, text entry, message
// boxes) is answered by scriptable stand-ins, and what would leave the
// process (web links, the clipboard) is recorded in memory. Tests,
// benchmarks and the render tool draw through it.
//
//   GraphicsHeadless g(delegate, 200, 100);
//   if (!g.OpenWindow(nullptr)) fail(g.GetError());
//   g.AttachControl(...);
//   g.Tick();                                  // draws what is dirty
//   std::vector<uint8_t> rgba = g.ReadPixels(); // WindowWidth x WindowHeight
//
// Single-threaded: every call on the thread that opened the window.

#include "graphics/GraphicsNanoVG.h"
#include "graphics/platform/headless/HeadlessGLContext.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kit::gfx
{

class GraphicsHeadless : public GraphicsNanoVG
{
public:
  // Chosen item index for a pop-up menu, or -1 to dismiss it.
  using PopupMenuAnswer = std::function<int(const IPopupMenu& menu, const IRECT& bounds)>;
  // The committed text for a text entry, or nullopt to cancel it.
  using TextEntryAnswer = std::function<std::optional<std::string>(
      const std::string& initial, const IText& text, const IRECT& bounds, int paramIdx)>;

  struct PopupMenuRecord
  {
    std::vector<std::string> items; // display texts of the top-level items
    IRECT bounds;
    int chosen = -1;
  };

  struct TextEntryRecord
  {
    std::string initial;
    IRECT bounds;
    int paramIdx = -1;
    int length = 0;
  };

  struct MessageBoxRecord
  {
    std::string text;
    std::string caption;
    EMsgBoxType type = EMsgBoxType::OK;
  };

  GraphicsHeadless(GraphicsEditorDelegate* pDelegate, int w = kDefaultWidth, int h = kDefaultHeight,
                   int fps = kDefaultFPS, float scale = 1.f);
  ~GraphicsHeadless() override;

  // Window [ui thread]. OpenWindow creates the GL context, the window
  // framebuffer and the NanoVG context, lays the editor out through the
  // delegate and marks every control dirty; it returns null (see GetError)
  // when OpenGL is unavailable. The parent is ignored.
  void* OpenWindow(void* pParent) override;
  void CloseWindow() override;
  void* GetWindow() override { return mOpen ? this : nullptr; }
  const char* GetPlatformAPIStr() override { return "headless"; }
  const std::string& GetError() const { return mError; }

  // Frames [ui thread]
  // One display tick: applies a pending text-entry answer, then runs the
  // graphics context's tick, which draws every dirty area at once. Returns
  // whether it drew a frame; when nothing was dirty it issues no GL work.
  bool Tick();
  // Redraws the whole editor, dirty or not.
  void DrawAll();
  // Number of Draw passes so far.
  int GetFrameCount() const { return mFrameCount; }

  // Pixels [ui thread]: the window as RGBA bytes, top row first,
  // WindowWidth() x WindowHeight(). Colours are premultiplied by alpha, as the
  // framebuffer holds them; opaque pixels read as drawn.
  std::vector<uint8_t> ReadPixels();
  // One device pixel (x right, y down); transparent black outside the window.
  IColor ReadPixel(int x, int y);

  // Stand-ins [ui thread]
  void SetPopupMenuAnswer(PopupMenuAnswer answer) { mPopupAnswer = std::move(answer); }
  void SetTextEntryAnswer(TextEntryAnswer answer) { mTextEntryAnswer = std::move(answer); }
  void SetMessageBoxAnswer(EMsgBoxResult result) { mMessageBoxAnswer = result; }
  void SetOpenURLResult(bool result) { mOpenURLResult = result; }
  void SetScreenScaleAnswer(float scale) { mPlatformScale = scale; }

  const std::vector<PopupMenuRecord>& GetPopupMenus() const { return mPopupMenus; }
  const std::vector<TextEntryRecord>& GetTextEntries() const { return mTextEntries; }
  const std::vector<MessageBoxRecord>& GetMessageBoxes() const { return mMessageBoxes; }
  const std::vector<std::string>& GetOpenedURLs() const { return mOpenedURLs; }
  const std::string& GetClipboard() const { return mClipboard; }

  // Resources [ui thread]: a name is looked up among the embedded resources
  // (name and upper-cased extension as type), then as a file path, then in
  // each added directory in order.
  void AddResourceDirectory(std::string dir) { mResourceDirs.push_back(std::move(dir)); }
  std::vector<uint8_t> LoadResourceData(const char* fileNameOrResID, const char* ext) override;
  EResourceLocation LocateResource(const char* fileNameOrResID, const char* ext,
                                   std::string& result) override;
  PlatformFontPtr LoadPlatformFont(const char* fontID, const char* fileNameOrResID) override;

  // Platform operations [ui thread]
  void GetMouseLocation(float& x, float& y) const override;
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  void MoveMouseCursor(float x, float y) override;
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
  void ActivateGLContext() override;
  void DeactivateGLContext() override;
  void EndPlatformTextEntry() override
  {
    mTextEntryOpen = false;
    mPendingText.reset();
    ClearInTextEntryControl();
  }
  void CreatePlatformTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                               const char* str) override;
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRECT& bounds,
                                      bool& isAsync) override;
  float GetPlatformWindowScale() override { return mPlatformScale; }
  void PlatformInvalidate(const IRECT& deviceRect) override;
  void PlatformRepaint() override;
  void DrawResize() override;

protected:
  unsigned GetWindowFramebuffer() const override { return mWindowFBO; }

private:
  bool CreateWindowFramebuffer();
  void DeleteWindowFramebuffer();

  HeadlessGLContext mGL;
  bool mOpen = false;
  std::string mError;
  unsigned mWindowFBO = 0;
  unsigned mWindowColor = 0;
  int mWindowW = 0, mWindowH = 0;
  int mFrameCount = 0;
  float mPlatformScale = 1.f;
  std::vector<IRECT> mInvalid; // device pixels, collected until the repaint

  float mMouseX = 0.f, mMouseY = 0.f;
  std::string mClipboard;
  PopupMenuAnswer mPopupAnswer;
  TextEntryAnswer mTextEntryAnswer;
  std::optional<std::string> mPendingText; // committed on the next tick
  bool mTextEntryOpen = false;
  EMsgBoxResult mMessageBoxAnswer = EMsgBoxResult::OK;
  bool mOpenURLResult = true;
  std::vector<PopupMenuRecord> mPopupMenus;
  std::vector<TextEntryRecord> mTextEntries;
  std::vector<MessageBoxRecord> mMessageBoxes;
  std::vector<std::string> mOpenedURLs;
  std::vector<std::string> mResourceDirs;
};

} // namespace kit::gfx
