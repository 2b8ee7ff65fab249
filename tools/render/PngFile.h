#pragma once

// Minimal PNG support for the render tool: writes 8-bit RGBA images and reads
// back 8-bit RGB or RGBA images (non-interlaced, any filter), which is what
// the tool and its tests need. Compression goes through zlib.

#include <cstdint>
#include <string>
#include <vector>

namespace qm::render
{

// Straight (not premultiplied) RGBA, rows top to bottom, 4 bytes per pixel.
struct RgbaImage
{
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  struct Pixel
  {
    uint8_t r, g, b, a;
  };
  Pixel At(int x, int y) const
  {
    const uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
};

// The complete PNG file for `image`, or an empty vector when the image is
// empty or its pixel count does not match its size.
std::vector<uint8_t> EncodePng(const RgbaImage& image);

// Encodes and writes atomically enough for a tool: on failure returns false and
// says why in `error`.
bool WritePngFile(const std::string& path, const RgbaImage& image, std::string& error);

// Decodes PNG bytes (8-bit RGB or RGBA, colour types 2 and 6). Checks every
// chunk's CRC and refuses anything else with a reason in `error`.
bool DecodePng(const std::vector<uint8_t>& bytes, RgbaImage& out, std::string& error);

bool ReadPngFile(const std::string& path, RgbaImage& out, std::string& error);

} // namespace qm::render
