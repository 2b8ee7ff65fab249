// The Linux window's keyboard translation: X key symbols and modifier states
// to the framework's key records.

#include "graphics/platform/x11/X11Keys.h"
#include "graphics/VirtualKeys.h"

#include <gtest/gtest.h>

#include <string>

// X last: its macros (None among them) would rename identifiers in the other headers.
#include <X11/X.h>
#include <X11/keysym.h>

namespace kit::gfx
{
namespace
{

TEST(X11Keys, KeysymsBecomeVirtualKeysTextAndModifiers)
{
  struct Case
  {
    unsigned long keysym;
    unsigned state;
    int vk;
    std::string text;
    bool shift, control, alt;
  } cases[] = {
      {XK_a, 0, 'A', "a", false, false, false},
      {XK_A, ShiftMask, 'A', "A", true, false, false},
      {XK_7, 0, '7', "7", false, false, false},
      {XK_KP_7, 0, vk::kNumpad0 + 7, "7", false, false, false},
      {XK_KP_Decimal, 0, vk::kDecimal, ".", false, false, false},
      {XK_Return, 0, vk::kReturn, "", false, false, false},
      {XK_KP_Enter, 0, vk::kReturn, "", false, false, false},
      {XK_Escape, 0, vk::kEscape, "", false, false, false},
      {XK_BackSpace, 0, vk::kBack, "", false, false, false},
      {XK_Delete, 0, vk::kDelete, "", false, false, false},
      {XK_Left, ShiftMask, vk::kLeft, "", true, false, false},
      {XK_Up, 0, vk::kUp, "", false, false, false},
      {XK_F12, 0, vk::kF1 + 11, "", false, false, false},
      {XK_space, 0, vk::kSpace, " ", false, false, false},
      // Punctuation types its character and has no virtual key of its own.
      {XK_period, 0, 0, ".", false, false, false},
      // Latin-1 and Unicode symbols type UTF-8.
      {XK_eacute, 0, 0, "\xC3\xA9", false, false, false},
      {0x010020AC, 0, 0, "\xE2\x82\xAC", false, false, false},
      // With Control held a letter is a command, not text.
      {XK_c, ControlMask, 'C', "", false, true, false},
      {XK_x, Mod1Mask, 'X', "x", false, false, true},
      {XK_Shift_L, ShiftMask, vk::kShift, "", true, false, false},
  };
  for (const Case& c : cases)
  {
    const IKeyPress key = KeyPressFromKeysym(c.keysym, c.state);
    EXPECT_EQ(key.VK, c.vk) << std::hex << c.keysym;
    EXPECT_EQ(std::string(key.utf8), c.text) << std::hex << c.keysym;
    EXPECT_EQ(key.S, c.shift) << std::hex << c.keysym;
    EXPECT_EQ(key.C, c.control) << std::hex << c.keysym;
    EXPECT_EQ(key.A, c.alt) << std::hex << c.keysym;
  }
}

} // namespace
} // namespace kit::gfx
