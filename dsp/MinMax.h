#pragma once

#include "dsp/NumericFunctionObject.h"

#include <limits>

namespace qm::dsp
{

// Running minimum and maximum. Starts empty (min at the largest value, max at the lowest), so the
// first value sets both.
template <typename T>
class MinMax final : public NumericFunctionObject<T, T>
{
public:
  void Apply(const T& x) override
  {
    if (x < min) min = x;
    if (x > max) max = x;
  }

  T min = std::numeric_limits<T>::max();
  T max = std::numeric_limits<T>::lowest();
};

} // namespace qm::dsp
