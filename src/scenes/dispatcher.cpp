#include "scenes/dispatcher.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/textures.h"
#include "scenes/scenes.h"

namespace kelvorin {

int32_t numscene = 0;

const Scene scenes[] = {
    {0, scene0, "name banner", true, TextureBits({TEX_KELVORIN})},
    {1, scene1, "spinning logo", true, TextureBits({TEX_LOGOKELV})},
    {2, scene2, "ball spiral", true, TextureBits({TEX_QUORVANEL})},
    {3, scene3, "cube fan", true, TextureBits({TEX_MAKER, TEX_TITLE})},
    {4, scene4, "title and countdown", true,
     TextureBits({TEX_TITLE, TEX_CH5, TEX_CH4, TEX_CH3, TEX_CH2, TEX_CH1, TEX_CH0})},
    {45, scene4_5, "flash", false, 0},
    {5, scene5, "cloud tunnel", true, TextureBits({TEX_NUAGE, TEX_LIGHT1})},
    {7, scene7, "finale", true,
     TextureBits(
         {TEX_ESPACE, TEX_SOLEIL, TEX_ANO1, TEX_ANO2, TEX_CARRELAGE, TEX_PIERRE, TEX_PETALE})},
    {8, scene8, "greetings", true, TextureBits({TEX_CONTOUR}), AdvanceScene8},
};
const size_t NUM_SCENES = sizeof scenes / sizeof scenes[0];

const Scene *FindScene(int32_t id) {
    for (const Scene &scene : scenes)
        if (scene.id == id) return &scene;
    return nullptr;
}

uint32_t MissingTextures() {
    const Scene *scene = FindScene(numscene);
    return scene ? scene->textures & ~texturesLoaded : 0;
}

bool DrawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // An id without a scene draws nothing: the frame stays cleared and the id stays.
    if (const Scene *scene = FindScene(numscene)) scene->draw();
    return true;
}

void FlatView(bool textured) {
    glEnable(GL_BLEND);
    if (textured) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
}

}  // namespace kelvorin
