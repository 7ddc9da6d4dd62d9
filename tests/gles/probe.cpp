// Draws one picture through <GL/gl.h> and <GL/glu.h> with what the GL 1.1 layer offers beyond
// the demo's own frames: default and positional lights, materials, GL_NORMALIZE, flat shading,
// every primitive kind, a textured filled sphere, blending, depth test and clamping, wide lines
// and points and a scissored clear (the offline renderer's), and what reduced flashing adds:
// copying the picture into a texture, matrix stacks, state queries. Built
// twice, against desktop OpenGL and against the layer; the two PNGs must match. The layer's
// build first takes the layer down and up again on the same context, after changing its state:
// the picture must come out as from a new context, and the old texture must be gone.
//   gl_probe OUT.png
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <vector>

#include "platform/platform.h"
#include "png/writer.h"
#include "shell/offline_run.h"

#ifdef KELVORIN_GLES
#include "gles/gles.h"
extern "C" unsigned char glIsTexture(unsigned texture);  // GLES's own, not the layer's
#endif

namespace {

using namespace kelvorin;

const int WIDTH = 360, HEIGHT = 240;

// An 8 x 8 checkerboard of two colours, sampled without filtering.
GLuint Checkerboard() {
    unsigned char texels[8 * 8 * 3];
    for (int i = 0; i < 64; i++) {
        bool dark = (i % 8 + i / 8) % 2;
        texels[i * 3] = dark ? 40 : 250, texels[i * 3 + 1] = dark ? 90 : 220,
                   texels[i * 3 + 2] = dark ? 200 : 30;
    }
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return name;
}

// Cell k of three by two, with its own view: the eye 4 units out on +z.
void Cell(int k) {
    glViewport(k % 3 * WIDTH / 3, k / 3 * HEIGHT / 2, WIDTH / 3, HEIGHT / 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 1, 1, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 4, 0, 0, 0, 0, 1, 0);
}

// A square in the z = 0 plane, in the current colour.
void Quad(float x, float y, float size) {
    glBegin(GL_QUADS);
    glVertex3f(x, y, 0);
    glVertex3f(x + size, y, 0);
    glVertex3f(x + size, y + size, 0);
    glVertex3f(x, y + size, 0);
    glEnd();
}

void Draw(GLuint texture, GLUquadric *quadric) {
    glClearColor(0.1f, 0.1f, 0.1f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    Cell(0);  // the initial light and material on a filled sphere
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    gluSphere(quadric, 1.3, 20, 12);
    glDisable(GL_LIGHT0);

    Cell(1);  // a coloured positional light, set under a turned modelview; a scaled sphere
    const GLfloat position[] = {1.5f, 0.5f, 1.5f, 1}, colour[] = {1, 0.6f, 0.2f, 1};
    const GLfloat specular[] = {0.9f, 0.9f, 1, 1}, shininess[] = {20},
                  emission[] = {0, 0, 0.15f, 1};
    const GLfloat ambient[] = {0.3f, 0.1f, 0.1f, 1}, lightAmbient[] = {0.1f, 0.2f, 0.1f, 1};
    glRotatef(30, 0, 1, 0);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, colour);
    glLightfv(GL_LIGHT1, GL_SPECULAR, colour);
    glLightfv(GL_LIGHT1, GL_AMBIENT, lightAmbient);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glEnable(GL_LIGHT1);
    glEnable(GL_NORMALIZE);
    glScalef(2, 2, 2);
    gluSphere(quadric, 0.6, 20, 12);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);

    Cell(2);  // flat shading: each primitive takes its last vertex's colour
    glShadeModel(GL_FLAT);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < 4; i++) {
        glColor3f(i / 3.0f, 1 - i / 3.0f, 0.5f);
        glVertex3f(-1.5f + i, 0.2f, 0);
        glColor3f(0.2f, i / 3.0f, 1);
        glVertex3f(-1.5f + i, 1.4f, 0);
    }
    glEnd();
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0, 0), glVertex3f(-1.5f, -1.5f, 0);
    glColor3f(0, 1, 0), glVertex3f(0, -1.5f, 0);
    glColor3f(0, 0, 1), glVertex3f(-0.7f, 0, 0);
    glEnd();
    glColor3f(1.5f, -0.5f, 0.7f);  // clamped
    Quad(-0.6f, -0.6f, 0.5f);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0), glVertex3f(0.2f, -1.5f, 0);
    glColor3f(0, 1, 0), glVertex3f(1.5f, -1.5f, 0);
    glColor3f(0.5f, 0, 1), glVertex3f(1.5f, -0.2f, 0);
    glColor3f(1, 1, 1), glVertex3f(0.2f, -0.2f, 0);
    glEnd();

    Cell(3);  // a textured, tinted sphere under depth test, turned to show the seam
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1, 0.8f, 0.9f, 1);
    gluQuadricTexture(quadric, GL_TRUE);
    glRotatef(-70, 1, 0, 0);
    glRotatef(150, 0, 0, 1);
    gluSphere(quadric, 1.4, 16, 10);
    gluQuadricTexture(quadric, GL_FALSE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);

    Cell(4);  // alpha blending, then additive
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.9f, 0.2f, 0.1f, 1);
    Quad(-1.5f, -1.5f, 2);
    glColor4f(0.1f, 0.4f, 0.9f, 0.6f);
    Quad(-0.8f, -0.8f, 2);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(0.3f, 0.3f, 0.0f, 1);
    Quad(-0.2f, -0.2f, 1.6f);
    glDisable(GL_BLEND);

    Cell(5);  // lines, a line strip and loop, points and a wire sphere
    glBegin(GL_LINES);
    glColor3f(1, 1, 0), glVertex3f(-1.6f, 1.6f, 0);
    glColor3f(0, 1, 1), glVertex3f(1.6f, 1.2f, 0);
    glEnd();
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < 6; i++)
        glColor3f(1, i / 5.0f, 0), glVertex3f(-1.6f + i * 0.6f, -1.6f + (i % 2) * 0.5f, 0);
    glEnd();
    glBegin(GL_POINTS);
    for (int i = 0; i < 20; i++) glColor3f(1, 1, 1), glVertex3f(-1.487f + i * 0.15f, 1.013f, 0);
    glEnd();
    glLineWidth(3);  // as the offline renderer widens them when it supersamples
    glPointSize(4);
    glBegin(GL_LINES);
    glColor3f(1, 0.4f, 0.8f), glVertex3f(-1.6f, 0.6f, 0), glVertex3f(1.6f, 0.1f, 0);
    glEnd();
    glBegin(GL_POINTS);
    glColor3f(0.4f, 1, 0.4f), glVertex3f(1.213f, -1.187f, 0);
    glEnd();
    glLineWidth(1);
    glPointSize(1);
    glColor3f(0.55f, 0.75f, 1);
    glTranslatef(0.037f, -0.021f, 0);  // its poles off the pixel corners
    glRotatef(20, 1, 0.3f, 0);
    gluQuadricDrawStyle(quadric, GLU_LINE);
    gluSphere(quadric, 0.9, 10, 7);
    gluQuadricDrawStyle(quadric, GLU_FILL);

    // A clear held to a box by the scissor, as the offline renderer's skimmed frames clear.
    glScissor(20, 10, 40, 30);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.9f, 0.1f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

