#include "plugin/Settings.h"
#include "plugin/Trazelle.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using json = nlohmann::json;
using qm::Trazelle::Settings;
using qm::Trazelle::Trazelle;

namespace
{

// The state operations work on byte chunks; these tests keep their bytes in vectors.
bool SerializeState(const Trazelle& plugin, std::vector<std::uint8_t>& bytes)
{
  kit::IByteChunk chunk;
  chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size()));
  const bool ok = plugin.SerializeState(chunk);
  bytes.assign(chunk.GetData(), chunk.GetData() + chunk.Size());
  return ok;
}

int UnserializeState(Trazelle& plugin, const std::vector<std::uint8_t>& bytes, int startPos)
{
  kit::IByteChunk chunk;
  chunk.PutBytes(bytes.data(), static_cast<int>(bytes.size()));
  return plugin.UnserializeState(chunk, startPos);
}

const std::vector<std::uint8_t> kDefaultBlob = {
    0x88, 0xa7, 0x63, 0x68, 0x61, 0x6e, 0x6e, 0x65, 0x6c, 0x00, 0xb6, 0x65, 0x6e, 0x76, 0x65, 0x6c,
    0x6f, 0x70, 0x65, 0x5f, 0x6d, 0x6f, 0x64, 0x65, 0x5f, 0x64, 0x75, 0x72, 0x61, 0x74, 0x69, 0x6f,
    0x6e, 0xcb, 0x3f, 0xdb, 0x6d, 0xb6, 0xdb, 0x6d, 0xb6, 0xdb, 0xa4, 0x67, 0x61, 0x69, 0x6e, 0xcb,
    0x3f, 0xd5, 0x67, 0xc8, 0xae, 0x21, 0x5e, 0x79, 0xa4, 0x6d, 0x6f, 0x64, 0x65, 0x01, 0xa5, 0x73,
    0x63, 0x61, 0x6c, 0x65, 0x02, 0xa5, 0x74, 0x68, 0x65, 0x6d, 0x65, 0x00, 0xa7, 0x76, 0x65, 0x72,
    0x73, 0x69, 0x6f, 0x6e, 0xce, 0x00, 0x01, 0x00, 0x00, 0xb6, 0x77, 0x61, 0x76, 0x65, 0x66, 0x6f,
    0x72, 0x6d, 0x5f, 0x6d, 0x6f, 0x64, 0x65, 0x5f, 0x64, 0x75, 0x72, 0x61, 0x74, 0x69, 0x6f, 0x6e,
    0xcb, 0x3f, 0xd9, 0x99, 0x99, 0x99, 0x99, 0x99, 0x9a};

json DefaultMap()
{
  return json::from_msgpack(kDefaultBlob);
}

std::vector<std::uint8_t> Encode(const json& j)
{
  return json::to_msgpack(j);
}

// A record that differs from the defaults in every field, to see that failures leave it alone.
Settings Customised()
{
  Settings s;
  s.mode = qm::Trazelle::kWaveformMode;
  s.gain = 0.75;
  s.channel = qm::Trazelle::kRightChannel;
  s.envelope_mode_duration = 0.125;
  s.waveform_mode_duration = 0.9;
  s.theme = 3;
  s.scale = 5;
  s.sync = true;
  s.beats = 0.5;
  return s;
}

// Loads `blob` into a plug-in holding the customised record; returns the position reported.
int Load(Trazelle& plugin, const std::vector<std::uint8_t>& blob)
{
  plugin.GetSettings() = Customised();
  return UnserializeState(plugin, blob, 0);
}

bool InRange(const Settings& s)
{
  return (s.mode == 0 || s.mode == 1) && s.channel >= 0 && s.channel <= 2 && s.theme >= 0 &&
         s.theme <= 3 && s.scale >= 0 && s.scale <= 5 && s.gain >= 0.0 && s.gain <= 1.0 &&
         s.envelope_mode_duration >= 0.0 && s.envelope_mode_duration <= 1.0 &&
         s.waveform_mode_duration >= 0.0 && s.waveform_mode_duration <= 1.0 && s.beats >= 0.25 &&
         s.beats <= 16.0;
}

} // namespace

// The blob's bytes pin every default field exactly.
TEST(SettingsBlob, DefaultRecordWritesThe121ByteBlob)
{
  Trazelle plugin;
  std::vector<std::uint8_t> chunk;
  EXPECT_TRUE(SerializeState(plugin, chunk));
  EXPECT_EQ(chunk, kDefaultBlob);
}

