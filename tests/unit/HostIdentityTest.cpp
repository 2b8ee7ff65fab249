#include "framework/PluginHost.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace kit;

TEST(IdentifyHost, EveryWordOfTheTableHasItsId)
{
  const std::vector<std::pair<const char*, int>> table = {
      {"reaper", 1},         {"protools", 2},
      {"cubase", 3},         {"nuendo", 4},
      {"cakewalk", 5},       {"vegas", 6},
      {"fruity", 7},         {"samplitude", 8},
      {"live", 9},           {"tracktion", 10},
      {"ntracks", 11},       {"melodyne", 12},
      {"vstmanlib", 13},     {"aulab", 14},
      {"forte", 15},         {"chainer", 16},
      {"audition", 17},      {"orion", 18},
      {"bias", 19},          {"sawstudio", 20},
      {"logic", 21},         {"garageband", 22},
      {"digital", 23},       {"audiomulch", 25},
      {"presonus", 26},      {"vst3plugintesthost", 27},
      {"ardour", 28},        {"renoise", 29},
      {"openmpt", 30},       {"wavelab elements", 32},
      {"wavelab", 31},       {"twistedwave", 33},
      {"bitwig studio", 34}, {"reason", 36},
      {"gwvst", 37},         {"waveform", 38},
      {"audacity", 39},      {"acoustica", 40},
      {"plugindoctor", 41},  {"izotope rx", 42},
      {"savihost", 43},      {"blue cat's vst host", 44},
      {"standalone", 24},    {"www", 35}};
  for (const auto& [word, id] : table)
    EXPECT_EQ(IdentifyHost(word), id) << word;
}

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
