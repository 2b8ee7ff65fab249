#include "graphics/WindowRules.h"

#include <gtest/gtest.h>

using namespace kit::gfx;

TEST(WindowScreenScale, IsWholeMultipleOf96Dpi)
{
  EXPECT_EQ(ScreenScaleFromDpi(0), 1) << "unknown DPI";
  EXPECT_EQ(ScreenScaleFromDpi(96), 1);
  EXPECT_EQ(ScreenScaleFromDpi(120), 1) << "125 % rounds to 1";
  EXPECT_EQ(ScreenScaleFromDpi(144), 2) << "150 % rounds up";
  EXPECT_EQ(ScreenScaleFromDpi(192), 2);
  EXPECT_EQ(ScreenScaleFromDpi(288), 3);
  EXPECT_EQ(ScreenScaleFromDpi(30), 1);
}

TEST(WindowPaintRect, DeviceRectRoundsOutwardToLogical)
{
  // 2 × scale: (5, 5, 31, 31) device covers logical 2.5 .. 15.5.
  const LogicalRect r = DeviceToLogicalOutward(5, 5, 31, 31, 2.f);
  EXPECT_FLOAT_EQ(r.L, 2.f);
  EXPECT_FLOAT_EQ(r.T, 2.f);
  EXPECT_FLOAT_EQ(r.R, 16.f);
  EXPECT_FLOAT_EQ(r.B, 16.f);
  const LogicalRect same = DeviceToLogicalOutward(0, 0, 832, 464, 1.f);
  EXPECT_FLOAT_EQ(same.R, 832.f);
  EXPECT_FLOAT_EQ(same.B, 464.f);
}

TEST(WindowPaintRect, LogicalToDeviceRoundsToNearest)
{
  EXPECT_EQ(LogicalToDevice(10.4f, 1.5f), 16);
  EXPECT_EQ(LogicalToDevice(10.f, 2.f), 20);
}
