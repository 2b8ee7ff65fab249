#pragma once

#include "editor/TrazelleEditor.h"
#include "framework/PluginConfig.h"
#include "framework/PluginVST2.h"
#include "plugin/OverCounter.h"
#include "plugin/HostTimeline.h"
#include "plugin/SampleBuffer.h"
#include "plugin/Settings.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace qm::Trazelle
{

// The plug-in: passes stereo audio through unchanged and copies every frame into the two sample
// buffers that feed the oscilloscope (four seconds) and the meter (a quarter of a second). Owns the
// settings record, which is its whole saved state, and the freeze flag, which is never saved.
//
// One object is at once the VST2 binding, the plug-in base, the editor delegate and the processor
// (PluginVST2 and its bases).
class Trazelle : public kit::PluginVST2
{
public:
  static constexpr double kOscilloscopeSeconds = 4.0;
  static constexpr double kMeterSeconds = 0.25;

  static kit::Config MakeConfig();
  // Frames a sample buffer holds for `seconds` of audio at `sampleRate`, truncated. Rates outside
  // (0, kMaxSampleRate] are clamped there, so a bogus host rate cannot ask for absurd memory.
  static std::uint64_t BufferCapacity(double sampleRate, double seconds);
  static constexpr double kMaxSampleRate = 768000.0;

  // `info` carries the host callback; without one (tests, tools) the plug-in runs hostless.
  explicit Trazelle(const kit::InstanceInfo& info = {});
  ~Trazelle() override;

  // [ui thread] Brings the editor's controls up to date once its window is up.
  void OnUIOpen() override;
  // [ui thread] After a state or preset load: an open editor shows what was loaded.
  void OnRestoreState() override;
  // [ui thread] Appends the settings blob to `chunk`; always succeeds.
  bool SerializeState(kit::IByteChunk& chunk) const override;
  // [ui thread] Reads the settings blob from `startPos` to the end of `chunk`. On success replaces
  // the settings at once and returns the chunk's size; on failure returns 0 and changes nothing.
  int UnserializeState(const kit::IByteChunk& chunk, int startPos) override;

  void ProcessBlock(double** inputs, double** outputs, int nFrames) override; // [audio thread]
  void OnReset() override;                                                    // [ui thread]

  Settings& GetSettings() { return mSettings; }
  const Settings& GetSettings() const { return mSettings; }

  // [ui thread] The editor's freeze switch; the audio thread reads the flag once per block.
  void SetFreeze(bool freeze) { mFreeze.exchange(freeze); }
  bool GetFreeze() const { return mFreeze.load(); }

  // Consumers: the oscilloscope and the meter drain these on the UI thread.
  SampleBuffer& OscilloscopeBuffer() { return mOscilloscopeBuffer; }
  SampleBuffer& MeterBuffer() { return mMeterBuffer; }
  // Overs of the input, counted on the audio thread; the meter shows and resets them.
  OverCounter& Overs() { return mOvers; }

  // [ui thread] The host's transport as of the latest block, tagged with the oscilloscope feed's
  // frame it belongs to (see SampleBuffer::Taken).
  const HostTimeline& Timeline() const { return mTimeline; }

  TrazelleEditor& Editor() { return mEditor; }

private:
  void PublishHostTime(); // [audio thread]

  SampleBuffer mOscilloscopeBuffer;
  SampleBuffer mMeterBuffer;
  Settings mSettings;
  OverCounter mOvers;
  std::atomic<bool> mFreeze{false};
  HostTimeline mTimeline;
  // Frames the oscilloscope buffer accepted since its last resize. Written by the audio thread;
  // the reset, which resizes the buffer while processing is stopped, zeroes it.
  std::atomic<std::uint64_t> mScopeFrames{0};
  // What the last record said, so that a host without a transport is not republished every block.
  bool mTimelineInformative = false;
  double mTimelineTempo = 120.0;
  TrazelleEditor mEditor{this, &mSettings};
};

} // namespace qm::Trazelle
