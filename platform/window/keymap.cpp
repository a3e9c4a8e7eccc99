// The key table: SDL key codes (layout-aware, unshifted) to virtual keys.
#include "platform/window/keymap.h"

#include "platform/window/window.h"

#include <SDL.h>

namespace platform {

uint32_t virtualKeyForKeycode(int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return uint32_t('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return uint32_t(vk::Digit0 + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return uint32_t(vk::F1 + (key - SDLK_F1));
  switch (key) {
    case SDLK_RETURN: case SDLK_KP_ENTER: case SDLK_RETURN2: return vk::Return;
    case SDLK_ESCAPE: case SDLK_AC_BACK: return vk::Escape;
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_SPACE: return vk::Space;
    case SDLK_PAGEUP: return vk::PageUp;
    case SDLK_PAGEDOWN: return vk::PageDown;
    case SDLK_END: return vk::End;
    case SDLK_HOME: return vk::Home;
    case SDLK_LEFT: return vk::Left;
    case SDLK_UP: return vk::Up;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_DOWN: return vk::Down;
    case SDLK_INSERT: return vk::Insert;
    case SDLK_DELETE: return vk::Delete;
    case SDLK_LGUI: return vk::LeftWin;
    case SDLK_RGUI: return vk::RightWin;
    case SDLK_APPLICATION: return vk::Menu;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return vk::Shift;
    case SDLK_LCTRL: case SDLK_RCTRL: return vk::Control;
    case SDLK_LALT: case SDLK_RALT: return vk::Alt;
    case SDLK_KP_0: return vk::Numpad0;
    case SDLK_KP_1: return vk::Numpad0 + 1;
    case SDLK_KP_2: return vk::Numpad0 + 2;
    case SDLK_KP_3: return vk::Numpad0 + 3;
    case SDLK_KP_4: return vk::Numpad0 + 4;
    case SDLK_KP_5: return vk::Numpad0 + 5;
    case SDLK_KP_6: return vk::Numpad0 + 6;
    case SDLK_KP_7: return vk::Numpad0 + 7;
    case SDLK_KP_8: return vk::Numpad0 + 8;
    case SDLK_KP_9: return vk::Numpad0 + 9;
    case SDLK_KP_MULTIPLY: return vk::Multiply;
    case SDLK_KP_PLUS: return vk::Add;
    case SDLK_KP_MINUS: return vk::Subtract;
    case SDLK_KP_PERIOD: return vk::Decimal;
    case SDLK_KP_DIVIDE: return vk::Divide;
    case SDLK_VOLUMEUP: return vk::F6;
    case SDLK_VOLUMEDOWN: return vk::F7;
    default: return 0;
  }
}

}  // namespace platform
