#include "framework/IByteChunk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using kit::IByteChunk;

TEST(ByteChunk, ReadPastTheEndGivesMinusOneAndLeavesTheValue)
{
  IByteChunk chunk;
  chunk.Put(std::int32_t{7});
  double d = 3.0;
  EXPECT_EQ(chunk.Get(d, 0), -1); // 8 bytes from a 4-byte chunk
  EXPECT_EQ(d, 3.0);
  std::int32_t i = 0;
  EXPECT_EQ(chunk.Get(i, 1), -1); // straddles the end
  EXPECT_EQ(chunk.Get(i, 4), -1); // starts at the end
  EXPECT_EQ(chunk.Get(i, 0), 4);
}

TEST(ByteChunk, NegativePositionPropagatesThroughChainedReads)
{
  IByteChunk chunk;
  chunk.Put(std::int32_t{1});
  chunk.Put(std::int32_t{2});
  std::int32_t a = 0, b = 0;
  int pos = chunk.Get(a, -1);
  pos = chunk.Get(b, pos);
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(chunk.GetBytes(&a, 4, -5), -1);
  EXPECT_EQ(chunk.GetBytes(&a, -4, 0), -1);
}

TEST(ByteChunk, PositionsNearIntMaxDoNotWrap)
{
  IByteChunk chunk;
  chunk.Put(std::int32_t{1});
  std::int32_t i = 0;
  EXPECT_EQ(chunk.Get(i, 0x7ffffffe), -1);
  EXPECT_EQ(chunk.GetBytes(&i, 0x7fffffff, 2), -1);
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
