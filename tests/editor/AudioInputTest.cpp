#include "tools/render/AudioInput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qm::render;

namespace
{

std::string TempPath(const char* name)
{
  return (std::filesystem::temp_directory_path() / name).string();
}

} // namespace

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
