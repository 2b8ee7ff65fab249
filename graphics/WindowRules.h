#pragma once

// Conversions a platform window applies between what the system reports and
// what the graphics context works in: screen scale from DPI, device and
// logical pixels, pen and touch detection.

#include <cstdint>

namespace kit::gfx
{

// Integer window scale for a monitor DPI: 1 at 96 DPI or when the system
// cannot tell (0), otherwise DPI ÷ 96 rounded to the nearest integer (never
// below 1).
int ScreenScaleFromDpi(unsigned dpi);

// Fractional screen scale for an X server's Xft.dpi: DPI ÷ 96 (144 gives 1.5),
// 1 when unset (0) or nonsense, held within 1 to 4 so that a stray value cannot
// ask for a window the GL driver refuses.
float ScreenScaleFromXftDpi(double dpi);

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

} // namespace kit::gfx
