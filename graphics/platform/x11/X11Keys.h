#pragma once

// Keyboard translation for the X11 window: an X key symbol and modifier state
// become the framework's key record (Windows virtual-key code, UTF-8 text,
// Shift/Control/Alt). Kept free of X headers so that it can be tested alone.

#include "graphics/GraphicsInput.h"

namespace kit::gfx
{

// `keysym` as XLookupString reports it; `state` the event's modifier mask
// (ShiftMask 1, ControlMask 4, Mod1Mask 8 for Alt).
IKeyPress KeyPressFromKeysym(unsigned long keysym, unsigned state);

// The character a key symbol types (Latin-1 and Unicode symbols, the keypad's
// digits and operators); 0 when it types none.
char32_t CharacterForKeysym(unsigned long keysym);

} // namespace kit::gfx
