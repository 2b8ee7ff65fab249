#pragma once

// SysEx with its own storage, for the queues between the audio thread and the
// editor: a queue entry cannot point into a host buffer that is gone by the
// time the other thread reads it.

#include "framework/PluginStructs.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kit
{

struct SysExData
{
  static constexpr int kMaxSize = 512;

  SysExData() = default;
  // Longer messages are cut to kMaxSize bytes; without data the bytes are zero.
  SysExData(int offset, int size, const void* data)
      : mOffset(offset), mSize(std::clamp(size, 0, kMaxSize))
  {
    if (data != nullptr && mSize > 0) std::memcpy(mData, data, static_cast<size_t>(mSize));
  }

  ISysEx View() const { return {mOffset, mData, mSize}; }

  int mOffset = 0;
  int mSize = 0;
  std::uint8_t mData[kMaxSize] = {};
};

} // namespace kit
