// GLU's quadric objects and its sphere, drawn through the layer's own immediate mode with
// GLU's tessellation, so that both builds draw the same lines and triangles.
#include <GL/glu.h>

#include <cmath>
#include <new>

struct GLUquadric {
    GLenum drawStyle;
    bool normals, texture;
};

namespace kelvorin {
namespace gl11 {

namespace {

// One point of the sphere: stack j of stacks from the +z pole down, slice i of slices from +y
// towards +x, with its outward normal and texture coordinates when they are asked for. s falls
// from 1 at +y through 0.75 at +x; t falls from 1 at the +z pole to 0 at the -z pole.
void SpherePoint(const GLUquadric *q, double radius, int i, int slices, int j, int stacks) {
    double theta = 2 * M_PI * i / slices, phi = M_PI * j / stacks;
    double nx = std::sin(theta) * std::sin(phi), ny = std::cos(theta) * std::sin(phi),
           nz = std::cos(phi);
    if (q->normals) glNormal3f(GLfloat(nx), GLfloat(ny), GLfloat(nz));
    if (q->texture) glTexCoord2f(GLfloat(1 - double(i) / slices), GLfloat(1 - double(j) / stacks));
    glVertex3f(GLfloat(nx * radius), GLfloat(ny * radius), GLfloat(nz * radius));
}

}  // namespace

GLUquadric *NewQuadric() { return new (std::nothrow) GLUquadric{GLU_FILL, true, false}; }
void DeleteQuadric(GLUquadric *quadric) { delete quadric; }

// Lines or filled; the point and silhouette styles draw filled.
void QuadricDrawStyle(GLUquadric *quadric, unsigned style) {
    if (quadric) quadric->drawStyle = style;
}

// GLU_NONE sends no normals; flat normals are drawn as smooth ones.
void QuadricNormals(GLUquadric *quadric, unsigned normals) {
    if (quadric) quadric->normals = normals != GLU_NONE;
}

void QuadricTexture(GLUquadric *quadric, bool texture) {
    if (quadric) quadric->texture = texture;
}

// Filled: a quad strip per stack from the +z pole down, each running round the slices, the
// lower point of each pair first. Lines: a loop round every inner stack boundary, top first,
// then a line from pole to pole along every slice.
void Sphere(GLUquadric *quadric, double radius, int slices, int stacks) {
    if (!quadric || slices < 2 || stacks < 1) return;
    if (quadric->drawStyle == GLU_LINE) {
        for (int j = 1; j < stacks; j++) {
            glBegin(GL_LINE_LOOP);
            for (int i = 0; i < slices; i++) SpherePoint(quadric, radius, i, slices, j, stacks);
            glEnd();
        }
        for (int i = 0; i < slices; i++) {
            glBegin(GL_LINE_STRIP);
            for (int j = 0; j <= stacks; j++) SpherePoint(quadric, radius, i, slices, j, stacks);
            glEnd();
        }
        return;
    }
    for (int j = 0; j < stacks; j++) {
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= slices; i++) {
            SpherePoint(quadric, radius, i, slices, j + 1, stacks);
            SpherePoint(quadric, radius, i, slices, j, stacks);
        }
        glEnd();
    }
}

}  // namespace gl11
}  // namespace kelvorin
