#include "assets/textures.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

namespace kelvorin {

uint32_t texture[NUM_TEXTURES];

const char *const textureFiles[NUM_TEXTURES] = {
    "Data/quorvanel.bmp", "Data/logokelv.bmp", "Data/kelvorin.bmp", "Data/maker.bmp",
    "Data/title.bmp",     "Data/light1.bmp",   "Data/nuage.bmp",    "Data/ch0.bmp",
    "Data/ch1.bmp",       "Data/ch2.bmp",      "Data/ch3.bmp",      "Data/ch4.bmp",
    "Data/ch5.bmp",       "Data/carrelage.bmp", "Data/pierre.bmp",  "Data/petale.bmp",
    "Data/espace.bmp",    "Data/contour.bmp",  "Data/ano1.bmp",     "Data/ano2.bmp",
    "Data/ano3.bmp",      "Data/ano4.bmp",     "Data/soleil.bmp",
};

RGBImage *LoadTextureImage(const char *fileName) {
    if (!fileName) return nullptr;
    // The open only tests that the file is there and readable; a missing file shows no box.
    FILE *file = std::fopen(fileName, "r");
    if (!file) return nullptr;
    std::fclose(file);
    return LoadDIBImage(fileName);
}

static void FreeImages(RGBImage *images[]) {
    for (int i = 0; i < NUM_TEXTURES; i++) {
        if (!images[i]) continue;
        std::free(images[i]->data);
        std::free(images[i]);
        images[i] = nullptr;
    }
}

bool LoadTextures() {
    // All or nothing: every file is decoded before the first texture is created.
    RGBImage *images[NUM_TEXTURES] = {};
    for (int i = 0; i < NUM_TEXTURES; i++) {
        images[i] = LoadTextureImage(textureFiles[i]);
        if (!images[i]) {
            FreeImages(images);
            return false;
        }
    }
    glGenTextures(NUM_TEXTURES, texture);
    for (int i = 0; i < NUM_TEXTURES; i++) {
        glBindTexture(GL_TEXTURE_2D, texture[i]);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, images[i]->width, images[i]->height, 0, GL_RGB,
                     GL_UNSIGNED_BYTE, images[i]->data);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    FreeImages(images);
    return true;
}

}  // namespace kelvorin
