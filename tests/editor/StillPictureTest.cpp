// A picture that does not change costs no frame: the display tick draws nothing (no GL work, no
// swap) once the scope, the meter and everything else show what they showed last time.

#include "EditorTestSupport.h"

namespace qm::test
{

namespace
{

constexpr int kTicks = render::EditorHarness::kTicksPerSecond;

} // namespace

TEST_F(EditorTest, SilenceAfterTheDemoSettlesIntoAStillPicture)
{
  for (int mode : {1, 0}) // envelope, then waveform
  {
    OpenAt(44100.0);
    Settings().mode = Trazelle::EDisplayMode(mode);
    harness->Close();
    std::string error;
    ASSERT_TRUE(harness->Open(error)) << error;
    PlayDemo(1.0);
    EXPECT_GE(harness->Stats().frames, kTicks - 1) << "the demo moves on every tick, mode " << mode;
    harness->Run(5 * kTicks); // silence: the traces flatten, the meter falls to its floor
    const int64_t settled = harness->Stats().frames;
    harness->Run(3 * kTicks);
    EXPECT_EQ(harness->Stats().frames, settled) << "mode " << mode;
    EXPECT_EQ(harness->Stats().ticks, 9 * kTicks);
  }
}

TEST_F(EditorTest, AFrozenViewNobodyTouchesDrawsNothing)
{
  PlayDemo(1.0);
  harness->Click(Where::kFreezeX, Where::kRowY);
  ASSERT_TRUE(Plugin().GetFreeze());
  PlayDemo(1.0); // the input plays on behind the frozen view; the meter settles
  const int64_t frozen = harness->Stats().frames;
  PlayDemo(2.0);
  EXPECT_EQ(harness->Stats().frames, frozen);

  // A touch redraws, then the picture is still again.
  harness->Wheel(Where::kZoomX, Where::kRowY, 1);
  EXPECT_GT(harness->Stats().frames, frozen);
  const int64_t touched = harness->Stats().frames;
  PlayDemo(1.0);
  EXPECT_EQ(harness->Stats().frames, touched);
}

} // namespace qm::test
