// Input mapping of the main window: virtual keys to MIDP key codes, the
// system keys the game hands back, the two volume keys and their steps, and
// pointer positions scaled from the device screen to the 480x800 canvas.
#pragma once

#include <cstdint>

// MIDP key codes of the game keys.
namespace midpkey {
inline constexpr int Up = -1, Down = -2, Left = -3, Right = -4, Fire = -5, SoftLeft = -6, SoftRight = -7;
inline constexpr int Star = 42, Pound = 35;
}  // namespace midpkey

// Virtual keys below 13 or above 120 pass unchanged; within 13..120: Return
// -5, Up -1, Down -2, Left -3, Right -4, F1 -6, F2 -7, number pad '0'-'9',
// F8 '*', F9 '#', every other key unchanged.
int mapVirtualKeyToGameKey(uint32_t virtualKey);

// Keys that belong to the system while the game holds the hardware keys:
// left and right Windows keys, F3, F4, Escape and Home.
bool isSystemKey(uint32_t key);

// F6 raises and F7 lowers the master volume, on release; neither reaches
// the canvas.
bool isVolumeKey(uint32_t key);

// The master volume word (two 16-bit channel levels) one step up or down:
// 6,553 per step, clamped to 0..65,535; ten steps cover the range.
uint32_t volumeStepUp(uint32_t volume);
uint32_t volumeStepDown(uint32_t volume);

// Pointer scale factors, canvas size over device-screen size (1.0 until the
// window first has the focus).
struct PointerScale {
    float x = 1.0f;
    float y = 1.0f;
};
// In place, for each axis whose factor is not exactly 1: floor(v * f + 0.5)
// in single precision.
void scalePointerCoordinates(const PointerScale& scale, int& x, int& y);
