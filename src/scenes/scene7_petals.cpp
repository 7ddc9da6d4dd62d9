// The finale's petals: from 83 s they fall onto the spinning floor, twenty more each second up
// to the pool's 500. One that comes down off the floor starts again higher up; one that lands
// stays. From 93 s a swirl grows from the floor's centre and lifts the landed petals inside it
// into a rising, spinning column.
#include <GL/gl.h>

#include <algorithm>

#include "assets/textures.h"
#include "draw/sprite.h"
#include "scenes/scene7.h"
#include "scenes/state.h"
#include "timeline/clock.h"
#include "timeline/random.h"

namespace kelvorin {

namespace {

void DrawPetal(const Point &p) { sprite2(p.x, p.y, p.z, 0.15f, 0.1f, 1, TEX_PETALE); }

// Off the floor's square (its edges count as on it) a petal starts again at height 10 from a
// new random point, keeping its speed; on it, it lands where it is.
void Land(int k) {
    Point &p = tab0s7[k];
    if (p.x > 10 || p.x < -10 || p.z > 10 || p.z < -10) {
        int r1 = rand();
        int r2 = rand();
        p.x = float(double(float(r1)) / 819.2 - 20);
        p.z = float(double(float(r2)) / 819.2 - 20);
        p.y = 10;
    } else {
        tab1s7[k] = 0;
        tab2s7[k] = true;
    }
}

// A landed petal inside the swirl square turns at 100 degrees a second, rises half a unit a
// second and drifts towards (0.3, 0.3); inside or not, it is drawn turned by its angle.
void Swirl(int k) {
    Point &p = tab0s7[k];
    float &angle = tab3s7[k];
    if (p.x < centre0s7 + sizes7 && p.x > -(centre0s7 + sizes7) && p.z < centre1s7 + sizes7 &&
        p.z > -(centre1s7 + sizes7)) {
        angle += tempo / 10;
        p.y += 0.0005 * tempo;
        if (p.x < centre0s7 + 0.3) p.x += tempo / 2000;
        else p.x -= tempo / 2000;
        if (p.z < centre1s7 + 0.3) p.z += tempo / 2000;
        else p.z -= tempo / 2000;
    }
    glRotatef(angle, 0, 1, 0);
    DrawPetal(p);
    glRotatef(-angle, 0, 1, 0);
}

}  // namespace

void Petals(uint32_t t) {
    if (n0s7 < 500) n0s7 += tempo / 50;
    nn0s7 = std::min(int(n0s7), int(POOL_C));  // one long frame may carry the count past 500
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    if (t > 93000) sizes7 += tempo / 5000;
    for (int k = 0; k < nn0s7; k++) {
        Point &p = tab0s7[k];
        p.y -= tab1s7[k] * tempo;
        if (p.y <= 0 && !tab2s7[k]) Land(k);
        if (t > 93000 && tab2s7[k]) Swirl(k);
        else DrawPetal(p);
    }
}

}  // namespace kelvorin
