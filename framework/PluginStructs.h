#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit
{

enum ERoute
{
  kInput = 0,
  kOutput = 1
};

// A bus as announced in the channel-I/O string. A count of -64 stands for a wildcard bus.
struct IBusInfo
{
  ERoute direction = kInput;
  int nChans = 0;
};

constexpr int kWildcardBusChannels = -64;

// One channel layout the plug-in accepts: ordered input and output buses, empty buses left out.
struct IOConfig
{
  std::vector<IBusInfo> inputBuses;
  std::vector<IBusInfo> outputBuses;

  const std::vector<IBusInfo>& Buses(ERoute direction) const
  {
    return direction == kInput ? inputBuses : outputBuses;
  }
  int NBuses(ERoute direction) const { return static_cast<int>(Buses(direction).size()); }
  int NChans(ERoute direction) const
  {
    int total = 0;
    for (const IBusInfo& bus : Buses(direction))
      total += bus.nChans;
    return total;
  }
};

// Per-channel bookkeeping for one direction. `pData` is this channel's entry in its direction's
// pointer array: whatever is stored through it is what ProcessBlock sees for the channel.
struct IChannelData
{
  bool connected = false;
  double** pData = nullptr;
  float* pHostFloat = nullptr;   // host buffer of the current block, single precision
  double* pHostDouble = nullptr; // host buffer of the current block, double precision
  std::vector<double> scratchBuf;
  std::string label;
};

// The host's transport, as last reported.
struct ITimeInfo
{
  double tempo = 120.0;
  double samplePos = -1.0;
  double ppqPos = -1.0;
  double lastBar = -1.0;
  double cycleStart = -1.0;
  double cycleEnd = -1.0;
  int numerator = 4;
  int denominator = 4;
  bool transportIsRunning = false;
  bool transportLoopEnabled = false;
};

struct IMidiMsg
{
  int offset = 0;
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
};

// A system-exclusive message; the bytes belong to the sender and live for the call only.
struct ISysEx
{
  int offset = 0;
  const std::uint8_t* data = nullptr;
  int size = 0;
};

} // namespace kit
