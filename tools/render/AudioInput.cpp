#include "tools/render/AudioInput.h"

#include <sndfile.h>

#include <algorithm>
#include <memory>

namespace qm::render
{

namespace
{

struct SndFileCloser
{
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

constexpr sf_count_t kChunkFrames = 4096;

} // namespace

bool ReadAudioFile(const std::string& path, int64_t maxFrames, StereoAudio& out, std::string& error)
{
  out = {};
  SF_INFO info{};
  SndFilePtr file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file)
  {
    error = "cannot read '" + path + "': " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.frames <= 0)
  {
    error = "'" + path + "' contains no audio";
    return false;
  }
  if (info.samplerate < 8000 || info.samplerate > 384000)
  {
    error = "'" + path + "' has an unsupported sample rate of " + std::to_string(info.samplerate) +
            " Hz";
    return false;
  }

  const sf_count_t wanted = std::min<sf_count_t>(info.frames, std::max<int64_t>(maxFrames, 0));
  out.sampleRate = info.samplerate;
  out.left.reserve(size_t(wanted));
  out.right.reserve(size_t(wanted));
  std::vector<double> chunk(size_t(kChunkFrames) * size_t(info.channels));
  while (sf_count_t(out.left.size()) < wanted)
  {
    const sf_count_t ask = std::min(kChunkFrames, wanted - sf_count_t(out.left.size()));
    const sf_count_t got = sf_readf_double(file.get(), chunk.data(), ask);
    if (got <= 0) break;
    for (sf_count_t f = 0; f < got; ++f)
    {
      const double* frame = &chunk[size_t(f) * size_t(info.channels)];
      out.left.push_back(frame[0]);
      out.right.push_back(info.channels > 1 ? frame[1] : frame[0]);
    }
  }
  if (sf_error(file.get()) != SF_ERR_NO_ERROR)
  {
    error = "error while reading '" + path + "': " + sf_strerror(file.get());
    return false;
  }
  if (out.left.empty() && wanted > 0)
  {
    error = "'" + path + "' contains no readable audio";
    return false;
  }
  return true;
}

bool WriteWavFile(const std::string& path, const StereoAudio& audio, int channels,
                  std::string& error)
{
  if ((channels != 1 && channels != 2) || audio.left.size() != audio.right.size() ||
      audio.sampleRate < 1.0)
  {
    error = "bad audio for WAV writing";
    return false;
  }
  SF_INFO info{};
  info.samplerate = int(audio.sampleRate);
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SndFilePtr file(sf_open(path.c_str(), SFM_WRITE, &info));
  if (!file)
  {
    error = "cannot write '" + path + "': " + sf_strerror(nullptr);
    return false;
  }
  std::vector<double> interleaved;
  interleaved.reserve(audio.left.size() * size_t(channels));
  for (size_t i = 0; i < audio.left.size(); ++i)
  {
    interleaved.push_back(audio.left[i]);
    if (channels == 2) interleaved.push_back(audio.right[i]);
  }
  const sf_count_t frames = sf_count_t(audio.left.size());
  if (sf_writef_double(file.get(), interleaved.data(), frames) != frames)
  {
    error = "short write to '" + path + "'";
    return false;
  }
  return true;
}

} // namespace qm::render
