// The three process callbacks and what surrounds every block. Nothing here
// allocates, locks or waits: the host's buffers are attached, the transport
// is read from the host, and the editor's queues are drained a bounded number
// of entries at a time.

#include "framework/PluginVST2Internal.h"

namespace kit
{

using namespace vst2;

void PluginVST2::PreProcess()
{
  if (DoesMidiIn()) CallHost(audioMasterWantMidi);

  const auto* host = reinterpret_cast<const VstTimeInfo*>(CallHost(
      audioMasterGetTime, 0,
      kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid));

  ITimeInfo info;
  if (host != nullptr)
  {
    info.samplePos = host->samplePos;
    if ((host->flags & kVstPpqPosValid) && host->ppqPos >= 0.0) info.ppqPos = host->ppqPos;
    if ((host->flags & kVstTempoValid) && host->tempo > 0.0) info.tempo = host->tempo;
    if ((host->flags & kVstBarsValid) && host->barStartPos >= 0.0) info.lastBar = host->barStartPos;
    if ((host->flags & kVstCyclePosValid) && host->cycleStartPos >= 0.0 && host->cycleEndPos >= 0.0)
    {
      info.cycleStart = host->cycleStartPos;
      info.cycleEnd = host->cycleEndPos;
    }
    if ((host->flags & kVstTimeSigValid) && host->timeSigNumerator > 0 &&
        host->timeSigDenominator > 0)
    {
      info.numerator = host->timeSigNumerator;
      info.denominator = host->timeSigDenominator;
    }
    info.transportIsRunning = host->flags & kVstTransportPlaying;
    info.transportLoopEnabled = host->flags & kVstTransportCycleActive;
  }
  SetTimeInfo(info);
  SetRenderingOffline(CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline);

  for (size_t n = mMidiMsgsFromEditor.ElementsAvailable(); n > 0; --n)
  {
    IMidiMsg msg;
    if (!mMidiMsgsFromEditor.Pop(msg)) break;
    ProcessMidiMessage(msg);
  }
}

void PluginVST2::PostProcess()
{
  for (size_t n = mSysExFromEditor.ElementsAvailable(); n > 0; --n)
  {
    SysExData msg;
    if (!mSysExFromEditor.Pop(msg)) break;
    SendSysEx(msg.View());
  }
}

template <typename T>
void PluginVST2::ProcessBlock(AEffect* effect, T** inputs, T** outputs, std::int32_t nFrames,
                              bool accumulate)
{
  PluginVST2* plug = GetPlug(effect);
  if (plug == nullptr) return;
  // Nothing here throws by design; should anything, it must not unwind into the host.
  try
  {
    plug->AttachHostBuffers(kInput, effect->numInputs, inputs, nFrames);
    plug->AttachHostBuffers(kOutput, effect->numOutputs, outputs, nFrames);
    plug->PreProcess();
    if (accumulate)
      plug->ProcessHostBuffersAccumulating(nFrames);
    else
      plug->ProcessHostBuffers(nFrames);
    plug->PostProcess();
  }
  catch (...)
  {
  }
}

void PluginVST2::VSTProcess(AEffect* effect, float** inputs, float** outputs, std::int32_t nFrames)
{
  ProcessBlock(effect, inputs, outputs, nFrames, true);
}

void PluginVST2::VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs,
                                     std::int32_t nFrames)
{
  ProcessBlock(effect, inputs, outputs, nFrames, false);
}

void PluginVST2::VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                           std::int32_t nFrames)
{
  ProcessBlock(effect, inputs, outputs, nFrames, false);
}

} // namespace kit
