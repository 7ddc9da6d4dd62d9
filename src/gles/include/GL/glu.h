// GLU as the demo uses it, for builds on OpenGL ES 3 / WebGL 2: the look-at and perspective
// matrices and the sphere quadric, done by our layer (src/gles).
#ifndef __glu_h__
#define __glu_h__

#include <GL/gl.h>

typedef struct GLUquadric GLUquadric;
typedef GLUquadric GLUquadricObj;

// Quadric draw styles and normals.
#define GLU_SMOOTH 100000
#define GLU_FLAT 100001
#define GLU_NONE 100002
#define GLU_POINT 100010
#define GLU_LINE 100011
#define GLU_FILL 100012

static inline void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX,
                             GLdouble centreY, GLdouble centreZ, GLdouble upX, GLdouble upY,
                             GLdouble upZ) {
    kelvorin::gl11::LookAt(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
}
static inline void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    kelvorin::gl11::Perspective(fovy, aspect, zNear, zFar);
}
static inline GLUquadric *gluNewQuadric() { return kelvorin::gl11::NewQuadric(); }
static inline void gluDeleteQuadric(GLUquadric *quadric) { kelvorin::gl11::DeleteQuadric(quadric); }
static inline void gluQuadricDrawStyle(GLUquadric *quadric, GLenum style) {
    kelvorin::gl11::QuadricDrawStyle(quadric, style);
}
static inline void gluQuadricNormals(GLUquadric *quadric, GLenum normals) {
    kelvorin::gl11::QuadricNormals(quadric, normals);
}
static inline void gluQuadricTexture(GLUquadric *quadric, GLboolean texture) {
    kelvorin::gl11::QuadricTexture(quadric, texture != GL_FALSE);
}
static inline void gluSphere(GLUquadric *quadric, GLdouble radius, GLint slices, GLint stacks) {
    kelvorin::gl11::Sphere(quadric, radius, slices, stacks);
}

#endif
