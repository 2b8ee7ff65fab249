#include "tests/unit/TestPlugins.h"

#include <gtest/gtest.h>

#include <string>

using namespace kit;
using trazelle_test::TestConfig;
using trazelle_test::TestPluginAPI;

namespace
{

std::vector<std::uint8_t> Bytes(const IByteChunk& chunk)
{
  return {chunk.GetData(), chunk.GetData() + chunk.Size()};
}

IByteChunk BankOf(std::initializer_list<std::tuple<std::string, bool, std::int32_t>> presets)
{
  IByteChunk chunk;
  for (const auto& [name, initialised, value] : presets)
  {
    chunk.PutStr(name);
    chunk.Put(initialised);
    if (initialised) chunk.Put(value);
  }
  return chunk;
}

} // namespace

TEST(PluginBase, UnserializePresetsLoadsNamesFlagsAndStates)
{
  TestPluginAPI plug(TestConfig(0, 2));
  plug.MakeDefaultPresets("Empty", 2);
  const IByteChunk bank = BankOf({{"First", true, 11}, {"Second", false, 0}});
  // Each state reads only its own int32 here, so two presets fit in one bank.
  EXPECT_EQ(plug.UnserializePresets(bank, 0), bank.Size());
  EXPECT_STREQ(plug.GetPresetName(0), "First");
  EXPECT_STREQ(plug.GetPresetName(1), "Second");
  EXPECT_FALSE(plug.GetPreset(1)->mInitialized);
  EXPECT_EQ(plug.mValue, 11); // the current preset (0) restored
  EXPECT_GE(plug.log.restores, 1);
}

TEST(PluginBase, BankWithoutItsFlagByteIsUndoneAndFails)
{
  TestPluginAPI plug(TestConfig(0, 1));
  plug.mValue = 3;
  plug.MakeDefaultPresets("Empty", 1);
  IByteChunk bank;
  bank.PutStr("Renamed"); // flag byte missing
  EXPECT_LT(plug.UnserializePresets(bank, 0), 0);
  EXPECT_TRUE(plug.GetPreset(0)->mInitialized); // the old flag stays
  EXPECT_STREQ(plug.GetPresetName(0), "Empty"); // and nothing else was applied
  EXPECT_EQ(plug.mValue, 3);
}

TEST(PluginBase, BankThatFailsHalfWayLeavesEveryPresetAsItWas)
{
  TestPluginAPI plug(TestConfig(0, 2));
  plug.mValue = 8;
  plug.MakeDefaultPresets("Empty", 2);
  IByteChunk bank = BankOf({{"One", true, 1}});
  bank.Put(std::int32_t{10});
  bank.PutBytes("Tw", 2); // the second name is cut short
  EXPECT_LT(plug.UnserializePresets(bank, 0), 0);
  EXPECT_STREQ(plug.GetPresetName(0), "Empty");
  EXPECT_STREQ(plug.GetPresetName(1), "Empty");
  EXPECT_EQ(plug.mValue, 8);
  EXPECT_EQ(Bytes(plug.GetPreset(0)->mChunk), (std::vector<std::uint8_t>{8, 0, 0, 0}));
}

TEST(PluginBase, LongPresetNamesAreCutTo255Characters)
{
  TestPluginAPI plug;
  plug.MakeDefaultPresets("Empty", 1);
  const std::string longName(1000, 'n');
  const IByteChunk bank = BankOf({{longName, true, 1}});
  EXPECT_GT(plug.UnserializePresets(bank, 0), 0);
  EXPECT_EQ(std::string(plug.GetPresetName(0)), longName.substr(0, 255));
}

TEST(PluginBase, UnreadableStateKeepsThePresetsStoredState)
{
  TestPluginAPI plug;
  plug.mValue = 4;
  plug.MakeDefaultPresets("Empty", 1);
  const IByteChunk bank = BankOf({{"Bad", true, -1}}); // the plug-in rejects negative values
  plug.UnserializePresets(bank, 0);
  EXPECT_EQ(plug.mValue, 4);
  EXPECT_EQ(Bytes(plug.GetPreset(0)->mChunk), (std::vector<std::uint8_t>{4, 0, 0, 0}));
}
