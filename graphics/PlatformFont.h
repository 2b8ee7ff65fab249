#pragma once

// Font bytes located by the platform and handed to the back end for registration.

#include <cstdint>
#include <memory>
#include <vector>

namespace kit::gfx
{

/** The bytes of one font file and the face within it. */
struct IFontData
{
  std::vector<uint8_t> mBytes;
  int mFaceIdx = 0;

  bool IsValid() const { return !mBytes.empty() && mFaceIdx >= 0; }
};

using IFontDataPtr = std::unique_ptr<IFontData>;

/** A font as the platform found it (file, module resource or memory). */
class PlatformFont
{
public:
  virtual ~PlatformFont() = default;

  /** A copy of the font's bytes; null or empty when they cannot be had. */
  virtual IFontDataPtr GetFontData() const = 0;
};

using PlatformFontPtr = std::unique_ptr<PlatformFont>;

/** A platform font that already holds its bytes in memory. */
class MemoryPlatformFont : public PlatformFont
{
public:
  explicit MemoryPlatformFont(std::vector<uint8_t> bytes, int faceIdx = 0)
      : mBytes(std::move(bytes)), mFaceIdx(faceIdx)
  {
  }

  IFontDataPtr GetFontData() const override
  {
    auto data = std::make_unique<IFontData>();
    data->mBytes = mBytes;
    data->mFaceIdx = mFaceIdx;
    return data;
  }

private:
  std::vector<uint8_t> mBytes;
  int mFaceIdx;
};

} // namespace kit::gfx
