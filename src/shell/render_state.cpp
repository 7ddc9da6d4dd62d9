#include "shell/render_state.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/textures.h"
#include "shell/afterglow.h"
#include "timeline/random.h"

namespace kelvorin {

void ResizeView(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The near plane is the single-precision 0.1 widened to double.
    gluPerspective(60.0, (double)width / (double)height, (double)0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void UseSkimView(int width, int height) {
    ResizeView(width / 16 > 0 ? width / 16 : 1, height / 16 > 0 ? height / 16 : 1);
}

bool InitRenderState() {
    ForgetAfterglowTexture();
    FillRandomPools();
    if (!LoadTextures()) return false;

    const GLfloat specular[] = {0.5f, 0.75f, 1.0f, 1.0f};
    const GLfloat shininess[] = {90.0f};
    // Given while the modelview is the identity, so the light's direction is fixed in eye space.
    const GLfloat lightPosition[] = {2.0f, -2.0f, 3.0f, 0.0f};
    const GLfloat lightColour[] = {0.5f, 0.75f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, shininess);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightColour);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightColour);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // additive, whenever a scene enables blending
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return true;
}

}  // namespace kelvorin
