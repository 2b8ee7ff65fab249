#pragma once

// The side of the plug-in that its editor talks to. It owns the parameter list
// and defines the hooks through which parameter values, MIDI, SysEx and
// arbitrary messages travel between the plug-in and the editor. Every default
// here is deliberately inert so that a plug-in overrides only what it needs.
//
// Everything runs on the host's UI thread.

#include "framework/IParam.h"
#include "framework/PluginConstants.h"
#include "framework/PluginStructs.h"

#include <memory>
#include <vector>

namespace kit
{

namespace gfx
{
struct IKeyPress;
}

class IByteChunk;

class IEditorDelegate
{
public:
  explicit IEditorDelegate(int nParams);
  virtual ~IEditorDelegate();

  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  int NParams() const { return static_cast<int>(mParams.size()); }
  IParam* GetParam(int paramIdx);
  const IParam* GetParam(int paramIdx) const;

  // [ui thread] Opening and closing the editor. The base has no window.
  virtual void* OpenWindow(void* parent);
  virtual void CloseWindow();
  virtual void OnParentWindowResize(int width, int height);

  // [ui thread] The editor is up; default: every parameter's value to it.
  virtual void OnUIOpen();
  virtual void OnUIClose() {}

  virtual void OnParamChange(int /*paramIdx*/) {}
  virtual void OnParamChange(int paramIdx, EParamSource source, int sampleOffset = -1);
  virtual void OnParamChangeUI(int /*paramIdx*/, EParamSource /*source*/ = kUnknown) {}
  virtual void OnAllParamsChanged(EParamSource source);
  virtual void OnMidiMsgUI(const IMidiMsg& /*msg*/) {}
  virtual void OnSysexMsgUI(const ISysEx& /*msg*/) {}
  virtual bool OnMessage(int /*msgTag*/, int /*ctrlTag*/, int /*dataSize*/, const void* /*data*/)
  {
    return false;
  }
  // State was loaded: the editor must show it.
  virtual void OnRestoreState();

  virtual bool OnKeyDown(const gfx::IKeyPress& /*key*/) { return false; }
  virtual bool OnKeyUp(const gfx::IKeyPress& /*key*/) { return false; }

  // Plug-in -> editor.
  virtual void SendControlValueFromDelegate(int /*ctrlTag*/, double /*normalizedValue*/) {}
  virtual void SendControlMsgFromDelegate(int ctrlTag, int msgTag, int dataSize = 0,
                                          const void* data = nullptr);
  virtual void SendArbitraryMsgFromDelegate(int msgTag, int dataSize = 0,
                                            const void* data = nullptr);
  virtual void SendMidiMsgFromDelegate(const IMidiMsg& msg) { OnMidiMsgUI(msg); }
  virtual void SendSysexMsgFromDelegate(const ISysEx& msg) { OnSysexMsgUI(msg); }
  virtual void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized);

  // Editor -> plug-in and host.
  virtual void InformHostOfAllParams() {}
  virtual void BeginInformHostOfParamChangeFromUI(int paramIdx) = 0;
  virtual void SendParameterValueFromUI(int paramIdx, double normalizedValue);
  virtual void EndInformHostOfParamChangeFromUI(int paramIdx) = 0;
  virtual bool EditorResizeFromUI(int /*viewWidth*/, int /*viewHeight*/,
                                  bool /*needsPlatformResize*/)
  {
    return false;
  }
  virtual void SendMidiMsgFromUI(const IMidiMsg& /*msg*/) {}
  virtual void SendSysexMsgFromUI(const ISysEx& /*msg*/) {}
  virtual void SendArbitraryMsgFromUI(int /*msgTag*/, int /*ctrlTag*/ = -1, int /*dataSize*/ = 0,
                                      const void* /*data*/ = nullptr)
  {
  }
  // The pushes behind SendMidiMsgFromUI / SendSysexMsgFromUI.
  virtual void DeferMidiMsg(const IMidiMsg& /*msg*/) {}
  virtual void DeferSysexMsg(const ISysEx& /*msg*/) {}

  virtual bool SerializeEditorState(IByteChunk& /*chunk*/) const { return true; }
  virtual int UnserializeEditorState(const IByteChunk& /*chunk*/, int startPos) { return startPos; }
  virtual void SetScreenScale(float /*scale*/) {}

  // Editor size and limits, in logical pixels.
  int GetEditorWidth() const { return mEditorWidth; }
  int GetEditorHeight() const { return mEditorHeight; }
  int GetMinWidth() const { return mMinWidth; }
  int GetMaxWidth() const { return mMaxWidth; }
  int GetMinHeight() const { return mMinHeight; }
  int GetMaxHeight() const { return mMaxHeight; }
  void SetEditorSize(int width, int height);
  // Each pair may come in either order; the smaller becomes the minimum.
  void SetSizeConstraints(int widthLo, int widthHi, int heightLo, int heightHi);

protected:
  // Sends every parameter's normalised value to the editor.
  void SendAllParamValuesToEditor();

  std::vector<std::unique_ptr<IParam>> mParams;
  int mEditorWidth = 0;
  int mEditorHeight = 0;
  int mMinWidth = 0;
  int mMaxWidth = 0;
  int mMinHeight = 0;
  int mMaxHeight = 0;
};

} // namespace kit
