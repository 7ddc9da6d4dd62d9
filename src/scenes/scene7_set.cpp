// The finale's set: a 20 x 20 tiled floor and ten eight-sided stone columns, turning together
// about the floor's vertical axis.
#include <GL/gl.h>

#include <cmath>

#include "assets/textures.h"
#include "draw/point.h"
#include "scenes/scene7.h"
#include "scenes/state.h"

namespace kelvorin {

namespace {

// An eight-sided prism of radius 0.25 from y = 0 to 3, without caps, each face carrying the
// whole picture upright. Worked out afresh every frame.
void Column() {
    glBegin(GL_QUADS);
    for (float k = 0; k < 8; k++) {
        double a0 = (k / 8) * TWOPI, a1 = ((k + 1) / 8) * TWOPI;
        float x0 = float(0.25 * std::cos(a0)), z0 = float(0.25 * std::sin(a0));
        float x1 = float(0.25 * std::cos(a1)), z1 = float(0.25 * std::sin(a1));
        glTexCoord2i(0, 0);
        glVertex3f(x0, 0, z0);
        glTexCoord2i(1, 0);
        glVertex3f(x1, 0, z1);
        glTexCoord2i(1, 1);
        glVertex3f(x1, 3, z1);
        glTexCoord2i(0, 1);
        glVertex3f(x0, 3, z0);
    }
    glEnd();
}

}  // namespace

// The tile picture repeats five times along each side (the texture wraps).
void TiledFloor() {
    glBindTexture(GL_TEXTURE_2D, texture[TEX_CARRELAGE]);
    glColor4f(1, 1, 1, 1);
    glRotatef(r0s7, 0, 1, 0);
    glBegin(GL_QUADS);
    glNormal3i(0, 1, 0);
    glTexCoord2i(0, 0);
    glVertex3i(10, 0, 10);
    glTexCoord2i(5, 0);
    glVertex3i(-10, 0, 10);
    glTexCoord2i(5, 5);
    glVertex3i(-10, 0, -10);
    glTexCoord2i(0, 5);
    glVertex3i(10, 0, -10);
    glEnd();
}

// Columns at x = -8 and 8, z = -8 ... 8; each pass undoes its own translations.
void StoneColumns() {
    glColor4f(0.8f, 0.8f, 0.8f, 1);
    glBindTexture(GL_TEXTURE_2D, texture[TEX_PIERRE]);
    for (float z0 = -8; z0 < 10; z0 += 4) {
        glTranslatef(0, 0, z0);
        glTranslatef(-8, 0, 0);
        Column();
        glTranslatef(8, 0, 0);
        glTranslatef(8, 0, 0);
        Column();
        glTranslatef(-8, 0, 0);
        glTranslatef(0, 0, -z0);
    }
}

}  // namespace kelvorin
