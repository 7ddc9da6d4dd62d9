#include "assets/textures.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

namespace kelvorin {

uint32_t texture[NUM_TEXTURES];

#define TEXTURE_FILE(id, name) "Data/" #name ".bmp",
const char *const textureFiles[NUM_TEXTURES] = {KELVORIN_TEXTURES(TEXTURE_FILE)};
#undef TEXTURE_FILE

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
