#pragma once

#include "framework/IPlugConfig.h"
#include "framework/IPlugProcessor.h"
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
// For now the object is only the audio side; the plug-in base, the host binding and the editor
// delegate join the base chain above IPlugProcessor later, as does the editor object.
class Trazelle : public iplug::IPlugProcessor
{
public:
  static constexpr double kOscilloscopeSeconds = 4.0;
  static constexpr double kMeterSeconds = 0.25;

  static iplug::Config MakeConfig();
  // Frames a sample buffer holds for `seconds` of audio at `sampleRate`, truncated. Rates outside
  // (0, kMaxSampleRate] are clamped there, so a bogus host rate cannot ask for absurd memory.
  static std::uint64_t BufferCapacity(double sampleRate, double seconds);
  static constexpr double kMaxSampleRate = 768000.0;

  Trazelle();
  ~Trazelle() override;

  void ProcessBlock(double** inputs, double** outputs, int nFrames) override; // [audio thread]
  void OnReset() override;                                                    // [ui thread]
  // This plug-in sends no MIDI; there is nobody to send it to until the host binding exists.
  bool SendMidiMessage(const iplug::IMidiMsg& msg) override; // [audio thread]

  // [ui thread] Appends the settings blob to `chunk`; always succeeds.
  bool SerializeState(std::vector<std::uint8_t>& chunk) const;
  // [ui thread] Reads the settings blob from `startPos` to the end of `chunk`. On success replaces
  // the settings at once and returns the chunk's size; on failure returns 0 and changes nothing.
  int UnserializeState(const std::vector<std::uint8_t>& chunk, int startPos);

  Settings& GetSettings() { return mSettings; }
  const Settings& GetSettings() const { return mSettings; }

  // [ui thread] The editor's freeze switch; the audio thread reads the flag once per block.
  void SetFreeze(bool freeze) { mFreeze.exchange(freeze); }
  bool GetFreeze() const { return mFreeze.load(); }

  // Consumers: the oscilloscope and the meter drain these on the UI thread.
  SampleBuffer& OscilloscopeBuffer() { return mOscilloscopeBuffer; }
  SampleBuffer& MeterBuffer() { return mMeterBuffer; }

private:
  SampleBuffer mOscilloscopeBuffer;
  SampleBuffer mMeterBuffer;
  Settings mSettings;
  std::atomic<bool> mFreeze{false};
};

} // namespace qm::Trazelle
