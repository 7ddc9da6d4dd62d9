#include "scenes/dispatcher.h"

#include <GL/gl.h>

#include "scenes/scenes.h"

namespace kelvorin {

int32_t numscene = 0;

const Scene scenes[] = {
    {0, scene0, "name banner", true},
    {1, scene1, "spinning logo", true},
    {2, scene2, "ball spiral", true},
    {3, scene3, "cube fan", true},
    {4, scene4, "title and countdown", true},
    {45, scene4_5, "flash", false},
    {5, scene5, "cloud tunnel", true},
    {7, scene7, "finale", true},
    {8, scene8, "greetings", true, AdvanceScene8},
};
const size_t NUM_SCENES = sizeof scenes / sizeof scenes[0];

const Scene *FindScene(int32_t id) {
    for (const Scene &scene : scenes)
        if (scene.id == id) return &scene;
    return nullptr;
}

bool DrawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // An id without a scene draws nothing: the frame stays cleared and the id stays.
    if (const Scene *scene = FindScene(numscene)) scene->draw();
    return true;
}

}  // namespace kelvorin
