// The plug-in as a host sees it, in-process: made by the entry point's body,
// driven through its effect record, released by effClose (ASan checks that
// nothing is left behind). Hostile chunks come last.

#include "framework/VST2Interface.h"
#include "plugin/Trazelle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace kit;
using namespace kit::vst2;
using qm::Trazelle::Settings;
using qm::Trazelle::Trazelle;

namespace
{

VstIntPtr Host(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float)
{
  return 0;
}

// One instance made and released the way a host does it.
class Effect
{
public:
  Effect() : mEffect(VSTPluginMainImpl(Host)) {}
  ~Effect()
  {
    if (mEffect != nullptr) Dispatch(effClose);
  }
  Effect(const Effect&) = delete;
  Effect& operator=(const Effect&) = delete;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f)
  {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
  }

  Trazelle& Plug() { return *static_cast<Trazelle*>(static_cast<PluginVST2*>(mEffect->object)); }

  std::vector<std::uint8_t> GetChunk(bool program)
  {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return size > 0 ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>{};
  }

  VstIntPtr SetChunk(bool program, std::vector<std::uint8_t> bytes)
  {
    return Dispatch(effSetChunk, program ? 1 : 0, static_cast<VstIntPtr>(bytes.size()),
                    bytes.data());
  }

  AEffect* operator->() { return mEffect; }

private:
  AEffect* mEffect;
};

} // namespace

TEST(TrazelleVST2, ProgramAndBankChunksOfTheDefaultState)
{
  Effect effect;
  const auto program = effect.GetChunk(true);
  ASSERT_EQ(program.size(), 8u + 121u);
  EXPECT_EQ(program[0], 0x74);
  EXPECT_EQ(program[8], 0x88); // the blob's map header
  const auto bank = effect.GetChunk(false);
  ASSERT_EQ(bank.size(), 139u);
  EXPECT_EQ(std::string(bank.begin() + 12, bank.begin() + 17), "Empty");
  EXPECT_EQ(bank[17], 1);
  EXPECT_TRUE(std::equal(program.begin() + 8, program.end(), bank.begin() + 18));
}

TEST(TrazelleVST2, LoadedStateReachesTheSettings)
{
  Effect writer;
  writer.Plug().GetSettings().theme = 2;
  writer.Plug().GetSettings().mode = qm::Trazelle::kWaveformMode;
  Effect reader;
  EXPECT_EQ(reader.SetChunk(true, writer.GetChunk(true)), 1);
  EXPECT_EQ(reader.Plug().GetSettings(), writer.Plug().GetSettings());

  Effect bankReader;
  EXPECT_EQ(bankReader.SetChunk(false, writer.GetChunk(false)), 1);
  EXPECT_EQ(bankReader.Plug().GetSettings(), writer.Plug().GetSettings());
}

TEST(TrazelleVST2, UnreadableBlobAnswersZeroAndKeepsTheSettings)
{
  Effect effect;
  effect.Plug().GetSettings().theme = 1;
  const Settings before = effect.Plug().GetSettings();
  std::vector<std::uint8_t> chunk = {0x74, 0x66, 0x66, 0x70, 0, 0, 1, 0, 0x88, 0xa1};
  EXPECT_EQ(effect.SetChunk(true, chunk), 0);
  EXPECT_EQ(effect.Plug().GetSettings(), before);
}

// Thousands of random, truncated and mutated program and bank chunks: no
// crash, no sanitizer report; a refused chunk changes nothing, an accepted one
// leaves a record that saves and loads like any other.
TEST(TrazelleVST2HostileState, RandomTruncatedAndMutatedChunks)
{
  Effect effect;
  Effect checker;
  std::mt19937 rng(20261206);
  auto random = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

  Effect source;
  source.Plug().GetSettings().scale = 4;
  source.Plug().GetSettings().gain = 0.9;
  const std::vector<std::vector<std::uint8_t>> programs = {effect.GetChunk(true),
                                                           source.GetChunk(true)};
  const std::vector<std::vector<std::uint8_t>> banks = {effect.GetChunk(false),
                                                        source.GetChunk(false)};

  int accepted = 0;
  for (int trial = 0; trial < 4000; ++trial)
  {
    const bool asProgram = random(0, 1) == 0;
    const bool fromProgram = random(0, 1) == 0;
    std::vector<std::uint8_t> chunk = (fromProgram ? programs : banks)[random(0, 1)];

    switch (random(0, 5))
    {
    case 0: // truncated
      chunk.resize(static_cast<size_t>(random(0, static_cast<int>(chunk.size()))));
      break;
    case 1: // a few bytes changed
      for (int n = random(1, 6); n > 0; --n)
        chunk[static_cast<size_t>(random(0, static_cast<int>(chunk.size()) - 1))] =
            static_cast<std::uint8_t>(random(0, 255));
      break;
    case 2: // bytes inserted
      for (int n = random(1, 4); n > 0; --n)
        chunk.insert(chunk.begin() + random(0, static_cast<int>(chunk.size())),
                     static_cast<std::uint8_t>(random(0, 255)));
      break;
    case 3: // random body after a valid header
      chunk.resize(8);
      for (int n = random(0, 200); n > 0; --n)
        chunk.push_back(static_cast<std::uint8_t>(random(0, 255)));
      break;
    case 4: // pure noise
      chunk.clear();
      for (int n = random(0, 300); n > 0; --n)
        chunk.push_back(static_cast<std::uint8_t>(random(0, 255)));
      break;
    default: // the preset name's length or the flag byte
      if (chunk.size() > 17)
      {
        const std::int32_t length = random(-5, 1 << 20);
        std::memcpy(chunk.data() + 8, &length, 4);
        chunk[17] = static_cast<std::uint8_t>(random(0, 2));
      }
      break;
    }

    const Settings before = effect.Plug().GetSettings();
    const VstIntPtr answer = effect.SetChunk(asProgram, chunk);
    const Settings& after = effect.Plug().GetSettings();
    if (answer == 0)
    {
      ASSERT_EQ(after, before) << "trial " << trial;
    }
    accepted += after != before;
    // Whatever happened, what the plug-in saves now loads back into another instance.
    const auto saved = effect.GetChunk(true);
    ASSERT_EQ(checker.SetChunk(true, saved), 1) << "trial " << trial;
    ASSERT_EQ(checker.Plug().GetSettings(), after) << "trial " << trial;
    ASSERT_EQ(effect->numPrograms, 1);
    ASSERT_LE(std::strlen(effect.Plug().GetPresetName(0)), 255u);
  }
  // Mutations that hit only values produce loadable chunks now and then.
  EXPECT_GT(accepted, 0);
}
