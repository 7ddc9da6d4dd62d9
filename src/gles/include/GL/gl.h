// OpenGL 1.1 as the demo uses it, for builds on OpenGL ES 3 / WebGL 2: the types and
// constants of the desktop header, and each call forwarded to our layer (src/gles). Only the
// calls the demo and its offline renderer make are here; the wrappers have internal linkage, so no
// gl* symbol of ours meets GLES's own at link time.
#ifndef __gl_h_
#define __gl_h_
#define __GL_H__

#include "../../gl11.h"

typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef void GLvoid;
typedef signed char GLbyte;
typedef short GLshort;
typedef int GLint;
typedef unsigned char GLubyte;
typedef unsigned short GLushort;
typedef unsigned int GLuint;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef double GLclampd;

#define GL_FALSE 0
#define GL_TRUE 1

// Primitives.
#define GL_POINTS 0x0000
#define GL_LINES 0x0001
#define GL_LINE_LOOP 0x0002
#define GL_LINE_STRIP 0x0003
#define GL_TRIANGLES 0x0004
#define GL_QUADS 0x0007
#define GL_QUAD_STRIP 0x0008

// Capabilities.
#define GL_LIGHTING 0x0B50
#define GL_DEPTH_TEST 0x0B71
#define GL_NORMALIZE 0x0BA1
#define GL_BLEND 0x0BE2
#define GL_SCISSOR_TEST 0x0C11
#define GL_TEXTURE_2D 0x0DE1
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001
#define GL_LIGHT2 0x4002
#define GL_LIGHT3 0x4003
#define GL_LIGHT4 0x4004
#define GL_LIGHT5 0x4005
#define GL_LIGHT6 0x4006
#define GL_LIGHT7 0x4007

// Blending and depth.
#define GL_ZERO 0
#define GL_ONE 1
#define GL_SRC_COLOR 0x0300
#define GL_ONE_MINUS_SRC_COLOR 0x0301
#define GL_SRC_ALPHA 0x0302
#define GL_ONE_MINUS_SRC_ALPHA 0x0303
#define GL_DST_ALPHA 0x0304
#define GL_ONE_MINUS_DST_ALPHA 0x0305
#define GL_DST_COLOR 0x0306
#define GL_ONE_MINUS_DST_COLOR 0x0307
#define GL_SRC_ALPHA_SATURATE 0x0308
#define GL_NEVER 0x0200
#define GL_LESS 0x0201
#define GL_EQUAL 0x0202
#define GL_LEQUAL 0x0203
#define GL_GREATER 0x0204
#define GL_NOTEQUAL 0x0205
#define GL_GEQUAL 0x0206
#define GL_ALWAYS 0x0207

// Lights and materials.
#define GL_FRONT 0x0404
#define GL_BACK 0x0405
#define GL_FRONT_AND_BACK 0x0408
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01

// Matrices.
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701

// Hints.
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_DONT_CARE 0x1100
#define GL_FASTEST 0x1101
#define GL_NICEST 0x1102

// Buffers, pixels and textures.
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_PACK_ALIGNMENT 0x0D05
#define GL_UNSIGNED_BYTE 0x1401
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_BGRA 0x80E1
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_REPEAT 0x2901

// State queries.
#define GL_CURRENT_COLOR 0x0B00
#define GL_CURRENT_NORMAL 0x0B02
#define GL_CURRENT_TEXTURE_COORDS 0x0B03
#define GL_VIEWPORT 0x0BA2
#define GL_MAX_TEXTURE_SIZE 0x0D33
#define GL_MAX_VIEWPORT_DIMS 0x0D3A
#define GL_TEXTURE_BINDING_2D 0x8069

// Strings.
#define GL_VENDOR 0x1F00
#define GL_RENDERER 0x1F01
#define GL_VERSION 0x1F02

static inline void glBegin(GLenum mode) { kelvorin::gl11::Begin(mode); }
static inline void glEnd() { kelvorin::gl11::End(); }
static inline void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { kelvorin::gl11::Vertex(x, y, z); }
static inline void glVertex3i(GLint x, GLint y, GLint z) {
    kelvorin::gl11::Vertex((GLfloat)x, (GLfloat)y, (GLfloat)z);
}
static inline void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    kelvorin::gl11::Vertex((GLfloat)x, (GLfloat)y, (GLfloat)z);
}
static inline void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { kelvorin::gl11::Normal(x, y, z); }
// Integer normals map the type's range onto [-1, 1], as OpenGL defines.
static inline void glNormal3i(GLint x, GLint y, GLint z) {
    kelvorin::gl11::Normal((GLfloat)((2.0 * x + 1) / 4294967295.0),
                           (GLfloat)((2.0 * y + 1) / 4294967295.0),
                           (GLfloat)((2.0 * z + 1) / 4294967295.0));
}
static inline void glNormal3dv(const GLdouble *v) {
    kelvorin::gl11::Normal((GLfloat)v[0], (GLfloat)v[1], (GLfloat)v[2]);
}
static inline void glTexCoord2f(GLfloat s, GLfloat t) { kelvorin::gl11::TexCoord(s, t); }
static inline void glTexCoord2i(GLint s, GLint t) {
    kelvorin::gl11::TexCoord((GLfloat)s, (GLfloat)t);
}
static inline void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    kelvorin::gl11::Color(r, g, b, 1.0f);
}
static inline void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    kelvorin::gl11::Color(r, g, b, a);
}

