// The scenes' values, defined from their one list, and the demo's state saved and restored for
// seeking: the timeline's own state and every scene value, byte for byte, and the GL state that
// one frame leaves for the next.
#include "scenes/state.h"

#include <GL/gl.h>

#include <cstring>

#include "scenes/dispatcher.h"
#include "timeline/clock.h"
#include "timeline/random.h"

namespace kelvorin {

#define DEFINE_VALUE(scene, type, name, start) type name = start;
KELVORIN_SCENE_VALUES(DEFINE_VALUE)
#undef DEFINE_VALUE

#define LIST_VALUE(scene, type, name, start) {#name, &name, sizeof(name), scene},
const SceneValue sceneValues[] = {KELVORIN_SCENE_VALUES(LIST_VALUE)};
#undef LIST_VALUE
const size_t NUM_SCENE_VALUES = sizeof sceneValues / sizeof sceneValues[0];

namespace {

struct Part {
    void *at;
    size_t size;
};
#define PART(value) \
    Part { &(value), sizeof(value) }

// Besides the scene values: the clock, the scene id, the generator and the pools it fills.
const Part timelineParts[] = {
    PART(time),   PART(previousTime), PART(tempo),  PART(numscene), PART(randState),
    PART(tab0s5), PART(tab1s5),       PART(tab0s6), PART(tab1s6),   PART(tab0s7),
    PART(tab1s7), PART(tab2s7),       PART(tab3s7),
};
#undef PART

// Calls visit(at, size) for every saved global, in saving order.
template <typename Visit>
void EachPart(Visit visit) {
    for (const Part &part : timelineParts) visit(part.at, part.size);
    for (const SceneValue &value : sceneValues) visit(value.at, value.size);
}

// What a frame leaves in the context: the current vertex attributes, the bound texture, and
// light 0 as the closing scene and the ball spiral change it.
struct GLState {
    GLfloat colour[4], normal[4], texCoord[4];
    GLint texture;
    GLfloat diffuse[4], specular[4], position[4];
};

void SaveGL(GLState &gl) {
    std::memset(&gl, 0, sizeof gl);
    glGetFloatv(GL_CURRENT_COLOR, gl.colour);
    glGetFloatv(GL_CURRENT_NORMAL, gl.normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, gl.texCoord);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &gl.texture);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, gl.diffuse);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, gl.specular);
    glGetLightfv(GL_LIGHT0, GL_POSITION, gl.position);
}

// The light's position was saved in eye coordinates: given under the identity it stays there.
void RestoreGL(const GLState &gl) {
    glColor4f(gl.colour[0], gl.colour[1], gl.colour[2], gl.colour[3]);
    glNormal3f(gl.normal[0], gl.normal[1], gl.normal[2]);
    glTexCoord2f(gl.texCoord[0], gl.texCoord[1]);
    glBindTexture(GL_TEXTURE_2D, GLuint(gl.texture));
    glLightfv(GL_LIGHT0, GL_DIFFUSE, gl.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, gl.specular);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, gl.position);
}

size_t SavedSize() {
    size_t size = sizeof(GLState);
    EachPart([&](void *, size_t bytes) { size += bytes; });
    return size;
}

}  // namespace

void SaveDemoState(DemoState &into) {
    into.clear();
    EachPart([&](void *at, size_t size) {
        const unsigned char *bytes = static_cast<const unsigned char *>(at);
        into.insert(into.end(), bytes, bytes + size);
    });
    GLState gl;
    SaveGL(gl);
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&gl);
    into.insert(into.end(), bytes, bytes + sizeof gl);
}

bool RestoreDemoState(const DemoState &from) {
    if (from.size() != SavedSize()) return false;
    size_t at = 0;
    EachPart([&](void *to, size_t size) {
        std::memcpy(to, &from[at], size);
        at += size;
    });
    GLState gl;
    std::memcpy(&gl, &from[at], sizeof gl);
    RestoreGL(gl);
    return true;
}

}  // namespace kelvorin
