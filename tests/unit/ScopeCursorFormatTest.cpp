// The cursor read-out's texts, and its reference cursor on a sliding frozen view.

#include "controls/ScopeCursor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qm::control;

TEST(ScopeCursorFormat, TimesLevelsAndFrequenciesReadAsDocumented)
{
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case
  {
    std::string shown, expected;
  };
  const Case cases[] = {
      {FormatCursorTime(-0.0123), "-12.3 ms"},
      {FormatCursorTime(0.004167), "4.17 ms"},
      {FormatCursorTime(-0.000001), "0.00 ms"}, // no "-0.00"
      {FormatCursorTime(-0.99996), "-1.000 s"}, // rounds up into seconds, not to "1000.0 ms"
      {FormatLevel(0.5), "-6.0"},
      {FormatLevel(1.0), "0.0"},
      {FormatLevel(-0.9999), "0.0"},
      {FormatLevel(2.0), "+6.0"},
      {FormatLevel(0.0), "-inf"},
      {FormatLevel(kInf), "+inf"},
      {FormatLevel(std::nan("")), "NaN"},
      {FormatFrequency(440.0), "440.0 Hz"},
      {FormatFrequency(999.99), "1000 Hz"},
      {FormatFrequency(55.0), "55.00 Hz"},
      {FormatFrequency(0.0), "--"},
      {FormatChannelLevels("R", {-1.0, 0.25}), "R -12.0 / 0.0 dB"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.shown, c.expected);
}

TEST(ScopeCursorFormat, ReferenceKeepsItsMomentWhileTheFrozenViewSlides)
{
  ScopeTimeBase base;
  base.sampleRate = 48000.0;
  base.samplesPerColumn = 48;
  base.columnCount = 1664;
  base.searchColumns = 2336;
  base.startColumn = 2336; // the newest frames
  ScopeCursor cursor;
  ASSERT_TRUE(cursor.Click(1000, base));
  EXPECT_DOUBLE_EQ(*cursor.ReferenceTime(), -0.663);

  base.startColumn = 2000; // slid back: the same moment lies further right
  EXPECT_EQ(cursor.ReferenceColumn(base), 1336);
  base.startColumn = 0; // and now off the picture
  EXPECT_FALSE(cursor.ReferenceColumn(base));

  base.startColumn = 2000;
  cursor.Click(1336 + ScopeCursor::kReferenceGrip, base); // on it: cleared
  EXPECT_FALSE(cursor.ReferenceTime());
}
