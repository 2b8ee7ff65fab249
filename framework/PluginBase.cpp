#include "framework/PluginBase.h"

#include <cstdio>

namespace kit
{

namespace
{

void SetPresetName(IPreset& preset, const char* name)
{
  preset.mName.assign(name != nullptr ? name : "");
  if (preset.mName.size() > IPreset::kMaxNameLen) preset.mName.resize(IPreset::kMaxNameLen);
}

} // namespace

PluginBase::PluginBase(const Config& config, EAPI plugAPI)
    : gfx::GraphicsEditorDelegate(config.nParams), mPluginName(config.pluginName),
      mProductName(config.productName), mMfrName(config.mfrName), mUniqueID(config.uniqueID),
      mMfrID(config.mfrID), mVersion(config.vendorVersion), mHasUI(config.plugHasUI),
      mHostResize(config.plugHostResize), mStateChunks(config.plugDoesChunks),
      mBundleID(config.bundleID), mAPI(plugAPI)
{
  SetEditorSize(config.plugWidth, config.plugHeight);
  SetSizeConstraints(config.plugMinWidth, config.plugMaxWidth, config.plugMinHeight,
                     config.plugMaxHeight);
  for (int i = 0; i < config.nPresets; ++i)
    mPresets.push_back(std::make_unique<IPreset>());
}

PluginBase::~PluginBase() = default;

int PluginBase::GetPluginVersion(bool decimal) const
{
  if (!decimal) return mVersion;
  const int major = (mVersion >> 16) & 0xffff;
  const int minor = (mVersion >> 8) & 0xff;
  const int patch = mVersion & 0xff;
  return major * 10000 + minor * 100 + patch;
}

bool PluginBase::SerializeParams(IByteChunk& chunk) const
{
  for (int i = 0; i < NParams(); ++i)
    chunk.Put(GetParam(i)->Value());
  return true;
}

int PluginBase::UnserializeParams(const IByteChunk& chunk, int startPos)
{
  int pos = startPos;
  for (int i = 0; i < NParams() && pos >= 0; ++i)
  {
    double value = 0.0;
    pos = chunk.Get(value, pos);
    if (pos < 0) value = 0.0;
    GetParam(i)->Set(value); // Set snaps stepped values and clamps
  }
  OnAllParamsChanged(kPresetRecall);
  return pos;
}

const IPreset* PluginBase::GetPreset(int idx) const
{
  return (idx >= 0 && idx < NPresets()) ? mPresets[static_cast<size_t>(idx)].get() : nullptr;
}

const char* PluginBase::GetPresetName(int idx) const
{
  const IPreset* preset = GetPreset(idx);
  return preset != nullptr ? preset->mName.c_str() : "";
}

void PluginBase::MakeDefaultPresets(const char* name, int count)
{
  for (int i = 0; i < count; ++i)
  {
    for (auto& preset : mPresets)
    {
      if (preset->mInitialized) continue;
      preset->mInitialized = true;
      SetPresetName(*preset, name);
      preset->mChunk.Clear();
      SerializeState(preset->mChunk);
      break;
    }
  }
}

bool PluginBase::RestorePreset(int idx)
{
  if (idx < 0 || idx >= NPresets()) return false;

  IPreset& preset = *mPresets[static_cast<size_t>(idx)];
  bool success = false;
  if (preset.mInitialized)
  {
    success = UnserializeState(preset.mChunk, 0) > 0;
  }
  else
  {
    preset.mInitialized = true;
    int userPresets = 0;
    for (const auto& p : mPresets)
    {
      if (p->mName.find("user preset") != std::string::npos) ++userPresets;
    }
    char name[IPreset::kMaxNameLen + 1];
    std::snprintf(name, sizeof(name), "%s %d", "user preset", userPresets + 1);
    SetPresetName(preset, name);
    preset.mChunk.Clear();
    success = SerializeState(preset.mChunk);
  }

  if (success)
  {
    mCurrentPresetIdx = idx;
    InformHostOfPresetChange();
    OnRestoreState();
  }
  return success;
}

void PluginBase::ModifyCurrentPreset(const char* name)
{
  if (mCurrentPresetIdx < 0 || mCurrentPresetIdx >= NPresets()) return;
  IPreset& preset = *mPresets[static_cast<size_t>(mCurrentPresetIdx)];
  preset.mChunk.Clear();
  SerializeState(preset.mChunk);
  if (name != nullptr && name[0] != '\0') SetPresetName(preset, name);
}

bool PluginBase::SerializePresets(IByteChunk& chunk) const
{
  for (const auto& preset : mPresets)
  {
    chunk.PutStr(preset->mName);
    chunk.Put(preset->mInitialized);
    if (preset->mInitialized) chunk.PutChunk(preset->mChunk);
  }
  return chunk.Size() > 0;
}

int PluginBase::UnserializePresets(const IByteChunk& chunk, int startPos)
{
  // A bank that turns out to be truncated must not leave half of it applied:
  // keep the records and the current state so that a failed load can be undone.
  std::vector<IPreset> before(mPresets.size());
  for (size_t i = 0; i < mPresets.size(); ++i)
  {
    before[i].mInitialized = mPresets[i]->mInitialized;
    before[i].mName = mPresets[i]->mName;
    before[i].mChunk = mPresets[i]->mChunk;
  }
  IByteChunk stateBefore;
  SerializeState(stateBefore);

  int pos = startPos;
  for (auto& preset : mPresets)
  {
    if (pos < 0) break;

    std::string name;
    pos = chunk.GetStr(name, pos);
    if (pos < 0) break;
    SetPresetName(*preset, name.c_str());

    std::uint8_t flag = 0;
    pos = chunk.Get(flag, pos);
    if (pos < 0) break;
    preset->mInitialized = flag != 0;

    if (preset->mInitialized)
    {
      // A state that cannot be read fails the whole bank (undone below): loading the preset's old
      // state under the bank's new name would be neither.
      pos = UnserializeState(chunk, pos);
      if (pos <= 0)
      {
        pos = -1;
        break;
      }
      preset->mChunk.Clear();
      SerializeState(preset->mChunk);
    }
  }
  if (pos < 0)
  {
    for (size_t i = 0; i < mPresets.size(); ++i)
    {
      mPresets[i]->mInitialized = before[i].mInitialized;
      mPresets[i]->mName = std::move(before[i].mName);
      mPresets[i]->mChunk = std::move(before[i].mChunk);
    }
    UnserializeState(stateBefore, 0);
    OnRestoreState();
    return pos;
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

} // namespace kit
