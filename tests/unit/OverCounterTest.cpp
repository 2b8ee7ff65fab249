// Overs counted on the audio thread: which samples count, wherever they fall in a block.

#include "plugin/OverCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using qm::Trazelle::OverCounter;

TEST(OverCounter, CountsFullScaleAndNonFiniteSamplesAtEveryPlaceInABlock)
{
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const struct
  {
    double value;
    int over;
  } cases[] = {{1.0, 1},
               {-1.0, 1},
               {std::nextafter(1.0, 0.0), 0},
               {-std::nextafter(1.0, 0.0), 0},
               {1e300, 1},
               {kInf, 1},
               {-kInf, 1},
               {std::numeric_limits<double>::quiet_NaN(), 1},
               {std::numeric_limits<double>::denorm_min(), 0}};
  OverCounter counter;
  std::uint64_t expected = 0;
  // Blocks of 1 to 9 frames, each value at each place: whole groups and the frames left over.
  for (std::size_t n = 1; n <= 9; ++n)
    for (std::size_t at = 0; at < n; ++at)
      for (const auto& c : cases)
      {
        std::vector<double> left(n, 0.5), right(n, -0.99);
        left[at] = c.value;
        const double* channels[2] = {left.data(), right.data()};
        counter.Count(channels, 2, n);
        expected += std::uint64_t(c.over);
        ASSERT_EQ(counter.Total(0), expected) << "value " << c.value << " at " << at << " of " << n;
      }
  EXPECT_EQ(counter.Total(1), 0u);

  // A reset starts the shown count afresh and leaves the audio thread's total alone.
  counter.ResetShown();
  const double clip = -2.0;
  const double* onlyRight[2] = {nullptr, &clip};
  counter.Count(onlyRight, 2, 1);
  EXPECT_EQ(counter.Shown(0), 0u);
  EXPECT_EQ(counter.Shown(1), 1u);
  EXPECT_EQ(counter.Total(0), expected);
}
