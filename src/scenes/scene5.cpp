// Scene 5: a winding tube lined with clouds, fading from black far away to full light near the
// camera, shaking every 450 ms; from 65 s glowing sprites rush away down the tube.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "assets/textures.h"
#include "draw/sprite.h"
#include "scenes/dispatcher.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"
#include "timeline/random.h"

namespace kelvorin {

namespace {

constexpr int RINGS = 35, SEGMENTS = 24;

// Cosine and sine of a fraction of a turn.
double C(double v) { return std::cos(v * TWOPI); }
double S(double v) { return std::sin(v * TWOPI); }

// The tube's points change only with r1s5, SIZE1 and SIZE2, so each frame works out the ring
// centres and edge offsets once, in double; a vertex is their sum, stored as floats.
struct TubeFrame {
    double centreX[RINGS + 1], centreY[RINGS + 1];    // ring at depth -30 + index
    double edgeX[SEGMENTS + 1], edgeY[SEGMENTS + 1];  // R(i) * (c(i / 24), s(i / 24))
};

void ComputeTube(TubeFrame &f) {
    for (int n = 0; n <= RINGS; n++) {
        double v = (double(-30 + n) + r1s5) / 6;
        f.centreX[n] = SIZE1 * C(v);
        f.centreY[n] = SIZE1 * S(v);
    }
    for (int i = 0; i <= SEGMENTS; i++) {
        double radius = 1 + SIZE2 * C((i + double(r1s5)) / 6);
        f.edgeX[i] = radius * C(i / 24.0);
        f.edgeY[i] = radius * S(i / 24.0);
    }
}

// One vertex of the tube: segment edge i of the ring at depth -30 + n. The texture wraps once
// round the tube and once every 4 units along it.
void TubeVertex(const TubeFrame &f, int i, int n) {
    float j = float(-30 + n);
    glTexCoord2f(t0s5 / 5 + float(i) / 24, t0s5 + j / 4);
    glVertex3f(float(f.centreX[n] + f.edgeX[i]), float(f.centreY[n] + f.edgeY[i]), j);
}

void DrawTube() {
    TubeFrame f;
    ComputeTube(f);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_NUAGE]);
    float b = 0;  // ring brightness: black at the far end, growing towards the camera
    for (int n = 0; n < RINGS; n++) {
        glColor4f(b, b, b, b);
        glBegin(GL_QUADS);
        for (int i = 0; i < SEGMENTS; i++) {
            TubeVertex(f, i, n);
            TubeVertex(f, i + 1, n);
            TubeVertex(f, i + 1, n + 1);
            TubeVertex(f, i, n + 1);
        }
        glEnd();
        b += 0.05 + a0s5;
    }
}

// Every active sprite flies away from the camera; until 79 s one that has gone past z = -16
// starts again just behind the camera, in the same frame.
void DrawSprites(uint32_t t) {
    if (f0s5 < 50) f0s5 += tempo / 50;
    int active = std::min(int(f0s5), int(POOL_A));
    for (int i = 0; i < active; i++) {
        Point &p = tab0s5[i];
        p.z -= tab1s5[i] * tempo;
        if (p.z < -16 && t < 79000) p.z = 6;
        sprite2(p.x, p.y, p.z, 0.1f, 0.1f, 1, TEX_LIGHT1);
    }
}

}  // namespace

void scene5() {
    const uint32_t t = time;
    FlatView(true);
    glBlendFunc(GL_SRC_ALPHA, GL_ZERO);  // each ring replaces what lies behind it

    t0s5 -= tempo / 250;
    r1s5 -= tempo / 250;
    if (t % 450 < 50) {  // shake: x drawn first, then y
        float x = float(rand()) / 327680.0f - 0.16384f;
        float y = float(rand()) / 327680.0f - 0.16384f;
        glTranslatef(x, y, 0);
    }
    if (t > 79000) a0s5 -= tempo / 15000;
    SIZE1 += tempo / 80000;
    SIZE2 += tempo / 80000;

    DrawTube();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // back to additive, which the later scenes rely on
    if (t > 65000) DrawSprites(t);

    if (t > 80500) numscene = 7;
}

}  // namespace kelvorin
