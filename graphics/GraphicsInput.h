#pragma once

// Pointer, key and gesture records the window hands to the graphics context, and the cursor ids.
// Positions are logical pixels.

#include <cstdint>
#include <cstring>
#include <vector>

namespace kit::gfx
{

/** Mouse buttons and modifier keys held during a pointer event. */
struct IMouseMod
{
  bool L = false;
  bool R = false;
  bool S = false; // shift
  bool C = false; // control
  bool A = false; // alt
  int64_t touchID = 0;
  float touchRadius = 0.f;

  constexpr IMouseMod() = default;
  constexpr IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false,
                      int64_t id = 0)
      : L(l), R(r), S(s), C(c), A(a), touchID(id)
  {
  }

  constexpr bool IsTouch() const { return touchID > 0; }
};

/** One pointer of a pointer event; dX, dY are the movement since the previous event. */
struct IMouseInfo
{
  float x = 0.f;
  float y = 0.f;
  float dX = 0.f;
  float dY = 0.f;
  IMouseMod ms;
};

using IMouseInfoList = std::vector<IMouseInfo>;

/** A key event: virtual key code, the typed character as UTF-8 and the modifier keys. */
struct IKeyPress
{
  int VK = 0;
  char utf8[5] = {};
  bool S = false;
  bool C = false;
  bool A = false;

  IKeyPress() = default;
  IKeyPress(const char* character, int vk, bool s = false, bool c = false, bool a = false)
      : VK(vk), S(s), C(c), A(a)
  {
    if (character) std::strncpy(utf8, character, sizeof(utf8) - 1);
  }
};

enum class ECursor : int
{
  ARROW = 0,
  IBEAM,
  WAIT,
  CROSS,
  UPARROW,
  SIZENWSE,
  SIZENESW,
  SIZEWE,
  SIZENS,
  SIZEALL,
  INO,
  HAND,
  APPSTARTING,
  HELP
};

enum class EGestureType : int
{
  Unknown = 0,
  DoubleTap,
  TripleTap,
  LongPress1,
  LongPress2,
  SwipeLeft,
  SwipeRight,
  SwipeUp,
  SwipeDown,
  Pinch,
  Rotate
};

enum class EGestureState : int
{
  Unknown = 0,
  Began,
  InProcess,
  Ended
};

struct IGestureInfo
{
  float x = 0.f;
  float y = 0.f;
  float scale = 0.f;    // pinch
  float velocity = 0.f; // pinch and rotate
  float angle = 0.f;    // rotate, degrees
  EGestureState state = EGestureState::Unknown;
  EGestureType type = EGestureType::Unknown;
};

} // namespace kit::gfx
