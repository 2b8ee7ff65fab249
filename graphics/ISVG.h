#pragma once

// A parsed SVG image as controls hold it. Parsing happens once, at load time; the parsed image is
// shared with the process-wide SVG cache.

#include <memory>

namespace kit::gfx
{

namespace svg
{
struct Image;
}

class ISVG
{
public:
  ISVG() = default;
  explicit ISVG(std::shared_ptr<const svg::Image> image) : mImage(std::move(image)) {}

  bool IsValid() const { return mImage != nullptr; }
  const svg::Image* GetImage() const { return mImage.get(); }

  /** Size of the drawing area in the units it was loaded with; 0 when invalid. */
  float W() const;
  float H() const;

private:
  std::shared_ptr<const svg::Image> mImage;
};

} // namespace kit::gfx
