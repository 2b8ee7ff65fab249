#include "tools/render/PngFile.h"

#include <gtest/gtest.h>

#include <zlib.h>

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

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

} // namespace

TEST(PngFile, EncodedFileHasSignatureHeaderAndValidCrcs)
{
  const auto bytes = EncodePng(Gradient(33, 17));
  ASSERT_GT(bytes.size(), 8u + 25u + 12u + 12u);
  EXPECT_EQ(bytes[1], 'P');
  EXPECT_EQ(U32(bytes, 8), 13u);
  EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
  EXPECT_EQ(U32(bytes, 16), 33u);
  EXPECT_EQ(U32(bytes, 20), 17u);
  EXPECT_EQ(bytes[24], 8); // bit depth
  EXPECT_EQ(bytes[25], 6); // RGBA
  // Walk every chunk and recompute its CRC independently.
  size_t at = 8;
  std::string last;
  while (at < bytes.size())
  {
    const uint32_t size = U32(bytes, at);
    const uLong crc = crc32(0L, &bytes[at + 4], uInt(size + 4));
    EXPECT_EQ(uint32_t(crc), U32(bytes, at + 8 + size));
    last.assign(bytes.begin() + long(at) + 4, bytes.begin() + long(at) + 8);
    at += 12 + size;
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(last, "IEND");
}

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
