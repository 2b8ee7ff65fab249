#include "graphics/platform/x11/X11Keys.h"

#include "graphics/VirtualKeys.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace kit::gfx
{
namespace
{

void AppendUtf8(char32_t c, char (&out)[5])
{
  if (c < 0x80)
  {
    out[0] = static_cast<char>(c);
  }
  else if (c < 0x800)
  {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
  }
  else if (c < 0x10000)
  {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
  }
  else if (c < 0x110000)
  {
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
  }
}

int VirtualKeyFor(unsigned long keysym)
{
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>(keysym - XK_a) + 'A';
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>(keysym - XK_A) + 'A';
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>(keysym - XK_0) + '0';
  if (keysym >= XK_F1 && keysym <= XK_F24) return vk::kF1 + static_cast<int>(keysym - XK_F1);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9)
    return vk::kNumpad0 + static_cast<int>(keysym - XK_KP_0);
  switch (keysym)
  {
  case XK_BackSpace:
    return vk::kBack;
  case XK_Tab:
  case XK_ISO_Left_Tab:
    return vk::kTab;
  case XK_Return:
  case XK_KP_Enter:
    return vk::kReturn;
  case XK_Escape:
    return vk::kEscape;
  case XK_space:
  case XK_KP_Space:
    return vk::kSpace;
  case XK_Pause:
    return vk::kPause;
  case XK_Prior:
  case XK_KP_Prior:
    return vk::kPrior;
  case XK_Next:
  case XK_KP_Next:
    return vk::kNext;
  case XK_End:
  case XK_KP_End:
    return vk::kEnd;
  case XK_Home:
  case XK_KP_Home:
    return vk::kHome;
  case XK_Left:
  case XK_KP_Left:
    return vk::kLeft;
  case XK_Up:
  case XK_KP_Up:
    return vk::kUp;
  case XK_Right:
  case XK_KP_Right:
    return vk::kRight;
  case XK_Down:
  case XK_KP_Down:
    return vk::kDown;
  case XK_Insert:
  case XK_KP_Insert:
    return vk::kInsert;
  case XK_Delete:
  case XK_KP_Delete:
    return vk::kDelete;
  case XK_Help:
    return vk::kHelp;
  case XK_KP_Multiply:
    return vk::kMultiply;
  case XK_KP_Add:
    return vk::kAdd;
  case XK_KP_Separator:
    return vk::kSeparator;
  case XK_KP_Subtract:
    return vk::kSubtract;
  case XK_KP_Decimal:
    return vk::kDecimal;
  case XK_KP_Divide:
    return vk::kDivide;
  case XK_Shift_L:
  case XK_Shift_R:
    return vk::kShift;
  case XK_Control_L:
  case XK_Control_R:
    return vk::kControl;
  case XK_Alt_L:
  case XK_Alt_R:
    return vk::kMenu;
  case XK_Num_Lock:
    return vk::kNumLock;
  case XK_Scroll_Lock:
    return vk::kScroll;
  default:
    return 0;
  }
}

} // namespace

char32_t CharacterForKeysym(unsigned long keysym)
{
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
    return static_cast<char32_t>(keysym);
  // Symbols for the rest of Unicode carry the code point.
  if ((keysym & 0xFF000000UL) == 0x01000000UL) return static_cast<char32_t>(keysym & 0x00FFFFFFUL);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return U'0' + static_cast<char32_t>(keysym - XK_KP_0);
  switch (keysym)
  {
  case XK_KP_Space:
    return U' ';
  case XK_KP_Multiply:
    return U'*';
  case XK_KP_Add:
    return U'+';
  case XK_KP_Subtract:
    return U'-';
  case XK_KP_Decimal:
    return U'.';
  case XK_KP_Divide:
    return U'/';
  default:
    return 0;
  }
}

IKeyPress KeyPressFromKeysym(unsigned long keysym, unsigned state)
{
  IKeyPress key(nullptr, VirtualKeyFor(keysym), (state & ShiftMask) != 0,
                (state & ControlMask) != 0, (state & Mod1Mask) != 0);
  const char32_t c = CharacterForKeysym(keysym);
  if (c >= 0x20 && c != 0x7F && !key.C) AppendUtf8(c, key.utf8);
  return key;
}

} // namespace kit::gfx
