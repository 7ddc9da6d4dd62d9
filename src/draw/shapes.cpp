#include "draw/shapes.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace kelvorin {

namespace {

// The six faces of the unit cube (corners at +-1): outward normal, then four corners
// counter-clockwise seen from outside.
const GLdouble cubeNormals[6][3] = {
    {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1},
};
const GLdouble cubeCorners[6][4][3] = {
    {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}},
    {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},
    {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
    {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
    {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
    {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}},
};

void Cube(double size, GLenum faceMode) {
    const double h = size / 2;
    for (int f = 0; f < 6; f++) {
        glBegin(faceMode);
        glNormal3dv(cubeNormals[f]);
        for (int c = 0; c < 4; c++)
            glVertex3d(cubeCorners[f][c][0] * h, cubeCorners[f][c][1] * h,
                       cubeCorners[f][c][2] * h);
        glEnd();
    }
}

}  // namespace

// A cube of edge size centred at the origin; the wire one outlines each face on its own.
void WireCube(double size) { Cube(size, GL_LINE_LOOP); }

void SolidCube(double size) { Cube(size, GL_QUADS); }

// A GLU sphere about z drawn as lines. The quadric is a plain client-side object, not tied to a
// rendering context, so one serves the whole run and no frame allocates.
void WireSphere(double radius, int slices, int stacks) {
    static GLUquadric *quadric = nullptr;
    if (!quadric) {
        quadric = gluNewQuadric();
        if (!quadric) return;
        gluQuadricDrawStyle(quadric, GLU_LINE);
        gluQuadricNormals(quadric, GLU_SMOOTH);
    }
    gluSphere(quadric, radius, slices, stacks);
}

}  // namespace kelvorin
