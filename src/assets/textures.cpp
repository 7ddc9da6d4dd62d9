#include "assets/textures.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

namespace kelvorin {

uint32_t texture[NUM_TEXTURES];
bool lateTextures = false;
uint32_t texturesLoaded = 0;

#define TEXTURE_FILE(id, name) "Data/" #name ".bmp",
const char *const textureFiles[NUM_TEXTURES] = {KELVORIN_TEXTURES(TEXTURE_FILE)};
#undef TEXTURE_FILE

// Whether the file is there and readable.
static bool Readable(const char *fileName) {
    FILE *file = std::fopen(fileName, "r");
    if (!file) return false;
    std::fclose(file);
    return true;
}

RGBImage *LoadTextureImage(const char *fileName) {
    // The open only tests that the file is there and readable; a missing file shows no box.
    if (!fileName || !Readable(fileName)) return nullptr;
    return LoadDIBImage(fileName);
}

static void FreeImage(RGBImage *&image) {
    if (!image) return;
    std::free(image->data);
    std::free(image);
    image = nullptr;
}

static void FreeImages(RGBImage *images[]) {
    for (int i = 0; i < NUM_TEXTURES; i++) FreeImage(images[i]);
}

static void UploadImage(const RGBImage *image) {
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image->data);
}

bool LoadTextures() {
    // All or nothing: every file is decoded before the first texture is created. Late, a file
    // not there yet is left for LoadLateTexture.
    RGBImage *images[NUM_TEXTURES] = {};
    for (int i = 0; i < NUM_TEXTURES; i++) {
        if (lateTextures && !Readable(textureFiles[i])) continue;
        images[i] = LoadTextureImage(textureFiles[i]);
        if (!images[i]) {
            FreeImages(images);
            return false;
        }
    }
    glGenTextures(NUM_TEXTURES, texture);
    texturesLoaded = 0;
    for (int i = 0; i < NUM_TEXTURES; i++) {
        glBindTexture(GL_TEXTURE_2D, texture[i]);
        if (images[i]) {
            UploadImage(images[i]);
            texturesLoaded |= 1u << i;
        }
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    FreeImages(images);
    return true;
}

bool LoadLateTexture(int index) {
    if (index < 0 || index >= NUM_TEXTURES) return false;
    if (texturesLoaded & 1u << index) return true;
    RGBImage *image = LoadTextureImage(textureFiles[index]);
    if (!image) return false;
    // The scenes rely on the binding they left: the upload leaves it as it was.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, texture[index]);
    UploadImage(image);
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    FreeImage(image);
    texturesLoaded |= 1u << index;
    return true;
}

}  // namespace kelvorin
