#pragma once

// The checks under wine have no test framework (GoogleTest is not built for
// the Windows target): each failed CHECK prints its line, and the program's
// exit status reports whether any failed.

#include <cstdio>

inline int gWinCheckFailures = 0;

#define CHECK(cond)                                                                                \
  do                                                                                               \
  {                                                                                                \
    if (!(cond))                                                                                   \
    {                                                                                              \
      std::printf("FAILED %s:%d: %s\n", __FILE__, __LINE__, #cond);                                \
      ++gWinCheckFailures;                                                                         \
    }                                                                                              \
  } while (0)

inline int WinCheckResult(const char* program)
{
  std::printf("%s: %s\n", program, gWinCheckFailures ? "FAILED" : "passed");
  return gWinCheckFailures ? 1 : 0;
}
