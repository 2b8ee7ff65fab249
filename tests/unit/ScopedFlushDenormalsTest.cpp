#include "controls/ScopedFlushDenormals.h"

#include <cfloat>
#include <gtest/gtest.h>

namespace
{

// Keeps the compiler from folding the arithmetic at build time.
volatile double gSmallest = DBL_MIN;

double Halved()
{
  return gSmallest * 0.5; // a denormal result unless flushed
}

} // namespace

#ifdef QM_FLUSH_DENORMALS_SSE
TEST(ScopedFlushDenormals, FlushesInsideAndRestoresOutside)
{
  EXPECT_GT(Halved(), 0.0);
  {
    qm::control::ScopedFlushDenormals flush;
    EXPECT_EQ(Halved(), 0.0);
    {
      qm::control::ScopedFlushDenormals nested;
      EXPECT_EQ(Halved(), 0.0);
    }
    EXPECT_EQ(Halved(), 0.0) << "an inner guard restores the outer mode, not the default";
  }
  EXPECT_GT(Halved(), 0.0);
}
#endif
