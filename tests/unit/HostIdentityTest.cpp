#include "framework/PluginHost.h"

#include <gtest/gtest.h>

#include <string>

using namespace kit;

TEST(IdentifyHost, ProductNamesAreMatchedCaseInsensitively)
{
  EXPECT_EQ(IdentifyHost("WaveLab Elements 10"), 32);
  EXPECT_EQ(IdentifyHost("WaveLab Pro 11"), 31);
  EXPECT_EQ(IdentifyHost("Cubase 12"), 3);
  EXPECT_EQ(IdentifyHost("REAPER"), 1);
  EXPECT_EQ(IdentifyHost("Bitwig Studio"), 34);
}

TEST(IdentifyHost, EarlierWordsWinOverLaterOnes)
{
  // "live" is tested before "waveform" and "reason": any name containing it is 9.
  EXPECT_EQ(IdentifyHost("Waveform Live Edition"), 9);
  EXPECT_EQ(IdentifyHost("Oliver's Reason"), 9);
  // "reaper" comes first of all.
  EXPECT_EQ(IdentifyHost("Reaper inside Cubase"), 1);
  // "bitwig" alone is not enough; "standalone" is tested late.
  EXPECT_EQ(IdentifyHost("Bitwig"), 0);
  EXPECT_EQ(IdentifyHost("Some Standalone Logic"), 21);
}

TEST(IdentifyHost, NoHitGivesZero)
{
  EXPECT_EQ(IdentifyHost("Unheard-of Host"), 0);
  EXPECT_EQ(IdentifyHost(""), 0);
  EXPECT_EQ(IdentifyHost(nullptr), 0);
}

TEST(IdentifyHost, LongNamesAreReadOnlyUpToTheCopysLength)
{
  std::string name(100000, 'x');
  EXPECT_EQ(IdentifyHost(name.c_str()), 0);
  // A word past the bounded copy is not seen; one inside it is.
  EXPECT_EQ(IdentifyHost((name + "cubase").c_str()), 0);
  EXPECT_EQ(IdentifyHost(("cubase" + name).c_str()), 3);
}
