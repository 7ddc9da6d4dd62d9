// Scene 0: the name banner drifting right to left; the home scene of the first 26.5 s.
#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/textures.h"
#include "draw/sprite.h"
#include "scenes/dispatcher.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

void scene0() {
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    if (a0s0 < 1) a0s0 += tempo / 500;  // tested first: may end a little above 1

    // Opaque banner: blending off, so its alpha changes nothing on screen.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    sprite2(t0s0, 0, -0.01f, 10, 4, a0s0, TEX_KELVORIN);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);

    t0s0 -= tempo / 1200;  // 1/1200 unit per ms

    // The two interludes only start if a frame lands inside their second.
    if (time > 7000 && time < 8000) {
        a0s0 = 0;
        numscene = 1;
    }
    if (time > 16000 && time < 17000) {
        a0s0 = 0;
        numscene = 2;
    }
    if (time > 26500) numscene = 3;
}

}  // namespace kelvorin
