#include "tools/render/AudioInput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace qm::render;

namespace
{

std::string TempPath(const char* name)
{
  return (std::filesystem::temp_directory_path() / name).string();
}

StereoAudio Tones(double rate, size_t frames)
{
  StereoAudio a{rate, {}, {}};
  for (size_t i = 0; i < frames; ++i)
  {
    a.left.push_back(0.5 * std::sin(2.0 * M_PI * 220.5 * double(i) / rate));
    a.right.push_back(-0.25);
  }
  return a;
}

} // namespace

TEST(AudioInput, MonoIsDuplicatedAndReadingStopsAtTheLimit)
{
  const std::string path = TempPath("trazelle_audio_mono.wav");
  std::string error;
  ASSERT_TRUE(WriteWavFile(path, Tones(48000.0, 4800), 1, error)) << error;
  StereoAudio back;
  ASSERT_TRUE(ReadAudioFile(path, 100, back, error)) << error;
  ASSERT_EQ(back.left.size(), 100u);
  EXPECT_EQ(back.left, back.right);
  EXPECT_GT(*std::max_element(back.left.begin(), back.left.end()), 0.45);
  std::filesystem::remove(path);
}

TEST(AudioInput, UnreadableFilesFailWithTheirName)
{
  StereoAudio out;
  std::string error;
  EXPECT_FALSE(ReadAudioFile("/nonexistent/none.wav", 10, out, error));
  EXPECT_NE(error.find("/nonexistent/none.wav"), std::string::npos);

  const std::string junk = TempPath("trazelle_audio_junk.wav");
  std::ofstream(junk) << "RIFF but not really a wave file";
  EXPECT_FALSE(ReadAudioFile(junk, 10, out, error));
  EXPECT_NE(error.find(junk), std::string::npos);
  EXPECT_TRUE(out.left.empty());
  std::filesystem::remove(junk);
}
