#include "framework/PluginVST2.h"

namespace kit
{

// The platform's virtual key for a typed character (framework/*_win.cpp,
// framework/*_linux.cpp).
int VirtualKeyForCharacter(int character);

int PluginVST2::VSTKeyCodeToVK(int code, int character)
{
  // Key codes 1 to 56 in order; index 0 is unused.
  static constexpr int kVirtualKeys[57] = {
      0,   8,   9,   12,  13,  19,  27,  32,  34,  35,  36,  37,  38,  39,  40,  33,  34,  41,  42,
      13,  44,  45,  46,  47,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
      110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 144, 145, 16,  17,  18};
  if (code == 0 || code == 57) return VirtualKeyForCharacter(character);
  if (code > 0 && code < 57) return kVirtualKeys[code];
  return 0;
}

} // namespace kit
