// Bitmaps decoded by the NanoVG back end from PNG files, drawn and fitted,
// and outliving the context that decoded them in the process-wide cache.

#include "RenderFixture.h"

#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace trazelle::test
{

namespace
{

void PutBE32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
  PutBE32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBE32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// An 8-bit RGBA PNG whose left half is red and right half blue.
std::vector<uint8_t> TwoColourPng(int w, int h)
{
  std::vector<uint8_t> raw;
  for (int y = 0; y < h; ++y)
  {
    raw.push_back(0); // no filter
    for (int x = 0; x < w; ++x)
    {
      const bool left = x < w / 2;
      raw.insert(raw.end(), {uint8_t(left ? 255 : 0), 0, uint8_t(left ? 0 : 255), 255});
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(packedSize);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  PutBE32(header, static_cast<uint32_t>(w));
  PutBE32(header, static_cast<uint32_t>(h));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes)
{
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

} // namespace

using NanoVGBitmap = RenderTest;

TEST_F(NanoVGBitmap, PngDrawsAtItsPixelSizeAndFitted)
{
  const std::string path = WriteTemp("trazelle_two_colour.png", TwoColourPng(8, 4));
  const IBitmap bitmap = G().LoadBitmap(path.c_str(), 1, false, 1);
  ASSERT_TRUE(bitmap.IsValid());
  EXPECT_EQ(bitmap.W(), 8.f);
  EXPECT_EQ(bitmap.H(), 4.f);

  Frame(
      [&](GraphicsContext& g)
      {
        g.DrawBitmap(bitmap, IRECT(10, 10, 18, 14), 0, 0);
        g.DrawFittedBitmap(bitmap, IRECT(20, 30, 100, 70)); // ten times larger
      });
  EXPECT_EQ(Px(11, 12), COLOR_RED);
  EXPECT_EQ(Px(16, 12), COLOR_BLUE);
  EXPECT_EQ(Px(19, 12), COLOR_TRANSPARENT);
  EXPECT_EQ(Px(30, 50), COLOR_RED);
  EXPECT_EQ(Px(90, 50), COLOR_BLUE);
  EXPECT_EQ(Px(50, 25), COLOR_TRANSPARENT);

  const IBlend half(EBlend::SrcOver, 0.5f);
  Frame([&](GraphicsContext& g) { g.DrawBitmap(bitmap, IRECT(10, 10, 18, 14), 0, 0, &half); });
  EXPECT_TRUE(Near(Px(11, 12), IColor(128, 128, 0, 0), 1)) << Px(11, 12);
  std::remove(path.c_str());
}

TEST_F(NanoVGBitmap, MissingOrUndecodableBitmapsAreInvalid)
{
  EXPECT_FALSE(G().LoadBitmap("no-such-image.png", 1, false, 1).IsValid());
  const std::string path = WriteTemp("trazelle_not_a.png", {'n', 'o', 'p', 'e'});
  EXPECT_FALSE(G().LoadBitmap(path.c_str(), 1, false, 1).IsValid());
  std::remove(path.c_str());
}

// The cache keeps decoded bitmaps until the last graphics context is gone,
// which is after their NanoVG context was deleted on closing the window.
TEST(NanoVGBitmapLifetime, CachedBitmapOutlivesItsContextSafely)
{
  const std::string path = WriteTemp("trazelle_lifetime.png", TwoColourPng(4, 4));
  {
    GraphicsHeadless g(nullptr, 20, 20);
    ASSERT_NE(g.OpenWindow(nullptr), nullptr) << g.GetError();
    ASSERT_TRUE(g.LoadBitmap(path.c_str(), 1, false, 1).IsValid());
    g.CloseWindow();
    // Reopened: a new context; the cached bitmap of the old one is not drawn.
    ASSERT_NE(g.OpenWindow(nullptr), nullptr);
    const IBitmap stale = g.LoadBitmap(path.c_str(), 1, false, 1);
    g.BeginFrame();
    g.PrepareRegion(g.GetBounds());
    g.DrawBitmap(stale, IRECT(0, 0, 4, 4), 0, 0);
    g.EndFrame();
    EXPECT_EQ(g.ReadPixel(1, 1), COLOR_TRANSPARENT);
  }
  std::remove(path.c_str());
}

} // namespace trazelle::test
