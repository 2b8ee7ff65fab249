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

TEST(PluginBase, IdentityComesFromTheConfiguration)
{
  TestPluginAPI plug;
  EXPECT_EQ(plug.GetPluginName(), "Test");
  EXPECT_EQ(plug.GetMfrName(), "Tester");
  EXPECT_EQ(plug.GetPluginVersion(false), 0x00010203);
  EXPECT_EQ(plug.GetPluginVersion(true), 10203);
  EXPECT_EQ(plug.GetAPI(), kAPIVST2);
  // Limits are ordered whatever order the configuration gave them in.
  EXPECT_EQ(plug.GetMinWidth(), 200);
  EXPECT_EQ(plug.GetMaxWidth(), 800);
  EXPECT_EQ(plug.GetMinHeight(), 150);
  EXPECT_EQ(plug.GetMaxHeight(), 600);
  EXPECT_EQ(plug.GetHost(), kHostUninit);
}

TEST(PluginBase, PresetsStartEmptyAndUninitialised)
{
  TestPluginAPI plug(TestConfig(0, 3));
  ASSERT_EQ(plug.NPresets(), 3);
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_FALSE(plug.GetPreset(i)->mInitialized);
    EXPECT_STREQ(plug.GetPresetName(i), "empty");
  }
  EXPECT_STREQ(plug.GetPresetName(3), "");
  EXPECT_EQ(plug.GetPreset(-1), nullptr);
}

TEST(PluginBase, MakeDefaultPresetsStoresTheCurrentStateIntoUninitialisedOnes)
{
  TestPluginAPI plug(TestConfig(0, 3));
  plug.mValue = 42;
  plug.MakeDefaultPresets("Empty", 2);
  EXPECT_STREQ(plug.GetPresetName(0), "Empty");
  EXPECT_STREQ(plug.GetPresetName(1), "Empty");
  EXPECT_FALSE(plug.GetPreset(2)->mInitialized);
  EXPECT_EQ(Bytes(plug.GetPreset(1)->mChunk), (std::vector<std::uint8_t>{42, 0, 0, 0}));
}

TEST(PluginBase, BankChunkIsNameFlagAndStatePerPreset)
{
  TestPluginAPI plug(TestConfig(0, 2));
  plug.mValue = 5;
  plug.MakeDefaultPresets("Empty", 1);
  IByteChunk chunk;
  ASSERT_TRUE(plug.SerializePresets(chunk));
  const std::vector<std::uint8_t> expected = {
      5, 0, 0, 0, 'E', 'm', 'p', 't', 'y', 1, 5, 0, 0, 0, // initialised: state follows
      5, 0, 0, 0, 'e', 'm', 'p', 't', 'y', 0};            // not: no state
  EXPECT_EQ(Bytes(chunk), expected);
}

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

TEST(PluginBase, RestorePresetOutsideTheListFails)
{
  TestPluginAPI plug;
  EXPECT_FALSE(plug.RestorePreset(1));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_EQ(plug.log.restores, 0);
}

TEST(PluginBase, RestoringAnUninitialisedPresetNamesItUserPreset)
{
  TestPluginAPI plug(TestConfig(0, 3));
  plug.mValue = 9;
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 1");
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 1);
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 2");
  EXPECT_EQ(plug.log.restores, 2);
}

TEST(PluginBase, RestoringAnInitialisedPresetLoadsItsState)
{
  TestPluginAPI plug(TestConfig(0, 2));
  plug.mValue = 1;
  plug.MakeDefaultPresets("A", 1);
  plug.mValue = 2;
  plug.MakeDefaultPresets("B", 1);
  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.mValue, 1);
  EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
}

TEST(PluginBase, ModifyCurrentPresetStoresStateAndRenamesOnlyWithAName)
{
  TestPluginAPI plug;
  plug.MakeDefaultPresets("Empty", 1);
  plug.mValue = 77;
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.GetPresetName(0), "Empty");
  EXPECT_EQ(Bytes(plug.GetPreset(0)->mChunk), (std::vector<std::uint8_t>{77, 0, 0, 0}));
  plug.ModifyCurrentPreset("Mine");
  EXPECT_STREQ(plug.GetPresetName(0), "Mine");
}

// The default state is every parameter's value as a double.
class ParamPlug : public PluginAPIBase
{
public:
  ParamPlug() : PluginAPIBase(TestConfig(3, 1), kAPIVST2)
  {
    GetParam(0)->InitDouble("gain", 0.5, 0.0, 1.0, 0.01);
    GetParam(1)->InitInt("steps", 2, 0, 10);
    GetParam(2)->InitBool("on", false);
  }
  void OnParamChangeUI(int idx, EParamSource source) override { changes.push_back({idx, source}); }
  std::vector<std::pair<int, int>> changes;
};

TEST(PluginBase, DefaultStateIsTheParameterValues)
{
  ParamPlug plug;
  IByteChunk chunk;
  ASSERT_TRUE(plug.SerializeState(chunk));
  ASSERT_EQ(chunk.Size(), 3 * 8);
  double values[3] = {};
  chunk.GetBytes(values, sizeof(values), 0);
  EXPECT_EQ(values[0], 0.5);
  EXPECT_EQ(values[1], 2.0);
  EXPECT_EQ(values[2], 0.0);
}

TEST(PluginBase, UnserializeParamsSnapsClampsAndReportsPresetSource)
{
  ParamPlug plug;
  IByteChunk chunk;
  chunk.Put(7.0);  // clamped to 1
  chunk.Put(3.6);  // stepped: 4
  chunk.Put(-2.0); // clamped to 0
  EXPECT_EQ(plug.UnserializeState(chunk, 0), 24);
  EXPECT_EQ(plug.GetParam(0)->Value(), 1.0);
  EXPECT_EQ(plug.GetParam(1)->Value(), 4.0);
  EXPECT_EQ(plug.GetParam(2)->Value(), 0.0);
  ASSERT_EQ(plug.changes.size(), 3u);
  for (const auto& [idx, source] : plug.changes)
    EXPECT_EQ(source, kPresetRecall);
}

TEST(PluginBase, ShortParamStateSetsTheMissingValueToZeroAndFails)
{
  ParamPlug plug;
  IByteChunk chunk;
  chunk.Put(0.25);
  EXPECT_EQ(plug.UnserializeState(chunk, 0), -1);
  EXPECT_EQ(plug.GetParam(0)->Value(), 0.25);
  EXPECT_EQ(plug.GetParam(1)->Value(), 0.0); // read past the end gives 0
  EXPECT_EQ(plug.GetParam(2)->Value(), 0.0); // not reached
}
