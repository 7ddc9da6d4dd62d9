#include "shell/afterglow.h"

#include <GL/gl.h>

#include <cmath>

#include "scenes/reduced_flashing.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

const double KEEP_PER_60TH = 0.8;  // the earlier picture's weight after 1/60 s

// The earlier picture lives in a texture with sides of powers of two (OpenGL 1.1 has no
// other), in its lower left corner.
GLuint texture = 0;
int textureWidth = 0, textureHeight = 0;
int keptWidth = 0, keptHeight = 0;  // the size of the picture kept there; 0 when none

int PowerOfTwo(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

// False for a view larger than the biggest texture: its frames then show as drawn.
bool MakeTexture(int width, int height) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (PowerOfTwo(width) > largest || PowerOfTwo(height) > largest) return false;
    if (!texture) glGenTextures(1, &texture);
    textureWidth = PowerOfTwo(width);
    textureHeight = PowerOfTwo(height);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureWidth, textureHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
    // Texel for pixel: the picture comes back exactly where it was taken.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    keptWidth = keptHeight = 0;
    return true;
}

// The kept picture over the whole view with the given opacity, under identity matrices. The
// state it changes is put back, so that the next frame starts as the scene left this one.
void DrawKept(float opacity) {
    const GLenum CAPS[] = {GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING, GL_DEPTH_TEST};
    GLboolean was[4];
    for (int i = 0; i < 4; i++) was[i] = glIsEnabled(CAPS[i]);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    float s = float(keptWidth) / textureWidth, t = float(keptHeight) / textureHeight;
    glColor4f(1, 1, 1, opacity);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(-1, -1, 0);
    glTexCoord2f(s, 0), glVertex3f(1, -1, 0);
    glTexCoord2f(s, t), glVertex3f(1, 1, 0);
    glTexCoord2f(0, t), glVertex3f(-1, 1, 0);
    glEnd();

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // the demo's own, which every scene leaves behind
    glColor4f(colour[0], colour[1], colour[2], colour[3]);
    for (int i = 0; i < 4; i++) was[i] ? glEnable(CAPS[i]) : glDisable(CAPS[i]);
}

}  // namespace

void DrawAfterglow() {
    if (!reducedFlashing) {
        keptWidth = keptHeight = 0;
        return;
    }
    GLint view[4], bound;
    glGetIntegerv(GL_VIEWPORT, view);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    if ((!texture || view[2] > textureWidth || view[3] > textureHeight) &&
        !MakeTexture(view[2], view[3])) {
        keptWidth = keptHeight = 0;
        return;
    }
    if (keptWidth == view[2] && keptHeight == view[3]) {
        glBindTexture(GL_TEXTURE_2D, texture);
        DrawKept(float(std::pow(KEEP_PER_60TH, tempo * 60 / 1000)));
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, view[0], view[1], view[2], view[3]);
    keptWidth = view[2];
    keptHeight = view[3];
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
}

void RestartAfterglow() { keptWidth = keptHeight = 0; }

void ForgetAfterglowTexture() {
    texture = 0;
    textureWidth = textureHeight = keptWidth = keptHeight = 0;
}

}  // namespace kelvorin
