// The Linux edition's key map: SDL's keys as the Windows virtual-key codes that the shell's key
// state is indexed by.
#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

#include "editions/linux/keys_sdl.h"

using namespace kelvorin;

TEST(Keys, VirtualKeyCodes) {
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_ESCAPE), 27);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_F1), 112);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_F12), 123);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_z), 'Z');
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_0), '0');
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_9), '9');
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_LEFT), 0x25);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_DOWN), 0x28);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_RETURN), 0x0D);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_SPACE), 0x20);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_KP_0), 0x60);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_KP_9), 0x69);
    EXPECT_EQ(VirtualKeyFromSDL(SDLK_UNKNOWN), 0);
}
