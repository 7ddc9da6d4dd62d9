// SDL's keys as Windows virtual-key codes, which the shell's key state is indexed by.
#pragma once
#include <cstdint>

namespace kelvorin {

// The virtual-key code of an SDL key (SDL_Keycode), 0 for a key that has none.
int VirtualKeyFromSDL(int32_t sdlKey);

}  // namespace kelvorin
