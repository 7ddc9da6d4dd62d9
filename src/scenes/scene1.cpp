// Scene 1: the logo spinning about y, fading in over its first second and out over its last.
#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/textures.h"
#include "draw/sprite.h"
#include "scenes/dispatcher.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

void scene1() {
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);

    if (time > 7000 && time < 11000) {
        // Unclamped: may end a little below 0, which OpenGL clamps to nothing on screen.
        if (time < 8000) a0s1 += tempo / 1000;
        if (time > 10000) a0s1 -= tempo / 1000;
        r0s1 += tempo / 3;
        glRotatef(r0s1, 0, 1, 0);
        sprite2(0, 0, 0, 2, 2, a0s1, TEX_LOGOKELV);
    }

    if (time > 11000) numscene = 0;
}

}  // namespace kelvorin
