#include "tools/render/RenderOptions.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qm::render;

namespace
{

ParsedOptions Parse(std::vector<std::string_view> args)
{
  return ParseRenderOptions(args);
}

} // namespace

TEST(RenderOptions, EventsOfEveryKindParseAndAreSortedByTime)
{
  const auto r = Parse({"--event", "2.5:wheel:440,392:-1", "--event", "1:drag:504,392:0,-30.5",
                        "--event", "0.25:click:767,24", "--event", "2.75:move:300.5,150"});
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.options.events.size(), 4u);
  const auto& click = r.options.events[0];
  EXPECT_EQ(click.kind, PointerEvent::Kind::Click);
  EXPECT_DOUBLE_EQ(click.time, 0.25);
  EXPECT_FLOAT_EQ(click.x, 767.f);
  EXPECT_FLOAT_EQ(click.y, 24.f);
  const auto& drag = r.options.events[1];
  EXPECT_EQ(drag.kind, PointerEvent::Kind::Drag);
  EXPECT_FLOAT_EQ(drag.dx, 0.f);
  EXPECT_FLOAT_EQ(drag.dy, -30.5f);
  const auto& wheel = r.options.events[2];
  EXPECT_EQ(wheel.kind, PointerEvent::Kind::Wheel);
  EXPECT_EQ(wheel.steps, -1);
  const auto& move = r.options.events[3];
  EXPECT_EQ(move.kind, PointerEvent::Kind::Move);
  EXPECT_FLOAT_EQ(move.x, 300.5f);
}

TEST(RenderOptions, MalformedValuesAreRejectedWithTheOffendingText)
{
  struct Case
  {
    std::vector<std::string_view> args;
    const char* mentions;
  };
  const Case cases[] = {
      {{"--seconds", "0"}, "--seconds"},
      {{"--seconds", "3s"}, "3s"},
      {{"--seconds", "nan"}, "nan"},
      {{"--rate", "100"}, "--rate"},
      {{"--block", "0"}, "--block"},
      {{"--block", "1.5"}, "1.5"},
      {{"--theme", "red"}, "red"},
      {{"--scale", "120"}, "120"},
      {{"--mode", "scope"}, "scope"},
      {{"--channel", "both"}, "both"},
      {{"--menu-choice", "x"}, "x"},
      {{"--gain", "30"}, "--gain"},
      {{"--event", "1:click:10"}, "1:click:10"},
      {{"--event", "1:tap:10,10"}, "1:tap:10,10"},
      {{"--event", "1:click:10,10:5"}, "1:click:10,10:5"},
      {{"--event", "1:drag:10,10"}, "1:drag:10,10"},
      {{"--event", "1:wheel:10,10:0"}, "1:wheel:10,10:0"},
      {{"--event", "1:move:10,10:5"}, "1:move:10,10:5"},
      {{"--event", "-1:click:10,10"}, "negative"},
      {{"--event", "1:click:900,10"}, "outside"},
      {{"--event", "9:click:10,10"}, "after the end"},
      {{"--frobnicate", "1"}, "--frobnicate"},
      {{"--png"}, "needs a value"},
      {{"stray"}, "stray"},
      {{"--input", "a.wav", "--rate", "48000"}, "own rate"},
      {{"--tempo", "0"}, "--tempo"},
      {{"--beats", "3"}, "'3'"},
      {{"--transport-start", "1"}, "needs a --tempo"},
  };
  for (const Case& c : cases)
  {
    const auto r = Parse(c.args);
    EXPECT_FALSE(r.ok) << c.args[0];
    EXPECT_FALSE(r.help);
    EXPECT_NE(r.error.find(c.mentions), std::string::npos) << r.error;
  }
  EXPECT_TRUE(Parse({"--help", "--theme", "red"}).help) << "help stops parsing";
}

TEST(RenderOptions, AHostTransportAndTheLockedViewAreChosenTogether)
{
  const auto r = Parse({"--sync", "--beats", "1/4", "--tempo", "96.5", "--transport-start", "2"});
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.options.sync);
  EXPECT_EQ(r.options.beats, 0.25);
  EXPECT_EQ(r.options.tempo, 96.5);
  EXPECT_EQ(r.options.transportStart, 2.0);
  EXPECT_FALSE(Parse({}).options.tempo) << "no transport unless asked for";
}
