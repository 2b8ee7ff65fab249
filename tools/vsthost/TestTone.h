#pragma once

// The signal both editor runs play into the plug-in: 220 Hz at half scale on the left, 330 Hz at
// quarter scale on the right, through the host's 32-bit process call, one block at a time.

#include "framework/VST2Interface.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace vsthost
{

class TestTone
{
public:
  TestTone(double sampleRate, int block)
      : mStepL(2.0 * std::numbers::pi * 220.0 / sampleRate),
        mStepR(2.0 * std::numbers::pi * 330.0 / sampleRate), mBlock(block)
  {
    for (auto* channels : {mIn, mOut})
      for (int c = 0; c < 2; ++c)
        channels[c].assign(static_cast<size_t>(block), 0.f);
  }

  void PlayBlock(kit::vst2::AEffect* plug)
  {
    for (int i = 0; i < mBlock; ++i)
    {
      mIn[0][size_t(i)] = static_cast<float>(0.5 * std::sin(mPhaseL));
      mIn[1][size_t(i)] = static_cast<float>(0.25 * std::sin(mPhaseR));
      mPhaseL += mStepL;
      mPhaseR += mStepR;
    }
    float* ins[2] = {mIn[0].data(), mIn[1].data()};
    float* outs[2] = {mOut[0].data(), mOut[1].data()};
    plug->processReplacing(plug, ins, outs, mBlock);
  }

private:
  double mStepL, mStepR;
  double mPhaseL = 0.0, mPhaseR = 0.0;
  int mBlock;
  std::vector<float> mIn[2], mOut[2];
};

} // namespace vsthost
