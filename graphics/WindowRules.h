#pragma once

// Conversions a platform window applies between what the system reports and
// what the graphics context works in: screen scale from DPI, device and
// logical pixels, wheel steps, pen and touch detection, menu item labels.

#include <cstdint>
#include <string>

namespace iplug::igraphics
{

// Integer window scale for a monitor DPI: 1 at 96 DPI or when the system
// cannot tell (0), otherwise DPI ÷ 96 rounded to the nearest integer (never
// below 1).
int ScreenScaleFromDpi(unsigned dpi);

// Whole wheel steps in a raw wheel amount (120 per notch), truncated toward
// zero: a high-resolution wheel's partial notch gives 0.
int WheelSteps(int rawAmount);

// Mouse messages synthesised from pen or touch input carry this signature in
// their extra information (the low 8 bits vary).
bool IsPenOrTouchSignature(uint64_t extraInfo);

// A device-pixel rectangle in logical pixels (device ÷ scale), rounded
// outward: left and top down, right and bottom up.
struct LogicalRect
{
  float L, T, R, B;
};
LogicalRect DeviceToLogicalOutward(int l, int t, int r, int b, float scale);

// A logical position in device pixels, rounded to the nearest integer.
int LogicalToDevice(float v, float scale);

// Menu item prefix settings: none, "%1d: ", "%02d: ", "%03d: ".
std::string MenuItemLabel(int prefixMode, int index, const std::string& text);

} // namespace iplug::igraphics
