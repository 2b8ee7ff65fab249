#include "editor/Themes.h"

#include <gtest/gtest.h>

using namespace qm::Trazelle;

TEST(Themes, IndicesOutsideTheTablesAreClamped)
{
  EXPECT_EQ(&ThemeColors(-3), &ThemeColors(0));
  EXPECT_EQ(&ThemeColors(99), &ThemeColors(3));
  EXPECT_EQ(ThemeName(1000), "pink");
  EXPECT_FLOAT_EQ(ZoomFactor(-1), 0.7f);
  EXPECT_FLOAT_EQ(ZoomFactor(6), 1.5f);
}
