#pragma once

// Small plug-ins for the framework's tests: their state is one int32, so every
// chunk layout can be written out by hand.

#include "framework/PluginAPIBase.h"
#include "framework/PluginVST2.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trazelle_test
{

inline kit::Config TestConfig(int nParams = 0, int nPresets = 1)
{
  kit::Config config;
  config.nParams = nParams;
  config.nPresets = nPresets;
  config.channelIOStr = "2-2";
  config.pluginName = "Test";
  config.mfrName = "Tester";
  config.vendorVersion = kit::PackVersion(1, 2, 3);
  config.uniqueID = kit::FourCharCode("Tst1");
  config.mfrID = kit::FourCharCode("Tstr");
  config.plugDoesChunks = true;
  config.plugHasUI = true;
  config.plugWidth = 400;
  config.plugHeight = 300;
  config.plugMinWidth = 800;
  config.plugMaxWidth = 200;
  config.plugMinHeight = 150;
  config.plugMaxHeight = 600;
  return config;
}

// Records what the delegate hooks saw.
struct HookLog
{
  struct ParamChange
  {
    int idx;
    int source;
  };
  std::vector<ParamChange> paramChangesUI;
  std::vector<int> paramChanges;
  int restores = 0;
  int uiOpens = 0;
  int uiCloses = 0;
  std::vector<kit::IMidiMsg> midiUI;
  std::vector<int> sysexSizesUI;
};

// The state is mValue. UnserializeState reads one int32 and, like a real
// plug-in, wants exactly the rest of the chunk; it answers the chunk size or
// 0 on failure.
template <typename Base>
class StatePlugBase : public Base
{
public:
  using Base::Base;

  bool SerializeState(kit::IByteChunk& chunk) const override
  {
    chunk.Put(mValue);
    return true;
  }

  int UnserializeState(const kit::IByteChunk& chunk, int startPos) override
  {
    std::int32_t value = 0;
    const int pos = chunk.Get(value, startPos);
    if (pos < 0 || (mRejectNegative && value < 0)) return 0;
    mValue = value;
    return pos;
  }

  void OnParamChangeUI(int idx, kit::EParamSource source) override
  {
    log.paramChangesUI.push_back({idx, source});
  }
  void OnParamChange(int idx) override { log.paramChanges.push_back(idx); }
  void OnRestoreState() override
  {
    ++log.restores;
    Base::OnRestoreState();
  }
  void OnUIOpen() override
  {
    ++log.uiOpens;
    Base::OnUIOpen();
  }
  void OnUIClose() override
  {
    ++log.uiCloses;
    Base::OnUIClose();
  }
  void OnMidiMsgUI(const kit::IMidiMsg& msg) override { log.midiUI.push_back(msg); }
  void OnSysexMsgUI(const kit::ISysEx& msg) override { log.sysexSizesUI.push_back(msg.size); }

  std::int32_t mValue = 0;
  bool mRejectNegative = true;
  HookLog log;
};

class TestPluginAPI : public StatePlugBase<kit::PluginAPIBase>
{
public:
  explicit TestPluginAPI(const kit::Config& config = TestConfig())
      : StatePlugBase<kit::PluginAPIBase>(config, kit::kAPIVST2)
  {
  }
  using kit::PluginAPIBase::mMidiMsgsFromEditor;
  using kit::PluginAPIBase::mSysExFromEditor;
};

} // namespace trazelle_test
