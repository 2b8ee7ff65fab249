#include "tools/render/PngFile.h"

#include <gtest/gtest.h>

using namespace qm::render;

namespace
{

RgbaImage Gradient(int w, int h)
{
  RgbaImage image{w, h, std::vector<uint8_t>(size_t(w) * h * 4)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
    {
      uint8_t* p = &image.pixels[(size_t(y) * w + x) * 4];
      p[0] = uint8_t(x * 7);
      p[1] = uint8_t(y * 13);
      p[2] = uint8_t(x ^ y);
      p[3] = uint8_t(255 - x);
    }
  return image;
}

} // namespace

TEST(PngFile, DecodeRestoresEveryPixelExactly)
{
  const RgbaImage original = Gradient(61, 29);
  RgbaImage decoded;
  std::string error;
  ASSERT_TRUE(DecodePng(EncodePng(original), decoded, error)) << error;
  EXPECT_EQ(decoded.width, 61);
  EXPECT_EQ(decoded.height, 29);
  EXPECT_EQ(decoded.pixels, original.pixels);
}

TEST(PngFile, CorruptedFilesAreRefusedWithAReason)
{
  auto bytes = EncodePng(Gradient(8, 8));
  RgbaImage out;
  std::string error;

  auto flipped = bytes;
  flipped[40] ^= 0x5a; // inside the IDAT data: CRC no longer matches
  EXPECT_FALSE(DecodePng(flipped, out, error));
  EXPECT_NE(error.find("CRC"), std::string::npos);

  auto truncated = bytes;
  truncated.resize(bytes.size() - 20);
  EXPECT_FALSE(DecodePng(truncated, out, error));

  EXPECT_FALSE(DecodePng({1, 2, 3}, out, error));
  EXPECT_EQ(error, "not a PNG file");
  EXPECT_TRUE(out.pixels.empty());
}
