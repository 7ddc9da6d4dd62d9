// The table of 23 textures, loaded into every new rendering context.
#pragma once
#include <cstdint>
#include "assets/bmp.h"

namespace kelvorin {

enum { NUM_TEXTURES = 23 };
extern uint32_t texture[NUM_TEXTURES];         // OpenGL names; index i holds file i
extern const char *const textureFiles[NUM_TEXTURES];  // "Data/quorvanel.bmp", ...

// None when the name is null or the file cannot be opened; otherwise LoadDIBImage's result.
RGBImage *LoadTextureImage(const char *fileName);
// All 23 or nothing. Needs a current context.
bool LoadTextures();

}  // namespace kelvorin
