// SDL key codes to the virtual key codes carried by KeyDown and KeyUp
// (internal to the window layer; exposed for its tests).
#pragma once

#include <cstdint>

namespace platform {

// 0 for keys the game has no virtual key for (they are not delivered).
uint32_t virtualKeyForKeycode(int32_t sdlKeycode);

}  // namespace platform
