#include "shell/offline_run.h"

#include <GL/gl.h>

#include "scenes/dispatcher.h"
#include "scenes/reduced_flashing.h"
#include "shell/afterglow.h"
#include "shell/loop.h"
#include "shell/render_state.h"
#include "shell/window.h"
#include "timeline/clock.h"

// OpenGL 1.2's, which Windows' GL 1.1 headers lack.
#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

namespace kelvorin {

namespace {

// What OpenBareContext made, so that CloseBareContext releases exactly that.
bool bareWindow = false, bareContext = false;

}  // namespace

bool OpenOfflineWindow(const Platform &backend, int width, int height) {
    platform = &backend;
    return OpenDemoWindow("KELVORIN", width, height, 16, false);
}

bool OpenBareContext(const Platform &backend, int width, int height, int colorBits) {
    platform = &backend;
    PixelFormatRequest request{colorBits, 16, 0, 0, 0, 0, true};
    bool ok = platform->registerClass() &&
              (bareWindow = platform->createWindow("KELVORIN", width, height, false, request)) &&
              platform->getDeviceContext() && platform->choosePixelFormat(request) &&
              platform->setPixelFormat() && (bareContext = platform->createContext()) &&
              platform->makeCurrent();
    if (!ok) CloseBareContext();
    return ok;
}

void CloseBareContext() {
    if (bareContext) {
        platform->releaseCurrent();
        platform->deleteContext();
    }
    if (bareWindow) {
        platform->releaseDeviceContext();
        platform->destroyWindow();
    }
    bareWindow = bareContext = false;
}

void DrawFrameAt(uint32_t clock) {
    StepClock(clock);
    DrawFrame();
    DrawAfterglow();
    platform->swapBuffers();
}

void DrawUnseenFrameAt(uint32_t clock) {
    StepClock(clock);
    DrawFrame();
}

uint64_t FirstFullSizeFrame(uint64_t first, long fps) {
    if (!reducedFlashing) return first;
    uint64_t frames = (uint64_t(AFTERGLOW_FRAMES) * uint64_t(fps) + 59) / 60;
    return first > frames ? first - frames : 0;
}

void ReadBackFrame(int width, int height, PixelLayout layout, unsigned char *pixels) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, layout == PIXELS_RGB ? GL_RGB : GL_BGRA, GL_UNSIGNED_BYTE,
                 pixels);
}

void OfflineRun::Need(uint64_t first, uint64_t last) {
    from.push_back(wholeAfterglow && reducedFlashing ? 0 : FirstFullSizeFrame(first, fps));
    to.push_back(last);
}

void OfflineRun::SkimTo(uint64_t frame) {
    while (next < frame) DrawNext();
}

bool OfflineRun::Wanted(uint64_t frame) const {
    for (size_t i = 0; i < from.size(); i++)
        if (from[i] <= frame && frame <= to[i]) return true;
    return false;
}

uint32_t OfflineRun::DrawNext() {
    bool wanted = Wanted(next);
    // A scene that steps its state on without drawing (the closing scene, which lasts for as
    // long as the demo runs) passes its unseen frames that way: a day is 5 million frames. The
    // frame before each drawn span is drawn, so that the GL state it leaves is a frame's of the
    // scene, as in the whole run.
    const Scene *scene = FindScene(numscene);
    if (!wanted && !Wanted(next + 1) && scene && scene->advance) {
        uint32_t clock = LoopClock(FrameClock(next++, fps));
        StepClock(clock);
        scene->advance();
        return clock;
    }
    if (wanted != full) {
        full = wanted;
        if (full) {
            glDisable(GL_SCISSOR_TEST);
            ResizeView(width, height);
        } else {
            // The scissor keeps each skimmed frame's clear to the skim view: a frame of
            // 5760x4320 would otherwise cost a clear of 100 MB for a picture never shown. Every
            // frame at full size clears the whole frame again before it draws.
            UseSkimView(width, height);
            GLint view[4];
            glGetIntegerv(GL_VIEWPORT, view);
            glScissor(view[0], view[1], view[2], view[3]);
            glEnable(GL_SCISSOR_TEST);
        }
    }
    uint32_t clock = LoopClock(FrameClock(next++, fps));
    DrawFrameAt(clock);
    return clock;
}

void OfflineRun::ReadBack(PixelLayout layout, unsigned char *pixels) const {
    ReadBackFrame(width, height, layout, pixels);
}

}  // namespace kelvorin
