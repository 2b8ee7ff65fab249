#include "framework/PluginProcessor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kit
{

namespace
{

std::vector<std::string> Split(const std::string& text, char separator, bool keepEmpty)
{
  std::vector<std::string> pieces;
  size_t begin = 0;
  while (begin <= text.size())
  {
    size_t end = text.find(separator, begin);
    if (end == std::string::npos) end = text.size();
    if (keepEmpty || end > begin) pieces.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return pieces;
}

// One bus piece of a channel-I/O token: "*" is a wildcard, anything else reads like "%d".
int BusChannelCount(const std::string& piece)
{
  if (piece == "*") return kWildcardBusChannels;
  int count = 0;
  if (std::sscanf(piece.c_str(), "%d", &count) != 1) return 0;
  return count;
}

void AddBuses(const std::string& piece, ERoute direction, IOConfig& config)
{
  std::vector<IBusInfo>& buses = direction == kInput ? config.inputBuses : config.outputBuses;
  for (const std::string& bus : Split(piece, '.', false))
  {
    const int count = BusChannelCount(bus);
    if (count != 0) buses.push_back({direction, count});
  }
}

} // namespace

PluginProcessor::PluginProcessor(const Config& config)
    : mPlugType(config.plugType), mDoesMidiIn(config.plugDoesMidiIn),
      mDoesMidiOut(config.plugDoesMidiOut), mDoesMPE(config.plugDoesMPE), mLatency(config.latency)
{
  ParseChannelIO(config.channelIOStr ? config.channelIOStr : "", mIOConfigs, mMaxNChans[kInput],
                 mMaxNChans[kOutput], mMaxNBuses[kInput], mMaxNBuses[kOutput]);

  for (ERoute direction : {kInput, kOutput})
  {
    const size_t n = static_cast<size_t>(std::max(0, mMaxNChans[direction]));
    // The records point into these arrays, so they are sized once and never reallocated.
    mScratchData[direction].assign(n, nullptr);
    mChannelData[direction].resize(n);
    for (size_t i = 0; i < n; ++i)
      mChannelData[direction][i].pData = &mScratchData[direction][i];
  }
}

PluginProcessor::~PluginProcessor() = default;

int PluginProcessor::ParseChannelIO(const std::string& channelIO, std::vector<IOConfig>& configs,
                                    int& maxNInputChans, int& maxNOutputChans, int& maxNInBuses,
                                    int& maxNOutBuses)
{
  maxNInputChans = maxNOutputChans = maxNInBuses = maxNOutBuses = 0;
  int found = 0;
  for (const std::string& token : Split(channelIO, ' ', false))
  {
    const std::vector<std::string> sides = Split(token, '-', true);
    IOConfig config;
    AddBuses(sides[0], kInput, config);
    if (sides.size() > 1) AddBuses(sides[1], kOutput, config);

    maxNInputChans = std::max(maxNInputChans, config.NChans(kInput));
    maxNOutputChans = std::max(maxNOutputChans, config.NChans(kOutput));
    maxNInBuses = std::max(maxNInBuses, config.NBuses(kInput));
    maxNOutBuses = std::max(maxNOutBuses, config.NBuses(kOutput));
    configs.push_back(std::move(config));
    ++found;
  }
  return found;
}

void PluginProcessor::ProcessBlock(double** inputs, double** outputs, int nFrames)
{
  if (nFrames <= 0) return;
  const size_t bytes = sizeof(double) * static_cast<size_t>(nFrames);
  const int nIn = NChannels(kInput);
  for (int i = 0; i < NChannels(kOutput); ++i)
  {
    double* out = outputs[i];
    if (!out) continue;
    const double* in = i < nIn ? inputs[i] : nullptr;
    if (in)
      std::memmove(out, in, bytes);
    else
      std::memset(out, 0, bytes);
  }
}

void PluginProcessor::ProcessMidiMessage(const IMidiMsg& msg)
{
  SendMidiMessage(msg);
}

void PluginProcessor::ProcessSysEx(const ISysEx& msg)
{
  (void)msg;
}

bool PluginProcessor::SendMidiMessages(std::span<const IMidiMsg> msgs)
{
  bool allSent = true;
  for (const IMidiMsg& msg : msgs)
    allSent = SendMidiMessage(msg) && allSent;
  return allSent;
}

bool PluginProcessor::SendSysEx(const ISysEx& msg)
{
  (void)msg;
  return false;
}

void PluginProcessor::GetBusName(ERoute direction, int busIdx, int nBuses, std::string& name) const
{
  if (direction == kInput)
  {
    if (nBuses == 1)
      name = "Input";
    else if (nBuses == 2)
      name = busIdx == 0 ? "Main" : "Aux";
    else
      name = "Input " + std::to_string(busIdx);
  }
  else
  {
    name = nBuses == 1 ? "Output" : "Output " + std::to_string(busIdx);
  }
  if (name.size() > 32) name.resize(32);
}

void PluginProcessor::SetLatency(int samples)
{
  // No latency delay line: this framework's plug-ins report latency but never delay bypassed audio.
  mLatency = samples;
}

void PluginProcessor::SetBlockSize(int blockSize)
{
  blockSize = std::max(0, blockSize);
  if (blockSize != mBlockSize)
  {
    for (ERoute direction : {kInput, kOutput})
      for (IChannelData& channel : Channels(direction))
        channel.scratchBuf.assign(static_cast<size_t>(blockSize), 0.0);
  }
  mBlockSize = blockSize;
}

int PluginProcessor::CountConnectedChannels(ERoute direction) const
{
  return static_cast<int>(std::count_if(Channels(direction).begin(), Channels(direction).end(),
                                        [](const IChannelData& c) { return c.connected; }));
}

bool PluginProcessor::IsChannelConnected(ERoute direction, int idx) const
{
  return idx >= 0 && idx < NChannels(direction) &&
         Channels(direction)[static_cast<size_t>(idx)].connected;
}

const IChannelData& PluginProcessor::GetChannelData(ERoute direction, int idx) const
{
  return Channels(direction).at(static_cast<size_t>(idx));
}

bool PluginProcessor::LegalIO(int nIn, int nOut) const
{
  return std::any_of(mIOConfigs.begin(), mIOConfigs.end(),
                     [&](const IOConfig& config)
                     {
                       return (nIn < 0 || config.NChans(kInput) == nIn) &&
                              (nOut < 0 || config.NChans(kOutput) == nOut);
                     });
}

void PluginProcessor::SetChannelConnections(ERoute direction, int idx, int n, bool connected)
{
  const int first = std::max(0, idx);
  const int end = std::min(NChannels(direction), idx + std::max(0, n));
  for (int i = first; i < end; ++i)
  {
    IChannelData& channel = Channels(direction)[static_cast<size_t>(i)];
    channel.connected = connected;
    // A disconnected channel must not hand ProcessBlock a buffer from an earlier block.
    if (!connected) *channel.pData = nullptr;
  }
}

void PluginProcessor::SetChannelLabel(ERoute direction, int idx, const std::string& label)
{
  if (idx >= 0 && idx < NChannels(direction))
    Channels(direction)[static_cast<size_t>(idx)].label = label;
}

template <typename T>
void PluginProcessor::AttachHostBuffersTo(ERoute direction, int count, T** buffers,
                                          T* IChannelData::*slot)
{
  std::vector<IChannelData>& channels = Channels(direction);
  const int n = std::min(std::max(0, count), NChannels(direction));
  int next = 0;
  for (int i = 0; i < NChannels(direction); ++i)
  {
    IChannelData& channel = channels[static_cast<size_t>(i)];
    channel.pHostFloat = nullptr;
    channel.pHostDouble = nullptr;
    if (i < n && channel.connected) channel.*slot = buffers ? buffers[next++] : nullptr;
  }
}

void PluginProcessor::AttachHostBuffers(ERoute direction, int count, float** buffers, int)
{
  AttachHostBuffersTo(direction, count, buffers, &IChannelData::pHostFloat);
}

void PluginProcessor::AttachHostBuffers(ERoute direction, int count, double** buffers, int)
{
  AttachHostBuffersTo(direction, count, buffers, &IChannelData::pHostDouble);
}

void PluginProcessor::ProcessHostBuffers(int nFrames)
{
  ProcessHostBuffersImpl(nFrames, false);
}

void PluginProcessor::ProcessHostBuffersAccumulating(int nFrames)
{
  ProcessHostBuffersImpl(nFrames, true);
}

void PluginProcessor::ProcessHostBuffersImpl(int nFrames, bool accumulate)
{
  if (nFrames <= 0) return;

  bool usesScratch = false;
  for (ERoute direction : {kInput, kOutput})
    for (const IChannelData& channel : Channels(direction))
      usesScratch = usesScratch || (channel.connected && !channel.pHostDouble);

  // Double buffers are processed in place in one go; anything converted goes through the scratch
  // buffers, which hold one block-size piece.
  const int piece = usesScratch ? mBlockSize : nFrames;
  if (piece <= 0)
  {
    if (!accumulate)
      for (const IChannelData& channel : Channels(kOutput))
        if (channel.connected && channel.pHostFloat) std::fill_n(channel.pHostFloat, nFrames, 0.0f);
    return;
  }

  for (int offset = 0; offset < nFrames; offset += piece)
  {
    const int n = std::min(piece, nFrames - offset);
    for (ERoute direction : {kInput, kOutput})
    {
      for (IChannelData& channel : Channels(direction))
      {
        if (!channel.connected) continue;
        if (channel.pHostDouble)
        {
          *channel.pData = channel.pHostDouble + offset;
          continue;
        }
        double* scratch = channel.scratchBuf.empty() ? nullptr : channel.scratchBuf.data();
        if (direction == kInput && scratch)
        {
          if (channel.pHostFloat)
            std::copy_n(channel.pHostFloat + offset, n, scratch);
          else
            std::fill_n(scratch, n, 0.0);
        }
        *channel.pData = scratch;
      }
    }

    ProcessBlock(InputPointers(), OutputPointers(), n);

    for (IChannelData& channel : Channels(kOutput))
    {
      if (!channel.connected || !channel.pHostFloat || channel.scratchBuf.empty()) continue;
      const double* src = channel.scratchBuf.data();
      float* dst = channel.pHostFloat + offset;
      if (accumulate)
        for (int i = 0; i < n; ++i)
          dst[i] += static_cast<float>(src[i]);
      else
        for (int i = 0; i < n; ++i)
          dst[i] = static_cast<float>(src[i]);
    }
  }
}

} // namespace kit
