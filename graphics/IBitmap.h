#pragma once

// Bitmaps: the back end's image object (APIBitmap) and the handle controls draw with (IBitmap).

#include <string>

namespace kit::gfx
{

/** A decoded image owned by the back end. Back ends derive from it to hold their image handle. */
class APIBitmap
{
public:
  APIBitmap() = default;
  /** `scale` is the resolution the image was made for (2 for an "@2x" file). */
  APIBitmap(int width, int height, int scale, float drawScale)
      : mWidth(width), mHeight(height), mScale(scale), mDrawScale(drawScale)
  {
  }
  virtual ~APIBitmap() = default;

  APIBitmap(const APIBitmap&) = delete;
  APIBitmap& operator=(const APIBitmap&) = delete;

  int GetWidth() const { return mWidth; }
  int GetHeight() const { return mHeight; }
  int GetScale() const { return mScale; }
  float GetDrawScale() const { return mDrawScale; }

protected:
  void SetBitmap(int width, int height, int scale, float drawScale)
  {
    mWidth = width;
    mHeight = height;
    mScale = scale;
    mDrawScale = drawScale;
  }

private:
  int mWidth = 0;
  int mHeight = 0;
  int mScale = 1;
  float mDrawScale = 1.f;
};

/** A loaded bitmap as controls see it. The APIBitmap belongs to the process-wide bitmap cache. */
class IBitmap
{
public:
  IBitmap() = default;
  IBitmap(APIBitmap* pAPIBitmap, int nFrames, bool framesAreHorizontal, const char* name = "")
      : mAPIBitmap(pAPIBitmap), mNFrames(nFrames), mFramesAreHorizontal(framesAreHorizontal),
        mResourceName(name ? name : "")
  {
  }

  APIBitmap* GetAPIBitmap() const { return mAPIBitmap; }
  bool IsValid() const { return mAPIBitmap && mAPIBitmap->GetWidth() > 0; }

  /** Width and height in logical pixels. */
  float W() const { return mAPIBitmap ? mAPIBitmap->GetWidth() / Divisor() : 0.f; }
  float H() const { return mAPIBitmap ? mAPIBitmap->GetHeight() / Divisor() : 0.f; }
  int N() const { return mNFrames; }
  bool GetFramesAreHorizontal() const { return mFramesAreHorizontal; }
  int GetScale() const { return mAPIBitmap ? mAPIBitmap->GetScale() : 1; }
  float GetDrawScale() const { return mAPIBitmap ? mAPIBitmap->GetDrawScale() : 1.f; }
  const std::string& GetResourceName() const { return mResourceName; }

private:
  float Divisor() const { return mAPIBitmap->GetScale() * mAPIBitmap->GetDrawScale(); }

  APIBitmap* mAPIBitmap = nullptr;
  int mNFrames = 1;
  bool mFramesAreHorizontal = false;
  std::string mResourceName;
};

} // namespace kit::gfx
