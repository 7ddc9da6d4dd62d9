// Windows virtual-key codes for the window backend's key events.
#pragma once
#include <cstdint>

namespace kelvorin {

// The virtual-key code of an SDL key (SDL_Keycode), 0 for a key that has none.
int VirtualKeyFromSDL(int32_t sdlKey);

}  // namespace kelvorin
