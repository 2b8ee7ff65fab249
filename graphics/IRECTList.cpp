#include "graphics/IRECTList.h"

namespace kit::gfx
{

IRECT IRECTList::Bounds() const
{
  IRECT u;
  for (const IRECT& r : mRects)
    u = u.Union(r);
  return u;
}

void IRECTList::PixelAlign(float scale)
{
  for (IRECT& r : mRects)
    r = r.GetPixelAligned(scale);
}

void IRECTList::Optimize()
{
  // Quadratic, but lists hold one rectangle per dirty control (a few dozen at most).
  bool merged = true;
  while (merged)
  {
    merged = false;
    for (size_t i = 0; i < mRects.size() && !merged; ++i)
    {
      for (size_t j = i + 1; j < mRects.size(); ++j)
      {
        if (mRects[i].Intersects(mRects[j]))
        {
          mRects[i] = mRects[i].Union(mRects[j]);
          mRects.erase(mRects.begin() + static_cast<std::ptrdiff_t>(j));
          merged = true;
          break;
        }
      }
    }
  }
}

} // namespace kit::gfx
