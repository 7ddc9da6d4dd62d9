// The finale's backdrop: a box of space round the whole set, and the sun with its chain of
// glowing layers above the floor's centre. Both are drawn before the spin, so they stand still.
#include <GL/gl.h>

#include "assets/textures.h"
#include "scenes/scene7.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

// The box's faces seen from inside, each with the whole picture once.
const GLint boxFaces[6][4][3] = {
    {{20, 20, 20}, {-20, 20, 20}, {-20, 20, -20}, {20, 20, -20}},
    {{20, -20, 20}, {-20, -20, 20}, {-20, -20, -20}, {20, -20, -20}},
    {{20, 20, 20}, {-20, 20, 20}, {-20, -20, 20}, {20, -20, 20}},
    {{20, 20, -20}, {-20, 20, -20}, {-20, -20, -20}, {20, -20, -20}},
    {{20, 20, 20}, {20, -20, 20}, {20, -20, -20}, {20, 20, -20}},
    {{-20, 20, 20}, {-20, -20, 20}, {-20, -20, -20}, {-20, 20, -20}},
};
const GLint cornerTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// A horizontal square of half-size h at height y, with the whole picture once.
void Layer(float y, float h) {
    const float corners[4][2] = {{h, h}, {-h, h}, {-h, -h}, {h, -h}};
    glBegin(GL_QUADS);
    for (int k = 0; k < 4; k++) {
        glTexCoord2i(cornerTexCoords[k][0], cornerTexCoords[k][1]);
        glVertex3f(corners[k][0], y, corners[k][1]);
    }
    glEnd();
}

}  // namespace

// Rises to full brightness in a second; after 127 s falls to black in three, and never rises
// again. Neither way is clamped: the colour pipeline clamps what is drawn.
void SpaceBox(uint32_t t) {
    if (t <= 127000) {
        if (a0s7 < 1) a0s7 += tempo / 1000;
    } else if (a0s7 > 0) {
        a0s7 -= tempo / 3000;
    }
    glColor4f(a0s7, a0s7, a0s7, a0s7);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_ESPACE]);
    glBegin(GL_QUADS);
    for (const auto &face : boxFaces)
        for (int k = 0; k < 4; k++) {
            glTexCoord2i(cornerTexCoords[k][0], cornerTexCoords[k][1]);
            glVertex3i(face[k][0], face[k][1], face[k][2]);
        }
    glEnd();
}

// Added on top of the box whatever their depth; the floor and columns, drawn after with depth
// testing on again, cover them.
void SunLayers() {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_SOLEIL]);
    Layer(16, 2.4f);
    glColor4f(1, 1, 1, 0.8f);  // a fainter copy of the sun, still bound
    Layer(14, 2.4f);
    glColor4f(1, 1, 1, 0.5f);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_ANO1]);
    Layer(6, 0.4f);
    glColor4f(1, 1, 1, 0.3f);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_ANO2]);
    Layer(4, 0.5f);
    glColor4f(1, 1, 1, 0.3f);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_ANO2]);
    Layer(2.5f, 0.4f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

}  // namespace kelvorin
