#include <windows.h>

namespace kit
{

int VirtualKeyForCharacter(int character)
{
  const SHORT result = ::VkKeyScanExA(static_cast<CHAR>(character), ::GetKeyboardLayout(0));
  // The low byte is the key; -1 in both bytes means the layout has none.
  return result == -1 ? 0 : (result & 0xff);
}

} // namespace kit
