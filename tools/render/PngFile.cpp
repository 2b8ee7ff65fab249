#include "tools/render/PngFile.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace qm::render
{

namespace
{

constexpr std::array<uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Decoded images larger than this are refused rather than allocated.
constexpr uint64_t kMaxDecodedBytes = 256u << 20;

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

uint32_t GetU32(const uint8_t* p)
{
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void PutChunk(std::vector<uint8_t>& out, const char (&type)[5], const uint8_t* data, size_t size)
{
  PutU32(out, uint32_t(size));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  const uLong crc = crc32(0L, out.data() + typeAt, uInt(4 + size));
  PutU32(out, uint32_t(crc));
}

uint8_t Paeth(int a, int b, int c)
{
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return uint8_t(a);
  return uint8_t(pb <= pc ? b : c);
}

} // namespace

std::vector<uint8_t> EncodePng(const RgbaImage& image)
{
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != size_t(image.width) * size_t(image.height) * 4)
    return {};

  // Each row gets the "Up" filter (row minus the row above): flat UI areas then
  // become runs of zeros that deflate very well.
  const size_t stride = size_t(image.width) * 4;
  std::vector<uint8_t> raw;
  raw.reserve((stride + 1) * size_t(image.height));
  for (int y = 0; y < image.height; ++y)
  {
    const uint8_t* row = &image.pixels[size_t(y) * stride];
    raw.push_back(y == 0 ? 0 : 2);
    if (y == 0)
      raw.insert(raw.end(), row, row + stride);
    else
      for (size_t i = 0; i < stride; ++i)
        raw.push_back(uint8_t(row[i] - row[i - stride]));
  }

  uLongf packedSize = compressBound(uLong(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK) return {};
  packed.resize(packedSize);

  std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
  std::vector<uint8_t> header;
  PutU32(header, uint32_t(image.width));
  PutU32(header, uint32_t(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no interlace
  PutChunk(out, "IHDR", header.data(), header.size());
  PutChunk(out, "IDAT", packed.data(), packed.size());
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

bool WritePngFile(const std::string& path, const RgbaImage& image, std::string& error)
{
  const std::vector<uint8_t> bytes = EncodePng(image);
  if (bytes.empty())
  {
    error = "cannot encode an empty or inconsistent image";
    return false;
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file)
  {
    error = "cannot open '" + path + "' for writing";
    return false;
  }
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  file.close();
  if (!file)
  {
    error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

bool DecodePng(const std::vector<uint8_t>& bytes, RgbaImage& out, std::string& error)
{
  out = {};
  if (bytes.size() < 8 || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin()))
  {
    error = "not a PNG file";
    return false;
  }
  uint32_t width = 0, height = 0;
  int channels = 0;
  bool sawHeader = false, sawEnd = false;
  std::vector<uint8_t> packed;
  size_t at = 8;
  while (!sawEnd)
  {
    if (bytes.size() - at < 12)
    {
      error = "truncated chunk";
      return false;
    }
    const uint32_t size = GetU32(&bytes[at]);
    if (size > bytes.size() - at - 12)
    {
      error = "chunk runs past the end of the file";
      return false;
    }
    const uint8_t* type = &bytes[at + 4];
    const uint8_t* data = type + 4;
    if (uint32_t(crc32(0L, type, uInt(4 + size))) != GetU32(data + size))
    {
      error = "chunk CRC mismatch";
      return false;
    }
    if (std::memcmp(type, "IHDR", 4) == 0)
    {
      if (size != 13 || sawHeader)
      {
        error = "bad IHDR";
        return false;
      }
      width = GetU32(data);
      height = GetU32(data + 4);
      const uint8_t depth = data[8], colour = data[9], interlace = data[12];
      if (depth != 8 || (colour != 2 && colour != 6) || data[10] != 0 || data[11] != 0 ||
          interlace != 0)
      {
        error = "only 8-bit RGB/RGBA non-interlaced PNG is supported";
        return false;
      }
      channels = colour == 6 ? 4 : 3;
      sawHeader = true;
    }
    else if (std::memcmp(type, "IDAT", 4) == 0)
      packed.insert(packed.end(), data, data + size);
    else if (std::memcmp(type, "IEND", 4) == 0)
      sawEnd = true;
    at += 12 + size_t(size);
  }
  if (!sawHeader || width == 0 || height == 0 ||
      width > uint32_t(std::numeric_limits<int>::max()) ||
      height > uint32_t(std::numeric_limits<int>::max()))
  {
    error = "missing or empty image header";
    return false;
  }
  const uint64_t stride = uint64_t(width) * uint64_t(channels);
  const uint64_t rawSize = (stride + 1) * height;
  if (rawSize > kMaxDecodedBytes)
  {
    error = "image too large";
    return false;
  }
  std::vector<uint8_t> raw(rawSize);
  uLongf rawLength = uLongf(rawSize);
  if (uncompress(raw.data(), &rawLength, packed.data(), uLong(packed.size())) != Z_OK ||
      rawLength != rawSize)
  {
    error = "corrupt image data";
    return false;
  }

  std::vector<uint8_t> rows(stride * height);
  for (uint64_t y = 0; y < height; ++y)
  {
    const uint8_t filter = raw[y * (stride + 1)];
    const uint8_t* in = &raw[y * (stride + 1) + 1];
    uint8_t* row = &rows[y * stride];
    const uint8_t* up = y ? row - stride : nullptr;
    for (uint64_t i = 0; i < stride; ++i)
    {
      const int a = i >= uint64_t(channels) ? row[i - channels] : 0;
      const int b = up ? up[i] : 0;
      const int c = (up && i >= uint64_t(channels)) ? up[i - channels] : 0;
      switch (filter)
      {
      case 0:
        row[i] = in[i];
        break;
      case 1:
        row[i] = uint8_t(in[i] + a);
        break;
      case 2:
        row[i] = uint8_t(in[i] + b);
        break;
      case 3:
        row[i] = uint8_t(in[i] + (a + b) / 2);
        break;
      case 4:
        row[i] = uint8_t(in[i] + Paeth(a, b, c));
        break;
      default:
        error = "unknown row filter";
        return false;
      }
    }
  }

  out.width = int(width);
  out.height = int(height);
  out.pixels.resize(size_t(width) * height * 4);
  for (size_t p = 0; p < size_t(width) * height; ++p)
  {
    for (int k = 0; k < 3; ++k)
      out.pixels[p * 4 + k] = rows[p * channels + k];
    out.pixels[p * 4 + 3] = channels == 4 ? rows[p * 4 + 3] : 255;
  }
  return true;
}

bool ReadPngFile(const std::string& path, RgbaImage& out, std::string& error)
{
  std::ifstream file(path, std::ios::binary);
  if (!file)
  {
    error = "cannot open '" + path + "'";
    return false;
  }
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                   std::istreambuf_iterator<char>()};
  return DecodePng(bytes, out, error);
}

} // namespace qm::render
