#include "capture/frames.h"

#include <GL/gl.h>

#include <algorithm>

#include "platform/platform.h"
#include "shell/afterglow.h"
#include "shell/render_state.h"
#include "shell/window.h"

// OpenGL 3.0's, which the GL 1.1 headers lack; the GL layer passes the query on to GLES.
#ifndef GL_MAX_RENDERBUFFER_SIZE
#define GL_MAX_RENDERBUFFER_SIZE 0x84E8
#endif

namespace kelvorin {

namespace {

struct Limits {
    GLint viewport[2] = {0, 0}, renderbuffer = 0, texture = 0;
};

// A small pbuffer and a context of its own, through the same backend steps as the demo's
// window but without its render state: the demo's random pools and textures are made once,
// by the window that draws.
bool ReadLimits(Limits *limits) {
    platform = &offscreenPlatform;
    PixelFormatRequest request{16, 16, 0, 0, 0, 0, true};
    bool window = false, context = false;
    bool ok = platform->registerClass() &&
              (window = platform->createWindow("KELVORIN", 16, 16, false, request)) &&
              platform->getDeviceContext() && platform->choosePixelFormat(request) &&
              platform->setPixelFormat() && (context = platform->createContext()) &&
              platform->makeCurrent();
    if (ok) {
        glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limits->viewport);
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limits->renderbuffer);
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limits->texture);
    }
    if (context) {
        platform->releaseCurrent();
        platform->deleteContext();
    }
    if (window) {
        platform->releaseDeviceContext();
        platform->destroyWindow();
    }
    return ok;
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
    platform = &offscreenPlatform;
    if (!OpenDemoWindow("KELVORIN", m.DrawnWidth(), m.DrawnHeight(), 16, false)) return false;
    // The demo draws its wire shapes and points one pixel wide and never sets a width: drawn
    // at scale times the size they keep their weight only as many pixels wide.
    if (m.scale > 1) {
        glLineWidth(GLfloat(m.scale));
        glPointSize(GLfloat(m.scale));
    }
    return true;
}

void FrameViews::Need(uint64_t first, uint64_t last) {
    from.push_back(FirstFullSizeFrame(first, making.DrawnFps()));
    to.push_back(last);
}

void FrameViews::Before(uint64_t k) {
    bool wanted = false;
    for (size_t i = 0; i < from.size(); i++) wanted = wanted || (from[i] <= k && k <= to[i]);
    if (wanted == full) return;
    full = wanted;
    if (full) {
        glDisable(GL_SCISSOR_TEST);
        ResizeView(making.DrawnWidth(), making.DrawnHeight());
        return;
    }
    // The scissor keeps each skimmed frame's clear to the skim view: a frame of 5760x4320
    // would otherwise cost a clear of 100 MB for a picture never shown. Every frame at full
    // size clears the whole frame again before it draws.
    UseSkimView(making.DrawnWidth(), making.DrawnHeight());
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    glScissor(view[0], view[1], view[2], view[3]);
    glEnable(GL_SCISSOR_TEST);
}

}  // namespace kelvorin
