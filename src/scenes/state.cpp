// Saving and restoring the demo's state: every global that a frame reads and writes, byte for
// byte, and the GL state that one frame leaves for the next. A value added to a scene must be
// added to the list below, or seeking will rebuild frames without it (the seek tests compare
// rebuilt frames with frames played straight through).
#include "scenes/state.h"

#include <GL/gl.h>

#include <cstring>

#include "scenes/dispatcher.h"
#include "timeline/clock.h"
#include "timeline/random.h"

namespace kelvorin {

namespace {

struct Part {
    void *at;
    size_t size;
};
#define PART(value) Part{&(value), sizeof(value)}

const Part parts[] = {
    PART(time), PART(previousTime), PART(tempo), PART(numscene),
    PART(t0s0), PART(a0s0),
    PART(a0s1), PART(r0s1),
    PART(v0s2), PART(l0s2), PART(a0s2),
    PART(r0s3), PART(r1s3), PART(a0s3), PART(b0s3), PART(b1s3), PART(a2s3),
    PART(s0s4), PART(a2s4), PART(n0s4), PART(a0s4), PART(r0s4), PART(r0s45), PART(a1s45), PART(a0s45),
    PART(t0s5), PART(r1s5), PART(a0s5), PART(SIZE1), PART(SIZE2), PART(f0s5),
    PART(m0s7), PART(m1s7), PART(m2s7), PART(r0s7), PART(s0s7), PART(a0s7), PART(n0s7), PART(nn0s7),
    PART(sizes7), PART(centre0s7), PART(centre1s7),
    PART(rota8), PART(slide8), PART(fade8), PART(hue8), PART(spin8),
    PART(randState), PART(tab0s5), PART(tab1s5), PART(tab0s6), PART(tab1s6),
    PART(tab0s7), PART(tab1s7), PART(tab2s7), PART(tab3s7),
};
#undef PART

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
    for (const Part &part : parts) size += part.size;
    return size;
}

}  // namespace

void SaveDemoState(DemoState &into) {
    into.clear();
    for (const Part &part : parts) {
        const unsigned char *bytes = static_cast<const unsigned char *>(part.at);
        into.insert(into.end(), bytes, bytes + part.size);
    }
    GLState gl;
    SaveGL(gl);
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&gl);
    into.insert(into.end(), bytes, bytes + sizeof gl);
}

bool RestoreDemoState(const DemoState &from) {
    if (from.size() != SavedSize()) return false;
    size_t at = 0;
    for (const Part &part : parts) {
        std::memcpy(part.at, &from[at], part.size);
        at += part.size;
    }
    GLState gl;
    std::memcpy(&gl, &from[at], sizeof gl);
    RestoreGL(gl);
    return true;
}

}  // namespace kelvorin
