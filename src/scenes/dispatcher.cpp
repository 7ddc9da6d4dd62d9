#include "scenes/dispatcher.h"

#include <GL/gl.h>

#include "scenes/scenes.h"

namespace kelvorin {

int32_t numscene = 0;

bool DrawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // An id without a scene draws nothing: the frame stays cleared and the id stays.
    switch (numscene) {
    case 0:
        scene0();
        break;
    case 1:
        scene1();
        break;
    case 2:
        scene2();
        break;
    case 3:
        scene3();
        break;
    case 4:
        scene4();
        break;
    case 45:
        scene4_5();
        break;
    case 5:
        scene5();
        break;
    case 7:
        scene7();
        break;
    case 8:
        scene8();
        break;
    default:
        break;
    }
    return true;
}

}  // namespace kelvorin
