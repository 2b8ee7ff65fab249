// Host calls that once did the wrong thing: loads that fail must change nothing
// and answer 0, the chunk a host hands back must be copied safely, absurd
// values must be refused without throwing through the C boundary, and texts
// must be read no further than the interface sizes them.

#include "framework/VST2Interface.h"
#include "plugin/Trazelle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace kit;
using namespace kit::vst2;

namespace
{

VstIntPtr Host(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float)
{
  return 0;
}

struct Effect
{
  Effect() : effect(VSTPluginMainImpl(Host)) {}
  ~Effect() { Dispatch(effClose); }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.f);
  }
  qm::Trazelle::Trazelle& Plug()
  {
    return *static_cast<qm::Trazelle::Trazelle*>(static_cast<PluginVST2*>(effect->object));
  }
  std::vector<std::uint8_t> Chunk(bool program)
  {
    void* data = nullptr;
    const auto size = Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
  }
  VstIntPtr Load(bool program, std::vector<std::uint8_t> bytes)
  {
    return Dispatch(effSetChunk, program ? 1 : 0, VstIntPtr(bytes.size()), bytes.data());
  }
  AEffect* effect;
};

} // namespace

// Every failing load, program or bank: answer 0; settings, preset name and the
// preset's stored state stay exactly as they were.
TEST(HostFaults, FailedLoadsAnswerZeroAndChangeNothing)
{
  Effect e;
  std::vector<std::uint8_t> badBank = e.Chunk(false);
  badBank.resize(18); // header, name "Empty", flag
  badBank[12] = 'X';  // a new name ...
  badBank.push_back(0xc1);
  std::vector<std::uint8_t> badProgram = e.Chunk(true);
  badProgram.resize(8);
  badProgram.push_back(0xc1); // ... and a blob that is no MessagePack
  const std::vector<std::vector<std::uint8_t>> bad = {
      badBank, badProgram, {0x74, 0x66, 0x66, 0x70, 0, 0}, {0x74, 0x66, 0x66, 0x70}};

  e.Plug().GetSettings().theme = 3; // differs from what the preset stored
  const auto settings = e.Plug().GetSettings();
  const IByteChunk stored = e.Plug().GetPreset(0)->mChunk;
  for (size_t i = 0; i < bad.size(); ++i)
  {
    for (bool program : {true, false})
    {
      if (i == 0 && program) continue; // a bank is no program
      EXPECT_EQ(e.Load(program, bad[i]), 0) << i << program;
      EXPECT_EQ(e.Plug().GetSettings(), settings) << i << program;
      EXPECT_STREQ(e.Plug().GetPresetName(0), "Empty") << i << program;
      EXPECT_TRUE(e.Plug().GetPreset(0)->mChunk.IsEqual(stored)) << i << program;
    }
  }
}

// Hosts hand the pointer effGetChunk returned straight back.
TEST(HostFaults, SetChunkTakesTheBufferGetChunkReturned)
{
  Effect e;
  e.Plug().GetSettings().scale = 4;
  for (int program : {1, 0})
  {
    void* data = nullptr;
    const auto size = e.Dispatch(effGetChunk, program, 0, &data);
    ASSERT_GT(size, 0);
    e.Plug().GetSettings().scale = 1;
    EXPECT_EQ(e.Dispatch(effSetChunk, program, size, data), 1);
    EXPECT_EQ(e.Plug().GetSettings().scale, 4);
  }
}

TEST(HostFaults, AbsurdBlockSizesAreRefusedWithoutThrowing)
{
  Effect e;
  e.Dispatch(effSetBlockSize, 0, 512);
  for (VstIntPtr size : {VstIntPtr(0x7fffffff), VstIntPtr(-1), VstIntPtr(1) << 40})
  {
    EXPECT_EQ(e.Dispatch(effSetBlockSize, 0, size), 0) << size;
    EXPECT_EQ(e.Plug().GetBlockSize(), 512) << size;
  }
}

TEST(HostFaults, ProgramNameIsReadNoFurtherThanItsBuffer)
{
  Effect e;
  std::string name(200, 'n'); // a host buffer of 24 with no terminator in it
  e.Dispatch(effSetProgramName, 0, 0, name.data());
  EXPECT_EQ(std::string(e.Plug().GetPresetName(0)), std::string(kVstMaxProgNameLen, 'n'));
}
