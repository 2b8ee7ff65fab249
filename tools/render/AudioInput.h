#pragma once

// Reading the render tool's input through libsndfile (WAV, FLAC, AIFF and the
// other formats it knows). Mono is duplicated to both channels; channels after
// the second are ignored.

#include <cstdint>
#include <string>
#include <vector>

namespace qm::render
{

struct StereoAudio
{
  double sampleRate = 0.0;
  std::vector<double> left, right; // equal lengths
};

// Reads at most `maxFrames` frames. Fails with a reason for unreadable files,
// files without audio and sample rates outside 8000 to 384000 Hz.
bool ReadAudioFile(const std::string& path, int64_t maxFrames, StereoAudio& out,
                   std::string& error);

// Writes 16-bit PCM WAV with `channels` channels (1 or 2; mono takes the left
// channel). For tests and tools that need a small input file.
bool WriteWavFile(const std::string& path, const StereoAudio& audio, int channels,
                  std::string& error);

} // namespace qm::render
