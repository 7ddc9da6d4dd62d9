#include "capture/frames.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/platform.h"
#include "shell/offline_run.h"

// OpenGL 3.0's, which the GL 1.1 headers lack; the GL layer passes the query on to GLES.
#ifndef GL_MAX_RENDERBUFFER_SIZE
#define GL_MAX_RENDERBUFFER_SIZE 0x84E8
#endif

namespace kelvorin {

namespace {

struct Limits {
    GLint viewport[2] = {0, 0}, renderbuffer = 0, texture = 0;
};

// A small context of its own, without the demo's render state: the demo's random pools and
// textures are made once, by the window that draws.
bool ReadLimits(Limits *limits) {
    if (!OpenBareContext(offscreenPlatform, 16, 16, 16)) return false;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limits->viewport);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limits->renderbuffer);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limits->texture);
    CloseBareContext();
    return true;
}

int PowerOfTwo(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

std::string Size(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

// Mesa's EGL reports 4096 as the largest pbuffer, yet makes and draws larger ones up to its
// renderbuffer limit (16384 on llvmpipe), so the GL limits decide. Past them a pbuffer is still
// made, but its viewport is cut to the limit and the rest of the frame is never drawn.
bool CheckDrawingLimits(const FrameMaking &m, bool reducedFlashing, std::string *error) {
    Limits limits;
    if (!ReadLimits(&limits))
        return *error = "cannot open an OpenGL context to read its limits", false;
    int w = m.DrawnWidth(), h = m.DrawnHeight();
    int largestW = std::min(limits.viewport[0], limits.renderbuffer);
    int largestH = std::min(limits.viewport[1], limits.renderbuffer);
    std::string drawn = "frames drawn at " + Size(w, h);
    if (m.scale > 1)
        drawn +=
            " (" + Size(m.width, m.height) + " supersampled " + std::to_string(m.scale) + " times)";
    if (w > largestW || h > largestH) {
        *error = drawn + " exceed this OpenGL's largest, " + Size(largestW, largestH) +
                 "; frames are not drawn in tiles: choose a smaller --size or --supersample";
        return false;
    }
    // The afterglow keeps the previous frame in a texture with sides of powers of two; without
    // it, reduced flashing would silently show every frame as drawn.
    if (reducedFlashing && (PowerOfTwo(w) > limits.texture || PowerOfTwo(h) > limits.texture)) {
        *error = "--reduced-flashing: " + drawn + " need a texture of " +
                 Size(PowerOfTwo(w), PowerOfTwo(h)) +
                 " for the afterglow, and this OpenGL's largest is " +
                 Size(limits.texture, limits.texture);
        return false;
    }
    return true;
}

bool OpenFrameWindow(const FrameMaking &m) {
    if (!OpenOfflineWindow(offscreenPlatform, m.DrawnWidth(), m.DrawnHeight())) return false;
    // The demo draws its wire shapes and points one pixel wide and never sets a width: drawn
    // at scale times the size they keep their weight only as many pixels wide.
    if (m.scale > 1) {
        glLineWidth(GLfloat(m.scale));
        glPointSize(GLfloat(m.scale));
    }
    return true;
}

}  // namespace kelvorin
