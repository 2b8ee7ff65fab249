#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace qm::control
{

/** How a wrapping picture lays out a ring of columns (oldest first): the `newest` columns from the
 * left edge on, then `gap` empty slots, then the oldest columns up to the right edge. The columns
 * between those are not shown. {0, 0} is the plain scrolling picture, newest at the right. */
struct ColumnWrap
{
  uint32_t newest = 0;
  uint32_t gap = 0;

  bool operator==(const ColumnWrap&) const = default;

  /** The ring index shown in `slot` of `count`, or `count` for an empty slot. */
  size_t IndexAt(size_t slot, size_t count) const
  {
    const size_t n = std::min<size_t>(newest, count);
    const size_t g = std::min<size_t>(gap, count - n);
    if (slot < n) return count - n + slot;
    if (slot < n + g) return count;
    return slot - n - g;
  }
};

} // namespace qm::control
