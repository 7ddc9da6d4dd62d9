// Scene 4: the title stands, then tumbles to the lower right with a trail of copies, beside a
// blue wire sphere and a countdown. Scene 45: a white flash while the sphere fades out.
// With reduced flashing the sphere shows steadily while it blinks in.
#include <GL/gl.h>

#include "assets/textures.h"
#include "draw/shapes.h"
#include "draw/sprite.h"
#include "scenes/dispatcher.h"
#include "scenes/reduced_flashing.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

// The title as it shrinks and slides: from 8 x 2 at the centre to 4 x 1 at (2, -2).
void TitleRectangle(float alpha) {
    sprite(s0s4 / 2, -s0s4 / 2, 0, 8 - s0s4, 2 - s0s4 / 4, TEX_TITLE, 1, 1, 0, 0, alpha);
}

void TurnAllAxes(double angle) {
    glRotated(angle, 1, 0, 0);
    glRotated(angle, 0, 1, 0);
    glRotated(angle, 0, 0, 1);
}

void TurnAllAxesBack(double angle) {
    glRotated(angle, 0, 0, 1);
    glRotated(angle, 0, 1, 0);
    glRotated(angle, 1, 0, 0);
}

// One countdown picture a second, ch5 down to ch0; -1 outside the countdown.
int CountdownTexture(uint32_t t) {
    if (t > 50500 && t < 51500) return TEX_CH5;
    if (t > 51500 && t < 52500) return TEX_CH4;
    if (t > 52500 && t < 53500) return TEX_CH3;
    if (t > 53500 && t < 54500) return TEX_CH2;
    if (t > 54500 && t < 55500) return TEX_CH1;
    if (t > 55500 && t < 56500) return TEX_CH0;
    return -1;
}

void PulsingSphere(uint32_t t) { WireSphere(t % 450 < 50 ? 1.4 : 1.3, 16, 16); }

}  // namespace

void scene4() {
    const uint32_t t = time;
    FlatView(true);

    if (t > 45500 && s0s4 < 4) s0s4 += tempo / 1000;
    if (t > 55500) a2s4 += tempo / 1000;

    TurnAllAxes(90.0 * s0s4);
    TitleRectangle(1 - a2s4);
    TurnAllAxesBack(-90.0 * s0s4);

    if (t > 45500 && t < 50500) {
        if (t < 49500 && n0s4 < 20) n0s4 += tempo / 50;
        if (t > 49500 && n0s4 > 0) n0s4 -= tempo / 50;
        // The way back turns by -(angle) - i/10 instead of -(angle - i/10): every copy after
        // the first leaves a residual turn, so the copies fan out behind the title, and what
        // follows in this frame (the sphere) is drawn turned as well.
        for (float i = 0; i < n0s4; i++) {
            TurnAllAxes(90.0 * s0s4 - i / 10.0);
            TitleRectangle(1 - (i + 1) / n0s4);
            TurnAllAxesBack(-90.0 * s0s4 - i / 10.0);
        }
    }

    // Seen from its back, the half-turned picture cancels the mirroring of sprite2.
    glRotatef(180, 0, 1, 0);
    int countdown = CountdownTexture(t);
    if (countdown >= 0) sprite2(-2, 1, 0, 2, 2, 1, countdown);
    glRotatef(-180, 0, 1, 0);

    glDisable(GL_TEXTURE_2D);

    if (t > 47500 && t < 49500) {  // blinking in
        a0s4 += tempo / 2000;
        r0s4 += tempo / 10;
        glTranslatef(-2, 0, 0);
        glRotatef(r0s4, 0, 1, 0);
        glRotatef(r0s4, 0, 0, 1.68f);
        glColor4f(0.25f, 0.25f, 1, a0s4);
        if (t % 100 < 50 || reducedFlashing) WireSphere(1.3, 16, 16);
    }
    if (t > 49500) {  // spinning and pulsing
        r0s4 += tempo / 10;
        glTranslatef(-2, 0, 0);
        glRotatef(r0s4, 0, 1, 0);
        glRotatef(r0s4, 0, 0, 1.68f);
        glRotatef(r0s4, 2.35f, 0, 0);
        glColor4f(0.25f, 0.25f, 1, 1);
        PulsingSphere(t);
    }

    if (t > 56500) {
        r0s45 = r0s4;  // scene 45 spins on without a jump
        numscene = 45;
    }
}

void scene4_5() {
    const uint32_t t = time;
    FlatView(false);

    if (a1s45 < 1) a1s45 += tempo / 1000;
    // A square one unit before the eye covers the view; additive blending adds a1s45 squared.
    glColor4f(a1s45, a1s45, a1s45, a1s45);
    glBegin(GL_QUADS);
    glVertex3i(1, 1, 4);
    glVertex3i(-1, 1, 4);
    glVertex3i(-1, -1, 4);
    glVertex3i(1, -1, 4);
    glEnd();

    a0s45 -= tempo / 500;  // below 0 it shows nothing
    r0s45 += tempo / 10;
    glTranslatef(-2, 0, 0);
    glRotatef(r0s45, 0, 1, 0);
    glRotatef(r0s45, 0, 0, 1.68f);
    glRotatef(r0s45, 2.35f, 0, 0);
    glColor4f(0.25f * a0s45, 0.25f * a0s45, a0s45, a0s45);
    PulsingSphere(t);

    if (t > 57500) numscene = 5;
}

}  // namespace kelvorin
