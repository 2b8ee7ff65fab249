#include "framework/IByteChunk.h"
#include "framework/PluginMidi.h"
#include "framework/PluginQueue.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using kit::IByteChunk;
using kit::PluginQueue;

// Reads outside the chunk fail with -1 and leave the value alone; a failed position stays failed.
TEST(ByteChunk, ReadsPastTheEndFromNegativeOrHugePositionsGiveMinusOne)
{
  IByteChunk chunk;
  chunk.Put(std::int32_t{7});
  double d = 3.0;
  EXPECT_EQ(chunk.Get(d, 0), -1); // 8 bytes from a 4-byte chunk
  EXPECT_EQ(d, 3.0);
  std::int32_t i = 0;
  EXPECT_EQ(chunk.Get(i, 1), -1); // straddles the end
  EXPECT_EQ(chunk.Get(i, 4), -1); // starts at the end
  EXPECT_EQ(chunk.Get(i, chunk.Get(i, -1)), -1);
  EXPECT_EQ(chunk.GetBytes(&i, 4, -5), -1);
  EXPECT_EQ(chunk.GetBytes(&i, -4, 0), -1);
  EXPECT_EQ(chunk.Get(i, 0x7ffffffe), -1); // no wrap near INT_MAX
  EXPECT_EQ(chunk.GetBytes(&i, 0x7fffffff, 2), -1);
  EXPECT_EQ(chunk.Get(i, 0), 4);
  EXPECT_EQ(i, 7);
}

TEST(ByteChunk, StringWithLengthBelowOneReadsEmpty)
{
  for (std::int32_t length : {0, -1, -100000})
  {
    IByteChunk chunk;
    chunk.Put(length);
    std::string text = "old";
    EXPECT_EQ(chunk.GetStr(text, 0), 4);
    EXPECT_TRUE(text.empty());
  }
}

TEST(ByteChunk, TruncatedStringFails)
{
  IByteChunk chunk;
  chunk.Put(std::int32_t{10});
  chunk.PutBytes("abc", 3);
  std::string text;
  EXPECT_EQ(chunk.GetStr(text, 0), -1);

  IByteChunk lengthOnly;
  lengthOnly.PutBytes("\x05\x00", 2);
  EXPECT_EQ(lengthOnly.GetStr(text, 0), -1);
}

TEST(ByteChunk, ShortMagicLedChunkReadsFromMinusOne)
{
  for (int size = 4; size <= 7; ++size)
  {
    IByteChunk chunk;
    IByteChunk::InitChunkWithPluginVer(chunk);
    chunk.Resize(size);
    int pos = 0;
    EXPECT_EQ(IByteChunk::GetPluginVerFromChunk(chunk, pos), 0) << size;
    EXPECT_EQ(pos, -1) << size;
  }
}

TEST(ByteChunk, ChunkWithoutMagicIsABareBody)
{
  IByteChunk chunk;
  chunk.PutBytes("\x88\xa7", 2);
  int pos = 5;
  EXPECT_EQ(IByteChunk::GetPluginVerFromChunk(chunk, pos), 0);
  EXPECT_EQ(pos, 0);

  IByteChunk empty;
  EXPECT_EQ(IByteChunk::GetPluginVerFromChunk(empty, pos), 0);
  EXPECT_EQ(pos, 0);
}

TEST(PluginQueue, KeepsOrderAndDropsWhenFull)
{
  PluginQueue<int> queue(4);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(queue.Push(i));
  EXPECT_FALSE(queue.Push(99)); // full: dropped
  EXPECT_EQ(queue.ElementsAvailable(), 4u);

  int value = -1;
  for (int i = 0; i < 4; ++i)
  {
    ASSERT_TRUE(queue.Pop(value));
    EXPECT_EQ(value, i);
  }
  EXPECT_FALSE(queue.Pop(value));
  EXPECT_EQ(value, 3);
}

TEST(PluginQueue, ZeroCapacityTakesNothing)
{
  PluginQueue<int> queue(0);
  int value = 0;
  EXPECT_FALSE(queue.Push(1));
  EXPECT_FALSE(queue.Pop(value));
}

TEST(SysExData, CopiesUpTo512BytesAndZeroFillsWithoutData)
{
  std::uint8_t bytes[600];
  for (int i = 0; i < 600; ++i)
    bytes[i] = static_cast<std::uint8_t>(i);
  kit::SysExData cut(7, 600, bytes);
  EXPECT_EQ(cut.mSize, 512);
  EXPECT_EQ(cut.mOffset, 7);
  EXPECT_EQ(cut.mData[511], static_cast<std::uint8_t>(511));

  kit::SysExData none(0, 20, nullptr);
  EXPECT_EQ(none.mSize, 20);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(none.mData[i], 0);

  kit::SysExData negative(0, -5, bytes);
  EXPECT_EQ(negative.View().size, 0);
}