TEST(SettingsBlob, SerializeAppendsToWhatTheChunkHoldsAndEveryFieldRoundTrips)
{
  Trazelle plugin;
  std::vector<std::uint8_t> chunk = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  SerializeState(plugin, chunk);
  ASSERT_EQ(chunk.size(), 8u + 121u);
  EXPECT_TRUE(std::equal(kDefaultBlob.begin(), kDefaultBlob.end(), chunk.begin() + 8));
  plugin.GetSettings() = Customised();
  EXPECT_EQ(UnserializeState(plugin, chunk, 8), 129);
  EXPECT_EQ(plugin.GetSettings(), Settings{});

  Trazelle writer;
  writer.GetSettings() = Customised();
  writer.GetSettings().gain = 0.123456789;
  std::vector<std::uint8_t> custom;
  SerializeState(writer, custom);
  EXPECT_EQ(UnserializeState(plugin, custom, 0), static_cast<int>(custom.size()));
  EXPECT_EQ(plugin.GetSettings(), writer.GetSettings());

  // The view's two fields are extra keys: a loader that knows only the others reads the same
  // record from the blob without them, and a blob without them loads as the defaults.
  json withoutView = json::from_msgpack(custom);
  EXPECT_EQ(withoutView.size(), 10u);
  withoutView.erase("sync");
  withoutView.erase("beats");
  EXPECT_GT(UnserializeState(plugin, Encode(withoutView), 0), 0);
  Settings expected = writer.GetSettings();
  expected.sync = Settings{}.sync;
  expected.beats = Settings{}.beats;
  EXPECT_EQ(plugin.GetSettings(), expected);
}

TEST(SettingsLoad, VersionAndUnknownKeysAreOptionalButEveryFieldIsRequired)
{
  Trazelle plugin;
  json noVersion = DefaultMap();
  noVersion.erase("version");
  noVersion["future"] = json::array({1, 2, {{"x", 1}}});
  EXPECT_EQ(Load(plugin, Encode(noVersion)), static_cast<int>(Encode(noVersion).size()));
  EXPECT_EQ(plugin.GetSettings(), Settings{});

  for (const char* key : {"channel", "envelope_mode_duration", "gain", "mode", "scale", "theme",
                          "waveform_mode_duration"})
  {
    json missing = DefaultMap();
    missing.erase(key);
    EXPECT_EQ(Load(plugin, Encode(missing)), 0) << key;
    EXPECT_EQ(plugin.GetSettings(), Customised()) << key;
  }
}

TEST(SettingsLoad, WrongValueTypesAreRejected)
{
  Trazelle plugin;
  const std::vector<std::pair<const char*, json>> wrong = {
      {"gain", "loud"},
      {"gain", true},
      {"mode", true},
      {"channel", false},
      {"theme", "dark"},
      {"scale", json::array({2})},
      {"waveform_mode_duration", nullptr},
      {"envelope_mode_duration", json::object()},
      {"gain", json::binary({1, 2, 3})},
      {"sync", "yes"},
      {"beats", json::array({4})}};
  for (const auto& [key, value] : wrong)
  {
    json j = DefaultMap();
    j[key] = value;
    EXPECT_EQ(Load(plugin, Encode(j)), 0) << key << " = " << value.dump();
    EXPECT_EQ(plugin.GetSettings(), Customised());
  }
}

TEST(SettingsLoad, OutOfRangeValuesAreClampedSoTheyCanIndexTablesAndNaNMeansTheDefault)
{
  Trazelle plugin;
  json j = DefaultMap();
  j["theme"] = 1000;
  j["scale"] = -3;
  j["mode"] = 1e300;
  j["channel"] = std::numeric_limits<std::int64_t>::min();
  j["gain"] = 5.0;
  j["envelope_mode_duration"] = -0.5;
  j["waveform_mode_duration"] = std::numeric_limits<double>::infinity();
  j["sync"] = 7;
  j["beats"] = 1000;
  ASSERT_GT(Load(plugin, Encode(j)), 0);
  const Settings& s = plugin.GetSettings();
  EXPECT_EQ(s.theme, 3);
  EXPECT_EQ(s.scale, 0);
  EXPECT_EQ(s.mode, 1);
  EXPECT_EQ(s.channel, 0);
  EXPECT_EQ(s.gain, 1.0);
  EXPECT_EQ(s.envelope_mode_duration, 0.0);
  EXPECT_EQ(s.waveform_mode_duration, 1.0);
  EXPECT_TRUE(s.sync);
  EXPECT_EQ(s.beats, 16.0);

  j["theme"] = std::numeric_limits<std::uint64_t>::max();
  j["scale"] = -1e300;
  j["channel"] = -0.9; // truncates to 0
  // Beats snap to the nearest length the knob offers.
  for (const auto& [stored, loaded] : {std::pair{-1.0, 0.25}, {0.3, 0.25}, {2.8, 2.0}, {3.0, 4.0}})
  {
    j["beats"] = stored;
    ASSERT_GT(Load(plugin, Encode(j)), 0);
    EXPECT_EQ(plugin.GetSettings().beats, loaded) << stored;
  }
  EXPECT_EQ(plugin.GetSettings().theme, 3);
  EXPECT_EQ(plugin.GetSettings().scale, 0);
  EXPECT_EQ(plugin.GetSettings().channel, 0);

  // NaN falls back to the field's default.
  for (auto& [key, value] : j.items())
    if (key != "version") value = std::numeric_limits<double>::quiet_NaN();
  ASSERT_GT(Load(plugin, Encode(j)), 0);
  EXPECT_EQ(plugin.GetSettings(), Settings{});
}

