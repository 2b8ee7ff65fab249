#pragma once

#include "framework/PluginConfig.h"
#include "framework/PluginStructs.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kit
{

// The audio side of a plug-in: channel layout, sample rate, block size, latency, transport, and the
// bridge from the host's per-channel buffers (float or double) to ProcessBlock, which always sees
// doubles. The host binding is the only caller of the buffer operations.
//
// Threads: ProcessBlock and the host-buffer operations run on the audio thread. Sample rate,
// block size, connections and latency change on the UI thread through the host's dispatcher, which
// hosts only call while processing is stopped; nothing here takes a lock.
class PluginProcessor
{
public:
  explicit PluginProcessor(const Config& config);
  virtual ~PluginProcessor();

  PluginProcessor(const PluginProcessor&) = delete;
  PluginProcessor& operator=(const PluginProcessor&) = delete;

  // Default: input i to output i where both exist, silence on the remaining outputs.
  virtual void ProcessBlock(double** inputs, double** outputs, int nFrames); // [audio thread]
  virtual void ProcessMidiMessage(const IMidiMsg& msg);                      // [audio thread]
  virtual void ProcessSysEx(const ISysEx& msg);                              // [audio thread]
  virtual void OnReset() {}                                                  // [ui thread]
  virtual void OnActivate(bool active) { (void)active; }                     // [ui thread]
  virtual bool SendMidiMessage(const IMidiMsg& msg) = 0;                     // [audio thread]
  virtual bool SendMidiMessages(std::span<const IMidiMsg> msgs);             // [audio thread]
  virtual bool SendSysEx(const ISysEx& msg);                                 // [audio thread]
  // Fills `name` with at most 32 characters.
  virtual void GetBusName(ERoute direction, int busIdx, int nBuses, std::string& name) const;
  virtual void SetLatency(int samples); // [ui thread]

  // [ui thread] Host settings; the binding calls OnReset after changing rate or block size.
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  void SetBlockSize(int blockSize);
  void SetTailSize(int tailSize) { mTailSize = tailSize; }
  void SetRenderingOffline(bool offline) { mRenderingOffline = offline; }
  void SetTimeInfo(const ITimeInfo& info) { mTimeInfo = info; }

  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  int GetTailSize() const { return mTailSize; }
  bool GetRenderingOffline() const { return mRenderingOffline; }
  const ITimeInfo& GetTimeInfo() const { return mTimeInfo; }
  int GetPlugType() const { return mPlugType; }
  bool DoesMidiIn() const { return mDoesMidiIn; }
  bool DoesMidiOut() const { return mDoesMidiOut; }
  bool DoesMPE() const { return mDoesMPE; }

  int NIOConfigs() const { return static_cast<int>(mIOConfigs.size()); }
  const IOConfig& GetIOConfig(int idx) const { return mIOConfigs.at(static_cast<size_t>(idx)); }
  int MaxNChannels(ERoute direction) const { return mMaxNChans[direction]; }
  int MaxNBuses(ERoute direction) const { return mMaxNBuses[direction]; }
  int NChannels(ERoute direction) const { return static_cast<int>(Channels(direction).size()); }
  int CountConnectedChannels(ERoute direction) const;
  bool IsChannelConnected(ERoute direction, int idx) const;
  const IChannelData& GetChannelData(ERoute direction, int idx) const;
  // True if some configuration has exactly nIn input and nOut output channels; -1 matches any.
  bool LegalIO(int nIn, int nOut) const;

  // [ui thread] Marks channels [idx, idx + n) of a direction, clipped to the existing records.
  void SetChannelConnections(ERoute direction, int idx, int n, bool connected);
  void SetChannelLabel(ERoute direction, int idx, const std::string& label);

  // [audio thread] Hands over the host's buffers for one block, `count` pointers for this
  // direction; connected records take them in order, disconnected ones take none.
  void AttachHostBuffers(ERoute direction, int count, float** buffers, int nFrames);
  void AttachHostBuffers(ERoute direction, int count, double** buffers, int nFrames);
  // [audio thread] Runs ProcessBlock on the attached buffers. Float outputs are overwritten
  // (replacing) or added to (accumulating); double buffers are processed in place. Blocks longer
  // than the block size are processed in block-size pieces, so the scratch buffers never overflow.
  void ProcessHostBuffers(int nFrames);
  void ProcessHostBuffersAccumulating(int nFrames);

  // Splits a channel-I/O string such as "1-1 2-2" or "2.2-2" into configurations; returns how
  // many were found. Maxima are taken over all configurations.
  static int ParseChannelIO(const std::string& channelIO, std::vector<IOConfig>& configs,
                            int& maxNInputChans, int& maxNOutputChans, int& maxNInBuses,
                            int& maxNOutBuses);

protected:
  double** InputPointers() { return mScratchData[kInput].data(); }
  double** OutputPointers() { return mScratchData[kOutput].data(); }

private:
  std::vector<IChannelData>& Channels(ERoute d) { return mChannelData[d]; }
  const std::vector<IChannelData>& Channels(ERoute d) const { return mChannelData[d]; }
  void ProcessHostBuffersImpl(int nFrames, bool accumulate);
  template <typename T>
  void AttachHostBuffersTo(ERoute direction, int count, T** buffers, T* IChannelData::*slot);

  int mPlugType;
  bool mDoesMidiIn;
  bool mDoesMidiOut;
  bool mDoesMPE;
  int mLatency;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mTailSize = 0;
  bool mRenderingOffline = false;
  ITimeInfo mTimeInfo;
  std::vector<IOConfig> mIOConfigs;
  int mMaxNChans[2] = {0, 0};
  int mMaxNBuses[2] = {0, 0};
  std::vector<double*> mScratchData[2];
  std::vector<IChannelData> mChannelData[2];
};

} // namespace kit