static inline void glMatrixMode(GLenum mode) { kelvorin::gl11::MatrixMode(mode); }
static inline void glLoadIdentity() { kelvorin::gl11::LoadIdentity(); }
static inline void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    kelvorin::gl11::Translate(x, y, z);
}
static inline void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    kelvorin::gl11::Translate((GLfloat)x, (GLfloat)y, (GLfloat)z);
}
static inline void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    kelvorin::gl11::Rotate(angle, x, y, z);
}
static inline void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    kelvorin::gl11::Rotate((GLfloat)angle, (GLfloat)x, (GLfloat)y, (GLfloat)z);
}
static inline void glScalef(GLfloat x, GLfloat y, GLfloat z) { kelvorin::gl11::Scale(x, y, z); }
static inline void glPushMatrix() { kelvorin::gl11::PushMatrix(); }
static inline void glPopMatrix() { kelvorin::gl11::PopMatrix(); }

static inline void glEnable(GLenum cap) { kelvorin::gl11::Enable(cap); }
static inline void glDisable(GLenum cap) { kelvorin::gl11::Disable(cap); }
static inline void glBlendFunc(GLenum source, GLenum destination) {
    kelvorin::gl11::BlendFunc(source, destination);
}
static inline void glDepthFunc(GLenum func) { kelvorin::gl11::DepthFunc(func); }
static inline void glShadeModel(GLenum mode) { kelvorin::gl11::ShadeModel(mode); }
static inline void glHint(GLenum target, GLenum mode) { kelvorin::gl11::Hint(target, mode); }
static inline void glLightfv(GLenum light, GLenum name, const GLfloat *values) {
    kelvorin::gl11::Lightfv(light, name, values);
}
static inline void glMaterialfv(GLenum face, GLenum name, const GLfloat *values) {
    kelvorin::gl11::Materialfv(face, name, values);
}

static inline GLboolean glIsEnabled(GLenum cap) {
    return kelvorin::gl11::IsEnabled(cap) ? GL_TRUE : GL_FALSE;
}
static inline void glGetFloatv(GLenum name, GLfloat *values) {
    kelvorin::gl11::GetFloatv(name, values);
}
static inline void glGetIntegerv(GLenum name, GLint *values) {
    kelvorin::gl11::GetIntegerv(name, values);
}

static inline void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    kelvorin::gl11::Viewport(x, y, width, height);
}
static inline void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    kelvorin::gl11::Scissor(x, y, width, height);
}
static inline void glLineWidth(GLfloat width) { kelvorin::gl11::LineWidth(width); }
static inline void glPointSize(GLfloat size) { kelvorin::gl11::PointSize(size); }
static inline void glClear(GLbitfield mask) { kelvorin::gl11::Clear(mask); }
static inline void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    kelvorin::gl11::ClearColor(r, g, b, a);
}
static inline void glClearDepth(GLclampd depth) { kelvorin::gl11::ClearDepth(depth); }
static inline void glFlush() { kelvorin::gl11::Flush(); }
static inline void glFinish() { kelvorin::gl11::Finish(); }
static inline void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                                GLenum type, GLvoid *pixels) {
    kelvorin::gl11::ReadPixels(x, y, width, height, format, type, pixels);
}
static inline void glPixelStorei(GLenum name, GLint value) {
    kelvorin::gl11::PixelStorei(name, value);
}
static inline const GLubyte *glGetString(GLenum name) { return kelvorin::gl11::GetString(name); }
static inline void glGetLightfv(GLenum light, GLenum name, GLfloat *values) {
    kelvorin::gl11::GetLightfv(light, name, values);
}
static inline void glGenTextures(GLsizei count, GLuint *names) {
    kelvorin::gl11::GenTextures(count, names);
}
static inline void glBindTexture(GLenum target, GLuint name) {
    kelvorin::gl11::BindTexture(target, name);
}
static inline void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                GLsizei height, GLint border, GLenum format, GLenum type,
                                const GLvoid *pixels) {
    kelvorin::gl11::TexImage2D(target, level, internalFormat, width, height, border, format, type,
                               pixels);
}
static inline void glTexParameteri(GLenum target, GLenum name, GLint value) {
    kelvorin::gl11::TexParameteri(target, name, value);
}
static inline void glCopyTexSubImage2D(GLenum target, GLint level, GLint xOffset, GLint yOffset,
                                       GLint x, GLint y, GLsizei width, GLsizei height) {
    kelvorin::gl11::CopyTexSubImage2D(target, level, xOffset, yOffset, x, y, width, height);
}

#endif
