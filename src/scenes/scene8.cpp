// Scene 8, the closing scene: a dot-matrix greetings scroller on a tilted board, a picture
// fading in below it, and a spinning spiral of lit spheres sliding in from the right under a
// light whose colour cycles. It stays until the viewer quits.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "assets/textures.h"
#include "draw/shapes.h"
#include "draw/sphere.h"
#include "draw/sprite.h"
#include "scenes/scene8.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

// clang-format off
// Capital letters, and [ (the code after Z) for a blank.
const char greetz[GREETZ_LENGTH + 1] =
    "GREETZ[[[[TORVIN[ASSEMBLY[[QLA[[[ZEM[[[FENNI[CREW[[[VASK[[[MORTLAB[[[YARO[[[AND[ALL[OTHERS[[[[THE[END";

// One glyph per character code from A to [: five rows of six dots, top row first; column 5 is
// dark in every glyph and spaces the letters.
const unsigned char dotfont[27 * 30] = {
    0,1,1,1,1,0,  0,0,0,0,1,0,  0,1,1,1,1,0,  1,0,0,0,1,0,  1,1,1,1,1,0,  // A
    1,1,1,0,0,0,  1,0,0,1,0,0,  1,1,1,1,0,0,  1,1,0,0,1,0,  1,1,1,1,1,0,  // B
    0,1,1,1,0,0,  1,0,0,0,0,0,  1,0,0,0,0,0,  1,0,0,0,0,0,  0,1,1,1,1,0,  // C
    0,0,0,0,1,0,  0,0,0,0,1,0,  0,1,1,1,1,0,  1,0,0,0,1,0,  1,1,1,1,1,0,  // D
    0,1,1,1,1,0,  1,0,0,0,0,0,  1,1,1,0,0,0,  1,0,0,0,0,0,  0,1,1,1,1,0,  // E
    0,1,1,1,1,0,  1,0,0,0,0,0,  1,1,1,1,0,0,  1,0,0,0,0,0,  1,0,0,0,0,0,  // F
    0,1,1,1,1,0,  1,0,0,0,0,0,  1,0,0,1,1,0,  1,0,0,0,1,0,  1,1,1,1,0,0,  // G
    1,0,0,0,1,0,  1,0,0,0,1,0,  1,1,1,1,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  // H
    0,1,1,0,0,0,  0,0,1,0,0,0,  0,0,1,0,0,0,  0,0,1,0,0,0,  0,0,1,1,0,0,  // I
    0,0,0,1,1,0,  0,0,0,0,1,0,  0,0,0,0,1,0,  0,0,0,0,1,0,  1,1,1,1,0,0,  // J
    1,0,0,1,1,0,  1,0,1,1,0,0,  1,1,1,0,0,0,  1,0,1,1,0,0,  1,0,0,1,1,0,  // K
    1,0,0,0,0,0,  1,0,0,0,0,0,  1,0,0,0,0,0,  1,0,0,0,0,0,  0,1,1,1,1,0,  // L
    1,0,0,0,1,0,  1,1,0,1,1,0,  1,0,1,0,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  // M
    1,1,0,0,1,0,  1,0,1,0,1,0,  1,0,0,1,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  // N
    1,1,1,1,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  1,1,1,1,1,0,  // O
    1,1,1,1,0,0,  1,0,0,0,1,0,  1,1,1,1,1,0,  1,0,0,0,0,0,  1,0,0,0,0,0,  // P
    1,1,1,1,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,0,1,1,0,  1,1,1,1,1,0,  // Q
    0,1,1,1,0,0,  1,0,0,0,1,0,  1,1,1,1,0,0,  1,0,0,1,0,0,  1,0,0,0,1,0,  // R
    0,1,1,1,1,0,  1,0,0,0,0,0,  0,1,1,1,0,0,  0,0,0,0,1,0,  1,1,1,1,0,0,  // S
    1,1,1,1,1,0,  0,0,1,0,0,0,  0,0,1,0,0,0,  0,0,1,0,0,0,  0,0,1,0,0,0,  // T
    1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  0,1,1,1,0,0,  // U
    1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  0,1,0,1,0,0,  0,0,1,0,0,0,  // V
    1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,0,0,1,0,  1,0,1,0,1,0,  1,1,0,1,1,0,  // W
    1,1,0,0,1,0,  0,1,0,1,0,0,  0,0,1,0,0,0,  0,1,0,1,0,0,  1,0,0,0,1,0,  // X
    1,0,0,0,1,0,  1,0,0,0,1,0,  0,1,1,1,0,0,  0,0,1,0,0,0,  0,0,1,0,0,0,  // Y
    1,1,1,1,1,0,  0,0,0,1,0,0,  0,0,1,0,0,0,  0,1,0,0,0,0,  1,1,1,1,1,0,  // Z
    0,0,0,0,0,0,  0,0,0,0,0,0,  0,0,0,0,0,0,  0,0,0,0,0,0,  0,0,0,0,0,0,  // [
};
// clang-format on

// Column x of a character's cell, row j. An offset of 6 lies on the cell's far edge, past the
// glyph's last column: it is dark.
bool GlyphDot(char ch, int row, float x) {
    int column = int(x);
    if (column < 0 || column >= 6 || row < 0 || row >= 5) return false;
    return dotfont[30 * (ch - 65) + 6 * row + column] != 0;
}

