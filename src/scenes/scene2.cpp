// Scene 2: a picture fading in at the lower right, then three curling arms of lit balls.
#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/textures.h"
#include "draw/sphere.h"
#include "draw/sprite.h"
#include "scenes/dispatcher.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

constexpr int NUMSPH = 12;      // balls on each arm
constexpr int DEFINITION = 12;  // segments of every ball

void scene2() {
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.5f, 0.75f, 1.0f, 1.0f);

    v0s2 = {0, 0, 0};
    float twist = 0;
    if (time > 17500) {
        if (l0s2 < 1) l0s2 += tempo / 500;
        // The balls take their colour from the light (material tracking is off), so fading
        // the light fades them. The colour stays with light 0 after the scene.
        GLfloat white_light[4] = {0.5f * l0s2, 0.75f * l0s2, l0s2, l0s2};
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white_light);
        glLightfv(GL_LIGHT0, GL_SPECULAR, white_light);
        glEnable(GL_LIGHTING);
        for (int i = 0; i < NUMSPH; i++) {
            float f = float(i);
            glRotatef(f / 12 * 10, 0, 0, 1);
            twist += f / 12 * 10;
            for (int arm = 0; arm < 3; arm++) {  // three thirds of a turn: back where it began
                Sphere(v0s2, f / 50, DEFINITION);
                glRotatef(120, 0, 0, 1);
            }
            // Next ball just touches this one: the step is the sum of the two radii.
            v0s2.y += (f + 1) / 50 + f / 50;
        }
    }
    glRotatef(-twist, 0, 0, 1);

    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    if (a0s2 < 1) a0s2 += tempo / 1500;
    sprite2(2, -2, 0, 2, 2, a0s2, TEX_QUORVANEL);

    if (time > 19000) numscene = 0;
}

}  // namespace kelvorin
