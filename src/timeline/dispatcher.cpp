#include "timeline/dispatcher.h"

#include <GL/gl.h>

#include "scenes/scenes.h"

namespace kelvorin {

int32_t numscene = 0;

bool DrawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // An id without a scene draws nothing: the frame stays cleared and the id stays.
    switch (numscene) {
    default:
        break;
    }
    return true;
}

}  // namespace kelvorin
