// The table of 23 textures, loaded into every new rendering context.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "assets/bmp.h"

namespace kelvorin {

// clang-format off
// The 23 pictures in table order, each once: X(constant, file name without ".bmp"). Texture i
// holds the picture Data/NAME.bmp of line i; the scenes pick one by its constant, the art
// generator draws them under these names, and the build (tools/assets.cmake) reads this list
// for the files it makes.
#define KELVORIN_TEXTURES(X)                                                                       \
    X(TEX_QUORVANEL, quorvanel)  /* the emblem beside the ball spiral */                           \
    X(TEX_LOGOKELV, logokelv)    /* the spinning logo */                                           \
    X(TEX_KELVORIN, kelvorin)    /* the name banner */                                             \
    X(TEX_MAKER, maker)          /* the credits beside the cube fan */                             \
    X(TEX_TITLE, title)          /* the title over the fan, then tumbling */                       \
    X(TEX_LIGHT1, light1)        /* the tunnel's light sprites */                                  \
    X(TEX_NUAGE, nuage)          /* the tunnel's clouds */                                         \
    X(TEX_CH0, ch0)              /* the countdown's digits, 0 to 5 */                              \
    X(TEX_CH1, ch1)                                                                                \
    X(TEX_CH2, ch2)                                                                                \
    X(TEX_CH3, ch3)                                                                                \
    X(TEX_CH4, ch4)                                                                                \
    X(TEX_CH5, ch5)                                                                                \
    X(TEX_CARRELAGE, carrelage)  /* the finale's floor */                                          \
    X(TEX_PIERRE, pierre)        /* its columns */                                                 \
    X(TEX_PETALE, petale)        /* its petals */                                                  \
    X(TEX_ESPACE, espace)        /* its space box */                                               \
    X(TEX_CONTOUR, contour)      /* the lotus under the greetings */                               \
    X(TEX_ANO1, ano1)            /* the sun's halos */                                             \
    X(TEX_ANO2, ano2)                                                                              \
    X(TEX_ANO3, ano3)                                                                              \
    X(TEX_ANO4, ano4)                                                                              \
    X(TEX_SOLEIL, soleil)        /* the sun */
// clang-format on

#define KELVORIN_TEXTURE_ID(id, name) id,
enum TextureId { KELVORIN_TEXTURES(KELVORIN_TEXTURE_ID) NUM_TEXTURES };
#undef KELVORIN_TEXTURE_ID
static_assert(NUM_TEXTURES == 23, "the demo loads 23 pictures");

// Each picture's name, as its file is called without Data/ and .bmp: "quorvanel", ...
#define KELVORIN_TEXTURE_NAME(id, name) #name,
inline constexpr const char *textureNames[NUM_TEXTURES] = {
    KELVORIN_TEXTURES(KELVORIN_TEXTURE_NAME)};
#undef KELVORIN_TEXTURE_NAME

extern uint32_t texture[NUM_TEXTURES];                // OpenGL names; index i holds file i
extern const char *const textureFiles[NUM_TEXTURES];  // "Data/quorvanel.bmp", ...

// A set of textures as bits: bit i stands for texture i.
constexpr uint32_t TextureBits(std::initializer_list<TextureId> ids) {
    uint32_t bits = 0;
    for (TextureId id : ids) bits |= 1u << id;
    return bits;
}

// None when the name is null or the file cannot be opened; otherwise LoadDIBImage's result.
RGBImage *LoadTextureImage(const char *fileName);
// All 23 or nothing. Needs a current context.
bool LoadTextures();

// The browser edition makes its pictures while the demo starts, and sets lateTextures before
// its first window opens: LoadTextures then creates all 23 names as ever but fills only those
// whose files are there (one that is there and cannot be decoded still fails it), and
// LoadLateTexture fills one more once its file has come. texturesLoaded holds the bits of
// those filled in the current context; the desktop editions fill all 23 at once.
extern bool lateTextures;
extern uint32_t texturesLoaded;
// Fills texture[index] from its file, the bound texture staying bound. False when the file
// cannot be read or decoded (the loader has said why).
bool LoadLateTexture(int index);

}  // namespace kelvorin
