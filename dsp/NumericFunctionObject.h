#pragma once

namespace qm::dsp
{

// Something that consumes a stream of values one at a time, e.g. while visiting a display column.
template <typename TIn, typename TOut>
class NumericFunctionObject
{
public:
  virtual ~NumericFunctionObject() = default;
  virtual void Apply(const TIn& x) = 0;
};

} // namespace qm::dsp