// The cubes that board column i, row j shows: the text's cell p spans the board columns
// 6p + rota8 to 6p + 6 + rota8, both ends included, so at most two cells hold a column. They are
// found from the column directly; the neighbours on both sides are tested the same way, so a
// rounding at a cell's edge is decided exactly as a test of every cell would decide it.
int ScrollerDots(float i, int j, float scroll) {
    double cell = std::floor((double(i) - scroll) / 6);
    if (!(cell > -2 && cell < GREETZ_LENGTH + 1)) return 0;  // the text lies wholly to one side
    int nearest = int(cell);
    int dots = 0;
    for (int p = std::max(nearest - 1, 0); p <= std::min(nearest + 1, GREETZ_LENGTH - 1); p++) {
        if (i >= 6 * p + scroll && i <= 6 * p + 6 + scroll &&
            GlyphDot(greetz[p], j, i - scroll - 6 * p))
            dots++;
    }
    return dots;
}

namespace {

// 70 columns by 5 rows of dot positions, 0.1 apart; the last nine columns fade towards the
// right edge.
void Scroller() {
    for (float i = -10; i < 60; i++) {
        glTranslatef((i - 25) / 10, 0, 0);
        for (float j = 0; j < 5; j++) {
            glTranslatef(0, -(j - 2.5f) / 10, 0);
            float c = i <= 50 ? 1 : 1 - (i - 50) / 10;
            glColor4f(c, c, c, c);
            for (int n = ScrollerDots(i, int(j), rota8); n > 0; n--) SolidCube(0.05);
            glTranslatef(0, (j - 2.5f) / 10, 0);
        }
        glTranslatef(-(i - 25) / 10, 0, 0);
    }
}

// Three channels on one cosine a third of a cycle apart; a cycle every 9 s.
void SpiralLight() {
    const double k = TWOPI / 180;
    const GLfloat colour[4] = {float(std::cos((hue8 + 120) * k)), float(std::cos((hue8 + 60) * k)),
                               float(std::cos(hue8 * k)), 1};
    const GLfloat position[4] = {2, -2, 3, 0};  // in the spiral's tilted frame
    glLightfv(GL_LIGHT0, GL_DIFFUSE, colour);
    glLightfv(GL_LIGHT0, GL_SPECULAR, colour);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

// Three arms of twelve spheres; each step out turns the arm a little further, and the three
// 120-degree turns of a step add up to a whole turn.
void Spiral() {
    v0s2 = {0, 0, 0};
    for (int n = 0; n < 12; n++) {
        float f = float(n);
        glRotatef(f / 12 * 10, 0, 0, 1);
        for (int arm = 0; arm < 3; arm++) {
            Sphere(v0s2, f / 50, 12);
            glRotatef(120, 0, 0, 1);
        }
        v0s2.y += (f + 1) / 50 + f / 50;
    }
}

// The spiral's spin and the light's phase grow for as long as the scene stays on screen, and a
// 32-bit float holds their small steps (0.04 degree a frame at 1000 fps) only while it is small.
// Whole turns come off, exactly, once a value has passed 64 of them, before the step is added:
// from any value, the step lands in the float's fine range. The spin passes 64 turns 9.6
// minutes into the scene, so no frame of the first 10 minutes of the demo changes.
const float SPIN_TURN = 360;  // degrees
const float HUE_TURN = 180;   // hue8 units: a cycle of the colour
const float TURNS_KEPT = 64;

float WithoutWholeTurns(float angle, float turn) {
    return std::fabs(angle) < TURNS_KEPT * turn ? angle : std::fmod(angle, turn);
}

}  // namespace

void AdvanceScene8() {
    rota8 -= tempo / 85;  // a column every 85 ms
    if (slide8 > 0) slide8 -= tempo / 2000;
    if (fade8 < 1) fade8 += tempo / 10000;
    hue8 = WithoutWholeTurns(hue8, HUE_TURN) + tempo / 50;
    spin8 = WithoutWholeTurns(spin8, SPIN_TURN) + tempo / 25;
}

void scene8() {
    AdvanceScene8();
    glEnable(GL_BLEND);  // with the additive blend function: everything adds light
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    gluLookAt(0, 0, 4, 0, 0, 0, 0, 1, 0);

    glTranslatef(0, -0.5f, 0);
    glRotatef(60, 0, 1, 0);
    glRotatef(-60, 1, 0, 0);
    Scroller();
    glRotatef(60, 1, 0, 0);
    glRotatef(-60, 0, 1, 0);
    glTranslatef(0, 1, 0);

    glEnable(GL_TEXTURE_2D);
    sprite2(1.2f, -2.2f, 0, 4, 4, fade8, TEX_CONTOUR);
    glDisable(GL_TEXTURE_2D);

    glTranslated(slide8, 0, 0);
    glRotatef(60, 0, 1, 0);
    glRotatef(-60, 1, 0, 0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    SpiralLight();
    glEnable(GL_LIGHTING);
    glRotatef(spin8, 0, 0, 1);
    Spiral();
}

}  // namespace kelvorin
