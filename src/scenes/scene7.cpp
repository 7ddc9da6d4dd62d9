// Scene 7, the finale: a spinning tiled floor with stone columns inside a box of space, a sun
// above it, petals falling and swirling up; the camera cuts between views, then flies down to
// the floor's centre and climbs towards the sun.
#include <GL/gl.h>
#include <GL/glu.h>

#include "scenes/dispatcher.h"
#include "scenes/scene7.h"
#include "scenes/scenes.h"
#include "scenes/state.h"
#include "timeline/clock.h"

namespace kelvorin {

void LookAtUpright(double eyeX, double eyeY, double eyeZ, double centreX, double centreY,
                   double centreZ) {
    bool vertical = eyeX == centreX && eyeZ == centreZ;
    gluLookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, 0, vertical ? 0 : 1, vertical ? -1 : 0);
}

namespace {

// From 115 s the camera glides down to the floor's centre while its target rises to 4 units
// above it; once there it looks straight up and climbs.
void CameraFlight() {
    if (m0s7 < 4) m0s7 += tempo / 2000;
    if (m1s7 < 8) m1s7 += tempo / 1000;
    if (m0s7 >= 4) {
        m2s7 += tempo / 750;
        LookAtUpright(0, 4 - m0s7 + m2s7, 8 - m1s7, 0, m0s7 + m2s7, 0);
    } else {
        LookAtUpright(0, 4 - m0s7, 8 - m1s7, 0, m0s7, 0);
    }
}

// The cuts: each view holds strictly inside its window, so a frame exactly on a boundary keeps
// the identity view.
void Camera(uint32_t t) {
    if (t < 84000) gluLookAt(0, 6, 5, 0, 0, 0, 0, 1, 0);
    else if (t > 84000 && t < 86000) gluLookAt(0, 4, 5, 0, 0, 0, 0, 1, 0);
    else if (t > 86000 && t < 88000) gluLookAt(0, 2, 4, 0, 0, 0, 0, 1, 0);
    else if (t > 88000 && t < 90000) gluLookAt(0, 0.2, 1, 0, 2, 0, 0, 1, 0);
    else if (t > 90000 && t < 92000) gluLookAt(4, 0.5, 0, 0, 0, 0, 0, 1, 0);
    else if (t > 92000 && t < 94000) gluLookAt(0, 4, 5, 0, 0, 0, 0, 1, 0);
    else if (t > 94000 && t < 115000) gluLookAt(0, 4, 8, 0, 0, 0, 0, 1, 0);
    else if (t > 115000) CameraFlight();
}

}  // namespace

void scene7() {
    const uint32_t t = time;
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);

    Camera(t);
    r0s7 += tempo / 100;  // 10 degrees a second, never wrapped
    if (s0s7 < 1) {       // the set grows from a point to full size in about 10 s
        s0s7 += tempo / 10000;
        glScalef(s0s7, s0s7, s0s7);
    }

    if (t > 85000) SpaceBox(t);
    if ((t > 88000 && t < 90000) || t > 120800) SunLayers();
    TiledFloor();
    StoneColumns();
    if (t > 83000) Petals(t);

    if (t > 130000) numscene = 8;
}

}  // namespace kelvorin
