#pragma once

// The plug-in base as a plug-in API binding sees it: host identification,
// parameter traffic toward the host, the 20 ms editor timer and the queues
// that carry values between the audio thread and the editor.
//
// Queues (one writing thread, one reading thread each; a push into a full
// queue drops the entry):
//   parameter values to the editor  512   host-side changes -> timer
//   MIDI to the editor               32   processor         -> timer
//   SysEx to the editor               4   processor         -> timer
//   MIDI from the editor             32   editor            -> before each block
//   SysEx from the editor             4   editor            -> after each block

#include "framework/PluginBase.h"
#include "framework/PluginHost.h"
#include "framework/PluginMidi.h"
#include "framework/PluginQueue.h"
#include "framework/PluginTimer.h"

#include <memory>

namespace kit
{

class PluginAPIBase : public PluginBase
{
public:
  static constexpr int kParamChangeQueueSize = 512;
  static constexpr int kMidiQueueSize = 32;
  static constexpr int kSysExQueueSize = 4;
  static constexpr std::uint32_t kTimerIntervalMs = 20;

  // A parameter value on its way to the editor.
  struct ParamTuple
  {
    int idx = 0;
    double value = 0.0;
  };

  PluginAPIBase(const Config& config, EAPI plugAPI);
  ~PluginAPIBase() override;

  // [ui thread] Called once when the host opens the plug-in.
  void SetHost(const char* name, int version);
  EHost GetHost() const { return mHost; }
  // Packed as major << 16 | minor << 8 | patch.
  int GetHostVersion() const { return mHostVersion; }

  // [ui thread] End of every timer tick.
  virtual void OnIdle() {}

  // [any thread] A host-side change on its way to the editor (dropped when the
  // queue is full).
  void SendParameterValueFromAPI(int paramIdx, double value, bool normalized);

  // [audio thread] MIDI and SysEx produced by the processor, for the editor.
  bool SendMidiMsgToEditor(const IMidiMsg& msg) { return mMidiMsgsToEditor.Push(msg); }
  bool SendSysExToEditor(const ISysEx& msg)
  {
    return mSysExToEditor.Push(SysExData(msg.offset, msg.size, msg.data));
  }

  void InformHostOfAllParams() override;
  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void SendParameterValueFromUI(int paramIdx, double normalizedValue) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;
  bool EditorResizeFromUI(int viewWidth, int viewHeight, bool needsPlatformResize) override;
  void SendMidiMsgFromUI(const IMidiMsg& msg) override { DeferMidiMsg(msg); }
  void SendSysexMsgFromUI(const ISysEx& msg) override { DeferSysexMsg(msg); }
  void SendArbitraryMsgFromUI(int msgTag, int ctrlTag = -1, int dataSize = 0,
                              const void* data = nullptr) override;
  void DeferMidiMsg(const IMidiMsg& msg) override { mMidiMsgsFromEditor.Push(msg); }
  void DeferSysexMsg(const ISysEx& msg) override
  {
    mSysExFromEditor.Push(SysExData(msg.offset, msg.size, msg.data));
  }

  // [ui thread] One tick of the editor timer: drains the queues toward the
  // editor, then OnIdle.
  void OnTimer();

protected:
  // The API binding's side of the host conversation.
  virtual void InformHostOfParamChange(int /*paramIdx*/, double /*normalizedValue*/) {}
  virtual void BeginInformHostOfParamChange(int /*paramIdx*/) {}
  virtual void EndInformHostOfParamChange(int /*paramIdx*/) {}
  // Asks the host to resize the editor window; true when it agreed.
  virtual bool EditorResize(int /*viewWidth*/, int /*viewHeight*/) { return false; }

  // [ui thread] Starts the editor timer; the binding calls it at construction.
  void CreateTimer();
  Timer* GetTimer() const { return mTimer.get(); }

  PluginQueue<ParamTuple> mParamChangeToEditor{kParamChangeQueueSize};
  PluginQueue<IMidiMsg> mMidiMsgsToEditor{kMidiQueueSize};
  PluginQueue<SysExData> mSysExToEditor{kSysExQueueSize};
  PluginQueue<IMidiMsg> mMidiMsgsFromEditor{kMidiQueueSize};
  PluginQueue<SysExData> mSysExFromEditor{kSysExQueueSize};

private:
  EHost mHost = kHostUninit;
  int mHostVersion = 0;
  std::unique_ptr<Timer> mTimer;
};

} // namespace kit
