#include "framework/PluginMidi.h"
#include "framework/PluginQueue.h"

#include <gtest/gtest.h>

using kit::PluginQueue;

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

TEST(PluginQueue, WrapsAroundManyTimes)
{
  PluginQueue<int> queue(3);
  int next = 0;
  int expected = 0;
  for (int round = 0; round < 1000; ++round)
  {
    while (queue.Push(next))
      ++next;
    int value = 0;
    ASSERT_TRUE(queue.Pop(value));
    EXPECT_EQ(value, expected++);
    ASSERT_TRUE(queue.Pop(value));
    EXPECT_EQ(value, expected++);
  }
  EXPECT_EQ(queue.ElementsAvailable(), static_cast<size_t>(next - expected));
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
