// The trace picture drawn in parts shared with the helper thread: lines that run down to the
// bottom edge of the pixel columns on either side of a part's edge must not reach across it
// (under TSan a stray write back into the other thread's part is a reported race), and every
// frame is the same as drawn on one thread. A channel handed on before the end of the picture is
// complete when it is.

#include "controls/HelperThread.h"
#include "controls/TraceRaster.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <vector>

namespace
{

using qm::control::HelperThread;
using qm::control::TraceRaster;

std::vector<uint8_t> Draw(TraceRaster& raster, int frame, TraceRaster::ChannelReady ready = nullptr,
                          void* context = nullptr)
{
  // 600 half-pixel columns, 300 pixels wide, in parts of 37 or 38 pixel columns. Every line runs
  // from the top edge to the bottom one, so each pixel column's last rows are written.
  constexpr int kColumns = 600;
  constexpr float kHeight = 61.f; // not a multiple of the row loops' width
  std::vector<float> x(kColumns), top(kColumns), bottom(kColumns);
  for (int i = 0; i < kColumns; ++i)
  {
    x[size_t(i)] = 0.5f * float(i) + 0.25f * float(frame % 2);
    const bool up = (i + frame) % 2 == 0;
    top[size_t(i)] = up ? 0.f : 0.5f * kHeight;
    bottom[size_t(i)] = up ? 0.5f * kHeight : kHeight;
  }
  raster.Begin(kColumns / 2, int(kHeight), 1.f);
  raster.AddChannel(x.data(), top.data(), bottom.data(), kColumns, {255, 255, 0, 0});
  raster.AddChannel(x.data(), bottom.data(), top.data(), kColumns, {255, 0, 255, 0});
  raster.End(ready, context);
  const size_t n = size_t(raster.Width()) * size_t(raster.Height());
  std::vector<uint8_t> picture(raster.Coverage(0), raster.Coverage(0) + n);
  picture.insert(picture.end(), raster.Coverage(1), raster.Coverage(1) + n);
  return picture;
}

TEST(TraceRasterHelper, PartsMeetWithoutTouchingEachOther)
{
  if (!HelperThread::Available()) GTEST_SKIP() << "one core: there is no helper";
  TraceRaster helped, alone;
  alone.SetHelped(false);
  ASSERT_TRUE(helped.Helped());
  for (int frame = 0; frame < 40; ++frame)
    ASSERT_EQ(Draw(helped, frame), Draw(alone, frame)) << "frame " << frame;
  EXPECT_GT(helped.HelperSeconds(), 0.0);
}

TEST(TraceRasterHelper, EveryJobRunsOnceAndIsSeenDoneAfterWait)
{
  HelperThread helper;
  struct Counts
  {
    std::atomic<int> runs{0};
    int plain = 0; // written by the job, read after Wait: ordered by it, not by an atomic
  } counts;
  for (int i = 0; i < 2000; ++i)
  {
    helper.Start(
        [](void* context)
        {
          auto* c = static_cast<Counts*>(context);
          c->runs.fetch_add(1);
          ++c->plain;
        },
        &counts);
    helper.Wait();
    ASSERT_EQ(counts.plain, i + 1);
  }
  EXPECT_EQ(counts.runs.load(), 2000);
}

TEST(TraceRasterHelper, AChannelIsSentOnlyOnceBothThreadsAreDoneWithIt)
{
  // Each channel as End hands it on, possibly while the helper still draws the next: what was
  // read then must be the finished channel (under TSan an early hand-over is a reported race).
  if (!HelperThread::Available()) GTEST_SKIP() << "one core: there is no helper";
  struct Sent
  {
    TraceRaster* raster;
    std::vector<int> order;
    std::vector<std::vector<uint8_t>> copies;
  };
  TraceRaster raster;
  for (int frame = 0; frame < 40; ++frame)
  {
    const std::vector<uint8_t> finished = Draw(raster, frame);
    Sent sent{&raster, {}, {}};
    Draw(
        raster, frame,
        [](void* context, int channel)
        {
          auto& s = *static_cast<Sent*>(context);
          const size_t n = size_t(s.raster->Width()) * size_t(s.raster->Height());
          s.order.push_back(channel);
          s.copies.emplace_back(s.raster->Coverage(channel), s.raster->Coverage(channel) + n);
        },
        &sent);
    ASSERT_EQ(sent.order, (std::vector<int>{0, 1}));
    const size_t n = finished.size() / 2;
    ASSERT_EQ(sent.copies[0], std::vector<uint8_t>(finished.begin(), finished.begin() + n));
    ASSERT_EQ(sent.copies[1], std::vector<uint8_t>(finished.begin() + n, finished.end()));
  }
}

} // namespace