// What reduced flashing's afterglow does: the picture so far copied into a texture (the
// layer draws its queue first), drawn back over the whole view, mirrored and half transparent,
// under pushed identity matrices; then, with the matrices popped, a square in the colour and
// texture read back from before.
void Afterimage(GLuint texture) {
    const int SIDE_S = 512, SIDE_T = 256;
    glViewport(0, 0, WIDTH, HEIGHT);
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    GLuint copy;
    glGenTextures(1, &copy);
    glBindTexture(GL_TEXTURE_2D, copy);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, SIDE_S, SIDE_T, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, view[0], view[1], view[2], view[3]);

    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(0.3f, 0.9f, 0.5f, 0.7f);
    GLint bound;
    GLfloat colour[4];
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, copy);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, glIsEnabled(GL_TEXTURE_2D) && !glIsEnabled(GL_LIGHTING) ? 0.5f : 0.0f);
    float s = float(WIDTH) / SIDE_S, t = float(HEIGHT) / SIDE_T;
    glBegin(GL_QUADS);
    glTexCoord2f(s, 0), glVertex3f(-1, -1, 0);
    glTexCoord2f(0, 0), glVertex3f(1, -1, 0);
    glTexCoord2f(0, t), glVertex3f(1, 1, 0);
    glTexCoord2f(s, t), glVertex3f(-1, 1, 0);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    glColor4f(colour[0], colour[1], colour[2], colour[3]);
    glTexCoord2f(0, 0);
    Quad(0.6f, -1.6f, 0.9f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

#ifdef KELVORIN_GLES
// State far from the initial one, for GlesDestroy and GlesCreate to throw away.
bool Recreate() {
    GLuint texture = Checkerboard();
    const GLfloat red[] = {1, 0, 0, 1}, nowhere[] = {0, -1, 0, 0};
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDepthFunc(GL_NEVER);
    glBlendFunc(GL_ZERO, GL_ONE);
    glShadeModel(GL_FLAT);
    glColor4f(0, 0, 0, 0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, red);
    glLightfv(GL_LIGHT0, GL_POSITION, nowhere);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, red);
    glMatrixMode(GL_PROJECTION);
    glTranslatef(5, 5, 5);
    glLineWidth(7);
    glPointSize(7);
    glScissor(0, 0, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    GlesDestroy();
    if (glIsTexture(texture)) {
        std::fputs("gl_probe: the layer's texture outlived GlesDestroy\n", stderr);
        return false;
    }
    return GlesCreate();
}
#endif

bool Write(const char *path) {
    std::vector<unsigned char> pixels(size_t(WIDTH) * HEIGHT * 4);
    ReadBackFrame(WIDTH, HEIGHT, PIXELS_BGRA, pixels.data());
    FILE *file = std::fopen(path, "wb");
    if (!file) return false;
    bool written = WritePng(file, WIDTH, HEIGHT, 4, pixels.data(), ROWS_BOTTOM_FIRST | ROWS_BGR);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fputs("usage: gl_probe OUT.png\n", stderr);
        return 2;
    }
    if (!OpenBareContext(offscreenPlatform, WIDTH, HEIGHT, 24)) {
        std::fputs("gl_probe: no rendering context\n", stderr);
        return 1;
    }
#ifdef KELVORIN_GLES
    if (!Recreate()) return 1;
#endif
    GLUquadric *quadric = gluNewQuadric();
    GLuint texture = Checkerboard();
    Draw(texture, quadric);
    Afterimage(texture);
    bool written = Write(argv[1]);
    gluDeleteQuadric(quadric);
    CloseBareContext();
    return written ? 0 : 1;
}
