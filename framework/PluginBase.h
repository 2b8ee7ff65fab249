#pragma once

// The host-independent core of a plug-in: its identity, its presets and the
// layout of the state chunks the host stores. The state itself comes from
// SerializeState / UnserializeState, which a plug-in overrides.
//
// Chunk layouts (each begins with IByteChunk's header when handed to a host):
//   program chunk: SerializeState output
//   bank chunk:    per preset: name (string), initialised (bool), and, only
//                  when initialised, the preset's state bytes appended raw
//
// Everything here runs on the host's UI thread.

#include "framework/GraphicsEditorDelegate.h"
#include "framework/IByteChunk.h"
#include "framework/PluginConfig.h"

#include <memory>
#include <string>
#include <vector>

namespace kit
{

enum EAPI
{
  kAPIVST2 = 0,
  kAPIVST3,
  kAPIAU,
  kAPIAUv3,
  kAPIAAX,
  kAPIAPP,
  kAPIWAM,
  kAPIWEB
};

struct IPreset
{
  static constexpr int kMaxNameLen = 255;

  bool mInitialized = false;
  std::string mName = "empty"; // at most kMaxNameLen characters
  IByteChunk mChunk;
};

class PluginBase : public gfx::GraphicsEditorDelegate
{
public:
  PluginBase(const Config& config, EAPI plugAPI);
  ~PluginBase() override;

  const std::string& GetPluginName() const { return mPluginName; }
  const std::string& GetProductName() const { return mProductName; }
  const std::string& GetMfrName() const { return mMfrName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  // Packed (major << 16 | minor << 8 | patch) or decimal (major * 10000 +
  // minor * 100 + patch).
  int GetPluginVersion(bool decimal) const;
  bool HasUI() const { return mHasUI; }
  bool GetHostResizeEnabled() const { return mHostResize; }
  bool DoesStateChunks() const { return mStateChunks; }
  const std::string& GetBundleID() const { return mBundleID; }
  EAPI GetAPI() const { return mAPI; }

  // [ui thread] The plug-in's state; the defaults store every parameter.
  virtual bool SerializeState(IByteChunk& chunk) const { return SerializeParams(chunk); }
  // Returns the position after the state, or a value < 1 on failure.
  virtual int UnserializeState(const IByteChunk& chunk, int startPos)
  {
    return UnserializeParams(chunk, startPos);
  }

  bool SerializeParams(IByteChunk& chunk) const;
  int UnserializeParams(const IByteChunk& chunk, int startPos);

  int NPresets() const { return static_cast<int>(mPresets.size()); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  const IPreset* GetPreset(int idx) const;
  // Empty text for an index outside the list.
  const char* GetPresetName(int idx) const;

  // Initialises the first `count` uninitialised presets with `name` and the
  // current state.
  void MakeDefaultPresets(const char* name, int count);
  bool RestorePreset(int idx);
  // Stores the current state into the current preset (and renames it when a
  // non-empty name is given).
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(IByteChunk& chunk) const;
  int UnserializePresets(const IByteChunk& chunk, int startPos);

protected:
  // The host is told that the current preset changed; nothing by default.
  virtual void InformHostOfPresetChange() {}

private:
  std::string mPluginName;
  std::string mProductName;
  std::string mMfrName;
  int mUniqueID = 0;
  int mMfrID = 0;
  int mVersion = 0;
  bool mHasUI = false;
  bool mHostResize = false;
  bool mStateChunks = false;
  std::string mBundleID;
  EAPI mAPI = kAPIVST2;

  std::vector<std::unique_ptr<IPreset>> mPresets;
  int mCurrentPresetIdx = 0;
};

} // namespace kit
