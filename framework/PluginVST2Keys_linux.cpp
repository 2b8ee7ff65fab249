#include <cctype>

namespace kit
{

// Without a keyboard-layout service, follow the Windows convention that
// letters and digits are their own (upper-case) virtual keys.
int VirtualKeyForCharacter(int character)
{
  const int c = character & 0xff;
  if (std::isalpha(c)) return std::toupper(c);
  if (std::isdigit(c) || c == ' ') return c;
  return 0;
}

} // namespace kit