TEST(SettingsLoad, MalformedBlobsAreRejectedAndChangeNothing)
{
  Trazelle plugin;
  std::vector<std::uint8_t> trailing = kDefaultBlob;
  trailing.push_back(0x00);
  std::vector<std::uint8_t> truncated(kDefaultBlob.begin(), kDefaultBlob.end() - 1);
  const std::vector<std::vector<std::uint8_t>> bad = {
      trailing,
      truncated,
      {},
      {0xc1},                                 // never used in MessagePack
      Encode(json::array({1, 2, 3})),         // not a map
      Encode(json(42)),                       //
      {0xdf, 0xff, 0xff, 0xff, 0xff},         // a map claiming four billion entries
      {0xdb, 0xff, 0xff, 0xff, 0xf0, 'a'},    // a string claiming four gigabytes
      std::vector<std::uint8_t>(20000, 0x91), // arrays nested 20000 deep
      std::vector<std::uint8_t>(qm::Trazelle::kMaxSettingsBlobSize + 1, 0xc0),
  };
  for (std::size_t i = 0; i < bad.size(); ++i)
  {
    EXPECT_EQ(Load(plugin, bad[i]), 0) << "case " << i;
    EXPECT_EQ(plugin.GetSettings(), Customised()) << "case " << i;
  }
}

TEST(SettingsLoad, StartPositionMustLieInsideTheChunk)
{
  Trazelle plugin;
  plugin.GetSettings() = Customised();
  EXPECT_EQ(UnserializeState(plugin, kDefaultBlob, static_cast<int>(kDefaultBlob.size())), 0);
  EXPECT_EQ(UnserializeState(plugin, kDefaultBlob, static_cast<int>(kDefaultBlob.size()) + 1), 0);
  EXPECT_EQ(UnserializeState(plugin, kDefaultBlob, -1), 0);
  EXPECT_EQ(UnserializeState(plugin, kDefaultBlob, 1), 0);
  EXPECT_EQ(plugin.GetSettings(), Customised());
}

TEST(SettingsLoad, RandomAndMutatedBlobsNeverCorruptTheRecord)
{
  Trazelle plugin;
  std::mt19937 rng(20261206);
  auto byte = [&] { return static_cast<std::uint8_t>(rng() & 0xff); };
  int accepted = 0;
  for (int trial = 0; trial < 4000; ++trial)
  {
    std::vector<std::uint8_t> blob;
    switch (trial % 4)
    {
    case 0: // pure noise, sometimes starting like a map
      blob.resize(rng() % 160);
      for (auto& b : blob)
        b = byte();
      if (!blob.empty() && trial % 8 == 0) blob[0] = 0x88;
      break;
    case 1: // a few bytes of the good blob flipped
      blob = kDefaultBlob;
      for (int k = 0, n = 1 + static_cast<int>(rng() % 4); k < n; ++k)
        blob[rng() % blob.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
      break;
    case 2: // cut or extended
      blob = kDefaultBlob;
      if (rng() % 2)
        blob.resize(rng() % blob.size());
      else
        for (int k = 0, n = 1 + static_cast<int>(rng() % 8); k < n; ++k)
          blob.insert(blob.begin() + static_cast<std::ptrdiff_t>(rng() % blob.size()), byte());
      break;
    default: // a valid map with random values of random types
    {
      json j = DefaultMap();
      for (auto& [key, value] : j.items())
      {
        switch (rng() % 6)
        {
        case 0:
          value = static_cast<std::int64_t>(rng()) - (1ll << 31);
          break;
        case 1:
          value = std::ldexp(static_cast<double>(rng()) - 2e9, static_cast<int>(rng() % 80) - 40);
          break;
        case 2:
          value = (rng() % 2) == 0;
          break;
        case 3:
          value = std::numeric_limits<double>::quiet_NaN();
          break;
        case 4:
          value = "x";
          break;
        default:
          break;
        }
      }
      blob = Encode(j);
    }
    }
    plugin.GetSettings() = Customised();
    const int position = UnserializeState(plugin, blob, 0);
    if (position == 0)
    {
      ASSERT_EQ(plugin.GetSettings(), Customised()) << "trial " << trial;
    }
    else
    {
      ++accepted;
      ASSERT_EQ(position, static_cast<int>(blob.size())) << "trial " << trial;
      ASSERT_TRUE(InRange(plugin.GetSettings())) << "trial " << trial;
    }
  }
  EXPECT_GT(accepted, 100); // the sample exercised the accepting path too
}
