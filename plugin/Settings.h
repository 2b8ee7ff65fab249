#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qm::Trazelle
{

enum EDisplayMode
{
  kWaveformMode = 0,
  kEnvelopeMode = 1
};

enum EDisplayChannel
{
  kStereoChannel = 0,
  kLeftChannel = 1,
  kRightChannel = 2
};

// Everything the user chooses in the editor; the whole saved state of the plug-in. Edited on the
// UI thread only; the audio thread never reads it.
struct Settings
{
  static constexpr int kNumThemes = 4;
  static constexpr int kNumScales = 6;
  static constexpr int kBlobVersion = 65536;

  EDisplayMode mode = kEnvelopeMode;
  double gain = DefaultGain();
  EDisplayChannel channel = kStereoChannel;
  double envelope_mode_duration = 3.0 / 7.0;
  double waveform_mode_duration = 0.4;
  int theme = 0;
  int scale = 2; // 100 %
  // The tempo-locked view; stored only when they differ from these defaults, so that older
  // versions and the default blob are unaffected.
  bool sync = false;
  double beats = 4.0; // one of 1/4, 1/2, 1, ... 16

  // The v. zoom knob's resting position, computed once.
  static double DefaultGain();

  bool operator==(const Settings&) const = default;
};

// Appends the settings blob (a MessagePack map) to `bytes`.
void WriteSettingsBlob(const Settings& settings, std::vector<std::uint8_t>& bytes);

// Decodes a whole settings blob. On success fills `settings` with every field brought into its
// valid range and returns true; on any failure returns false and leaves `settings` as it was.
bool ReadSettingsBlob(std::span<const std::uint8_t> blob, Settings& settings);

// Largest blob accepted; a real one is about 120 bytes.
constexpr std::size_t kMaxSettingsBlobSize = 64 * 1024;

} // namespace qm::Trazelle
