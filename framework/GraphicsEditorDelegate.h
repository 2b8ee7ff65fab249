#pragma once

// The editor delegate with a graphics editor: it creates the graphics context
// through the installed factory, has the layout function build the controls,
// opens and closes the window, remembers the editor's size and scale across
// openings, and routes values, messages and keys to the controls.
//
// The graphics context exists only while the editor window is open; the
// controls live inside it, so every opening rebuilds the editor from scratch
// and the plug-in puts its state back in OnUIOpen.
//
// Everything runs on the host's UI thread.

#include "framework/IEditorDelegate.h"

#include <functional>
#include <memory>

namespace kit::gfx
{

class GraphicsContext;

class GraphicsEditorDelegate : public IEditorDelegate
{
public:
  using GraphicsFactory = std::function<std::unique_ptr<GraphicsContext>()>;
  using LayoutFunction = std::function<void(GraphicsContext*)>;

  explicit GraphicsEditorDelegate(int nParams);
  ~GraphicsEditorDelegate() override;

  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  bool OnKeyDown(const IKeyPress& key) override;
  bool OnKeyUp(const IKeyPress& key) override;
  void SendControlValueFromDelegate(int ctrlTag, double normalizedValue) override;
  void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize = 0,
                                  const void* data = nullptr) override;
  void SendMidiMsgFromDelegate(const IMidiMsg& msg) override;
  void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized) override;
  bool SerializeEditorState(IByteChunk& chunk) const override;
  int UnserializeEditorState(const IByteChunk& chunk, int startPos) override;
  void SetScreenScale(float scale) override;

  // Calls the graphics factory; null when none is installed.
  virtual std::unique_ptr<GraphicsContext> CreateGraphics();
  // Calls the layout function, if installed, with the new context.
  virtual void LayoutUI(GraphicsContext* graphics);

  void SetGraphicsFactory(GraphicsFactory factory) { mMakeGraphicsFunc = std::move(factory); }
  void SetLayoutFunction(LayoutFunction layout) { mLayoutFunc = std::move(layout); }

  // The open editor's graphics context, or null.
  GraphicsContext* GetUI() const { return mGraphics.get(); }
  bool IsClosing() const { return mClosing; }
  // The host asked to close while the editor was inside a modal loop (a native pop-up menu); the
  // window finishes the close once that loop has returned.
  bool IsCloseDeferred() const { return mCloseDeferred; }

  // Size and scale the editor had when its window last closed (0 before).
  int GetRememberedWidth() const { return mLastWidth; }
  int GetRememberedHeight() const { return mLastHeight; }
  float GetRememberedScale() const { return mLastScale; }

private:
  GraphicsFactory mMakeGraphicsFunc;
  LayoutFunction mLayoutFunc;
  std::unique_ptr<GraphicsContext> mGraphics;
  int mLastWidth = 0;
  int mLastHeight = 0;
  float mLastScale = 0.f;
  bool mClosing = false;
  bool mCloseDeferred = false;
};

} // namespace kit::gfx
