#pragma once

// The VST 2.4 binding: the effect record handed to the host, the dispatcher,
// the parameter callbacks and the three process callbacks. The ABI itself is
// declared in VST2Interface.h, which only the binding's sources include; this
// header names the records by forward declaration.
//
// The host's dispatcher calls arrive on its UI thread, the process callbacks
// on its audio thread; the two meet only through the lock-free queues of the
// plug-in base and the atomically stored parameter values.

#include "framework/PluginAPIBase.h"
#include "framework/PluginProcessor.h"

#include <cstdint>
#include <memory>

namespace kit
{

namespace vst2
{
struct AEffect;
}

using VSTHostCallback = std::intptr_t (*)(vst2::AEffect* effect, std::int32_t opcode,
                                          std::int32_t index, std::intptr_t value, void* ptr,
                                          float opt);

// What the entry point knows when it creates an instance.
struct InstanceInfo
{
  VSTHostCallback mVSTHostCallback = nullptr;
};

// The module handle of the plug-in library, recorded when the library is
// loaded (Windows); null elsewhere.
extern void* gModuleHandle;

class PluginVST2 : public PluginAPIBase, public PluginProcessor
{
public:
  PluginVST2(const InstanceInfo& info, const Config& config);
  ~PluginVST2() override;

  vst2::AEffect* GetAEffect();

  // [audio thread] Sent to the host as one-event VstEvents; true when the
  // host accepted them.
  bool SendMidiMessage(const IMidiMsg& msg) override;
  bool SendSysEx(const ISysEx& msg) override;
  // [ui thread]
  void SetLatency(int samples) override;

  // [ui thread] Asks the host to refresh what it shows of the plug-in.
  void InformHostOfParameterDetailsChange();

  // The host's answers are bit flags: 1 "hasCockosExtensions", 2
  // "hasCockosViewAsConfig".
  int GetHostExtensions() const { return mHostExtensions; }

  // The effect's callbacks; public so that the entry point and test code can
  // reach them through the record.
  static std::intptr_t VSTDispatcher(vst2::AEffect* effect, std::int32_t opCode, std::int32_t idx,
                                     std::intptr_t value, void* ptr, float opt);
  static void VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs,
                         std::int32_t nFrames); // [audio thread]
  static void VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                  std::int32_t nFrames); // [audio thread]
  static void VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs, double** outputs,
                                        std::int32_t nFrames); // [audio thread]
  static float VSTGetParameter(vst2::AEffect* effect, std::int32_t idx);
  static void VSTSetParameter(vst2::AEffect* effect, std::int32_t idx, float value);

  // Maps an effEditKeyDown / effEditKeyUp key code to a Windows virtual key;
  // codes 0 and 57 stand for the typed character. Unknown codes give 0.
  static int VSTKeyCodeToVK(int code, int character);

protected:
  // The plug-in's own hooks for effCanDo texts the binding does not know, for
  // effVendorSpecific requests it does not handle and for MIDI key names.
  virtual int VSTCanDo(const char* /*text*/) { return 0; }
  virtual std::intptr_t VSTVendorSpecific(std::int32_t /*idx*/, std::intptr_t /*value*/,
                                          void* /*ptr*/, float /*opt*/)
  {
    return 0;
  }
  // Fills text (kMaxMidiKeyNameLen bytes) for a key number; false when none.
  virtual bool GetMidiNoteText(int /*noteNumber*/, char* /*text*/) const { return false; }

  void InformHostOfParamChange(int paramIdx, double normalizedValue) override;
  void BeginInformHostOfParamChange(int paramIdx) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  bool EditorResize(int viewWidth, int viewHeight) override;

private:
  struct Records;

  std::intptr_t Dispatch(std::int32_t opCode, std::int32_t idx, std::intptr_t value, void* ptr,
                         float opt);
  std::intptr_t CallHost(std::int32_t opCode, std::int32_t idx = 0, std::intptr_t value = 0,
                         void* ptr = nullptr, float opt = 0.f);
  void OpenHost();
  void HostSpecificChannelSetup();
  std::intptr_t GetChunk(std::int32_t idx, void* ptr);
  std::intptr_t SetChunk(std::int32_t idx, std::intptr_t size, const void* ptr);
  std::intptr_t SetSpeakerArrangements(const void* input, const void* output);
  std::intptr_t GetPinProperties(ERoute direction, std::int32_t idx, void* ptr);
  std::intptr_t ProcessEvents(const void* events);
  std::intptr_t CanDo(const char* text);
  std::intptr_t VendorSpecific(std::int32_t idx, std::intptr_t value, void* ptr, float opt);
  std::intptr_t EditKey(bool down, std::int32_t character, std::intptr_t value, float opt);
  std::intptr_t EditClose();
  void SetParameterFromHost(int paramIdx, double value);

  void PreProcess();  // [audio thread]
  void PostProcess(); // [audio thread]
  // One host block for any of the three process callbacks.
  template <typename T>
  static void ProcessBlock(vst2::AEffect* effect, T** inputs, T** outputs, std::int32_t nFrames,
                           bool accumulate); // [audio thread]

  std::unique_ptr<Records> mRecords;
  VSTHostCallback mHostCallback = nullptr;
  IByteChunk mState;     // the program chunk handed to the host
  IByteChunk mBankState; // the bank chunk handed to the host
  int mHostExtensions = 0;
};

// Provided by the plug-in: makes one instance for the entry point.
PluginVST2* MakePlug(const InstanceInfo& info);

// The exported entry points' body: constructs an instance under a
// process-wide lock and returns its effect record, or null.
vst2::AEffect* VSTPluginMainImpl(VSTHostCallback hostCallback);

} // namespace kit
