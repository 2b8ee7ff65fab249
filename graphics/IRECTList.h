#pragma once

// A list of rectangles to redraw. Reused from frame to frame, so it keeps its capacity.

#include "graphics/GraphicsStructs.h"

#include <vector>

namespace kit::gfx
{

class IRECTList
{
public:
  void Add(const IRECT& r) { mRects.push_back(r); }
  void Clear() { mRects.clear(); }
  int Size() const { return static_cast<int>(mRects.size()); }
  bool Empty() const { return mRects.empty(); }
  const IRECT& Get(int idx) const { return mRects[static_cast<size_t>(idx)]; }

  /** Union of all rectangles; empty for an empty list. */
  IRECT Bounds() const;

  /** Grows every rectangle outward to the device-pixel grid at `scale`. */
  void PixelAlign(float scale);

  /** Merges rectangles that overlap until no two do. */
  void Optimize();

  auto begin() const { return mRects.begin(); }
  auto end() const { return mRects.end(); }

private:
  std::vector<IRECT> mRects;
};

} // namespace kit::gfx
