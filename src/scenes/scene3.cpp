// Scene 3: a tumbling fan of wire cubes, the maker picture in bands at the corners, the title
// fading in at the end, and three stretches of blinking at ten flashes per second (drawn
// steadily with reduced flashing).
#include <GL/gl.h>

#include <cmath>

#include "assets/textures.h"
#include "draw/shapes.h"
#include "draw/sprite.h"
#include "scenes/dispatcher.h"
#include "scenes/reduced_flashing.h"
#include "scenes/scene3.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

// One cube at angle f. Its colour is set after it is drawn, so each cube shows the colour
// left by the one before it (the first one whatever was current).
void FanCube(float f, float &r, float &a) {
    glRotatef(f, 0, 1, 0);
    glRotatef(f, 1.5f, 0, 0);
    WireCube(r);
    glColor3f(a / 2, a / 2, a);
    glRotatef(-f, 1.5f, 0, 0);
    glRotatef(-f, 0, 1, 0);
    r += 0.05;
    a -= 0.025;
}

// Climb to 1, hold one frame while the flag is set, then fall for the rest of the window.
void FadeBands(bool &fadedIn) {
    if (!fadedIn) {
        if (a0s3 < 1) a0s3 += tempo / 2500;
        else fadedIn = true;
    } else {
        a0s3 -= tempo / 2500;
    }
}

}  // namespace

int DrawCubeFan(float i, float j) {
    float r = 0.5f, a = 1.0f;
    float f = j;
    int drawn = 0;
    // When i and j nearly meet, the step can be too small to move f at all; the count bound
    // keeps the loop finite and still lets the 41st cube of a step that falls just short.
    if (i > j) {
        float k = (i - j) / 40;
        while (f < i && drawn < FAN_MAX_CUBES) {
            FanCube(f, r, a);
            f += k;
            drawn++;
        }
    } else {
        float k = (j - i) / 40;
        while (f > i && drawn < FAN_MAX_CUBES) {
            FanCube(f, r, a);
            f -= k;
            drawn++;
        }
    }
    return drawn;
}

void scene3() {
    FlatView(false);

    // Swing and tumble advance in blank frames too.
    r0s3 += tempo / 500;
    r1s3 += tempo / 10;
    float i = float(120 * std::cos(double(r0s3)));
    float j = float(-75 * std::sin(double(r0s3)));

    const uint32_t t = time;
    bool blinking = t < 28500 || (t > 33500 && t < 35500) || (t > 40500 && t < 42500);
    bool blank = t % 100 < 50 && blinking;
    if (!blank || reducedFlashing) {
        if (t > 28500 && t < 33500) {
            FadeBands(b0s3);
            glEnable(GL_TEXTURE_2D);
            sprite(-2, 2, 0, 2, 0.5f, TEX_MAKER, 1, 1, 0, 0.75f, a0s3);     // upper left
            sprite(2, -2, 0, 2, 0.5f, TEX_MAKER, 1, 0.75f, 0, 0.5f, a0s3);  // lower right
            glDisable(GL_TEXTURE_2D);
        }
        if (t > 35500 && t < 40500) {
            FadeBands(b1s3);
            glEnable(GL_TEXTURE_2D);
            sprite(2, 2, 0, 2, 0.5f, TEX_MAKER, 1, 0.5f, 0, 0.26f, a0s3);  // upper right
            sprite(-2, -2, 0, 2, 0.5f, TEX_MAKER, 1, 0.26f, 0, 0, a0s3);   // lower left
            glDisable(GL_TEXTURE_2D);
        }
        if (t > 40500) {
            glEnable(GL_TEXTURE_2D);
            // No clamp; the blink keeps it near two thirds, in either mode.
            if (!blank) a2s3 += tempo / 1500;
            sprite(0, 0, 0, 8, 2, TEX_TITLE, 1, 1, 0, 0, a2s3);
            glDisable(GL_TEXTURE_2D);
        }
        // The tumble is left on the matrix: only the fan is drawn after it.
        glRotatef(r1s3, 0, 1, 0);
        glRotatef(r1s3, 0, 1, 1.9f);
        DrawCubeFan(i, j);
    }

    if (t > 42500) numscene = 4;
}

}  // namespace kelvorin
