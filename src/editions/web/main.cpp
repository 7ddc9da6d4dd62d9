// The browser edition's entry points, called by the page (page/demo.js). The page asks the start
// question itself, as an overlay that does not block, and calls kelvorin_play with the answer;
// the frame loop then runs one pass per animation frame, on the clock that the page gives: what
// the viewer hears of the music (page/sound.js), or the wall clock without music.
//
// The viewer may pause and seek. A seek rebuilds the frame that the offline renderer draws at
// that clock on its 60 fps synthetic clock, from snapshots of the demo's state that a silent
// run makes a little at a time while the demo plays (shell/seek.h); the GL layer draws nothing
// for the frames in between. A paused demo shows such a frame, and draws it again when the
// canvas changes size. kelvorin_frame_at draws one such frame on a canvas of its own, for
// tests and stills. While paused, kelvorin_step shows the next frame of the 60 fps clock or the
// one before. When the browser takes the WebGL context away, kelvorin_recover builds the window
// and its context again as F1 does on the desktop (textures reloaded, clock and scenes going
// on), and shows the paused frame again.
//
// The page makes the pictures while the demo starts, in the order the demo first needs them,
// and hands each over with kelvorin_picture as it comes (the texture table is filled late:
// assets/textures.h). A frame is drawn only once its scene's pictures are in the table: until
// then the passes wait, and a frame chosen by a seek, a pause, a step or kelvorin_frame_at is
// drawn when the last of them comes; the page hears what is missing (PageWaitPictures), makes
// those first and holds the clock meanwhile.
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>

#include "assets/textures.h"
#include "editions/web/platform_web.h"
#include "gles/gles.h"
#include "platform/platform.h"
#include "scenes/dispatcher.h"
#include "scenes/reduced_flashing.h"
#include "scenes/state.h"
#include "shell/afterglow.h"
#include "shell/frame_loop.h"
#include "shell/loop.h"
#include "shell/offline_run.h"
#include "shell/seek.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

// Wall time for the silent run in each animation frame while the demo plays (the page gives it
// the browser's idle time besides), and in each slice while a single frame is reached (the
// page stays responsive between slices).
const uint32_t PLAYING_SLICE_MS = 3;
const uint32_t FRAME_AT_SLICE_MS = 40;

bool paused = false;
bool windowOpen = false;   // a window and its texture table
bool showWaiting = false;  // the frame below waits for its pictures
uint64_t shownFrame = 0;   // the synthetic clock's frame on the canvas while paused
uint64_t shownFrom = 0;    // the first frame drawn for it: itself, or its afterglow's first
DemoState beforeShown;     // the state before shownFrom, to draw it again
uint64_t seekFrames = 0;   // frames drawn, and not shown, to rebuild the last frame shown

EM_JS(uint32_t, PageClock, (), { return Module['page'].clock(); });
EM_JS(void, PagePass, (uint32_t clock, int32_t scene, uint32_t snapshotsTo),
      { Module['page'].pass(clock, scene, snapshotsTo); });
EM_JS(void, PageShown, (uint32_t clock, int32_t scene), { Module['page'].shown(clock, scene); });
EM_JS(void, PageEnded, (int exitCode), { Module['page'].ended(exitCode); });
EM_JS(void, PageWaitPictures, (uint32_t missing), { Module['page'].waitPictures(missing); });

uint64_t MakeSomeSnapshots(uint64_t until, uint32_t budgetMs) {
    GlesSkipDrawing(true);
    uint64_t reached = MakeSnapshots(until, budgetMs);
    GlesSkipDrawing(false);
    return reached;
}

// Whether the next frame's scene has its pictures; the page hears what it waits for.
bool PicturesThere() {
    uint32_t missing = MissingTextures();
    if (missing) PageWaitPictures(missing);
    return !missing;
}

// Draws the shown frame from the state before it; with reduced flashing, the frames of its
// afterglow come first, from the state before them. A frame whose pictures are not all there
// is not drawn: the shown frame waits for them (showWaiting), and is drawn from the start once
// the last has come.
void DrawShown() {
    RestoreDemoState(beforeShown);
    RestartAfterglow();
    showWaiting = true;
    for (uint64_t k = shownFrom; k < shownFrame; k++) {
        if (!PicturesThere()) return;
        DrawFrameAt(FrameClock(k, SEEK_FPS));
    }
    if (!PicturesThere()) return;
    showWaiting = false;
    int32_t scene = numscene;
    DrawFrameAt(FrameClock(shownFrame, SEEK_FPS));
    PageShown(time, scene);
}

// Rebuilds a frame of the synthetic clock and draws it at the canvas's size.
void ShowFrame(uint64_t frame) {
    shownFrom = FirstFullSizeFrame(frame, SEEK_FPS);
    shownFrame = frame;
    GlesSkipDrawing(true);
    seekFrames = ReplayTo(shownFrom);
    GlesSkipDrawing(false);
    SaveDemoState(beforeShown);
    DrawShown();
}

// While paused, keys still reach the key state, and a new canvas size draws the frame again.
void PausedPass() {
    Event event;
    bool resized = false;
    while (platform->pollEvent(&event)) {
        resized = resized || event.kind == EV_SIZE;
        DemoWindowProc(event);
    }
    if (resized) DrawShown();
}

EM_BOOL Pass(double, void *) {
    uint64_t snapshotsTo = MakeSomeSnapshots(LastSeekFrame(), PLAYING_SLICE_MS);
    if (showWaiting) return EM_TRUE;
    if (paused) {
        PausedPass();
        return EM_TRUE;
    }
    if (!PicturesThere()) return EM_TRUE;
    if (DemoPassAt(PageClock())) {
        PagePass(time, numscene, FrameClock(snapshotsTo, SEEK_FPS));
        return EM_TRUE;
    }
    windowOpen = false;
    PageEnded(EndDemo());
    return EM_FALSE;
}

uint64_t frameAtTarget = 0;

void DrawFrameAtTarget(void *) {
    if (MakeSomeSnapshots(frameAtTarget, FRAME_AT_SLICE_MS) < frameAtTarget) {
        emscripten_set_timeout(DrawFrameAtTarget, 0, nullptr);
        return;
    }
    ShowFrame(frameAtTarget);
}

}  // namespace

}  // namespace kelvorin

using namespace kelvorin;

// The viewer's answer to the start question: starts the demo, fullscreen or in the page, with
// reduced flashing or not. 0 when the window could not be opened (the page shows why).
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_play(int fullscreen, int reduced) {
    fullscreenMode = fullscreen != 0;
    reducedFlashing = reduced != 0;
    paused = showWaiting = false;
    if (!StartDemo()) return 0;
    windowOpen = true;
    BeginSnapshots();
    emscripten_request_animation_frame_loop(Pass, nullptr);
    return 1;
}

// The page plays the demo over and over (?loop=1): when its clock reaches the demo's length it
// calls this and gives the next pass a clock from 0. The demo starts again exactly as it first
// started (shell/loop.h); the snapshots for seeking, made from that same start, still hold.
extern "C" EMSCRIPTEN_KEEPALIVE void kelvorin_restart() { RestartDemo(); }

// Shows the first frame of the synthetic clock at or after ms (at most the music's end) and
// returns its clock; the demo goes on from there, or stays on it while paused.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t kelvorin_seek(uint32_t ms) {
    ShowFrame(std::min(FirstFrameAt(ms, SEEK_FPS), LastSeekFrame()));
    return FrameClock(shownFrame, SEEK_FPS);
}

// Lets the silent run make snapshots for about budgetMs (the page gives it the browser's idle
// time); returns how far (ms) they reach.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t kelvorin_make_snapshots(uint32_t budgetMs) {
    return FrameClock(MakeSomeSnapshots(LastSeekFrame(), budgetMs), SEEK_FPS);
}

// Frames drawn, and not shown, to rebuild the frame that the last seek or pause showed.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t kelvorin_seek_frames() { return (uint32_t)seekFrames; }

// Pausing stops the passes and shows the synthetic clock's frame at the demo's clock; returns
// that frame's clock. Resuming goes on from the clock that the page gives next. A frame that
// waits for its pictures stays the one to show, and to go on from.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t kelvorin_pause(int pause) {
    paused = pause != 0;
    if (showWaiting) return FrameClock(shownFrame, SEEK_FPS);
    return paused ? kelvorin_seek(kelvorin::time) : kelvorin::time;
}

// While paused: the frame `delta` frames of the 60 fps clock after the one shown (before it when
// negative), within the seek bar; returns its clock.
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t kelvorin_step(int delta) {
    int64_t frame = (int64_t)shownFrame + delta;
    ShowFrame((uint64_t)std::clamp<int64_t>(frame, 0, (int64_t)LastSeekFrame()));
    return FrameClock(shownFrame, SEEK_FPS);
}

// The context was lost: a new window with a new context, as F1 opens one, in the same mode; the
// paused frame drawn again. 0 when the window could not be opened (the page has shown why).
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_recover() {
    CloseDemoWindow();
    windowOpen = OpenDemoWindow("KELVORIN", 800, 600, 16, fullscreenMode);
    if (!windowOpen) return 0;
    if (paused || showWaiting) DrawShown();
    return 1;
}

// The page has written picture `index` (the texture table's) into the file system: it goes
// into the open window's table (a window opened later loads it with the rest), and a frame
// that waited for it is drawn if it was the last. 0 when it cannot be decoded (the loader has
// said why).
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_picture(int index) {
    if (!windowOpen) return 1;
    if (!LoadLateTexture(index)) return 0;
    if (showWaiting) DrawShown();
    return 1;
}

// Plays nothing: the frame that kelvorin-capture writes for ms (the first of its 60 fps
// synthetic clock at or after ms), with reduced flashing or not, left on a canvas of exactly
// width x height. The page hears of it through its shown hook.
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_frame_at(uint32_t ms, int width, int height,
                                                      int reduced) {
    UseFixedCanvas(true);
    reducedFlashing = reduced != 0;
    windowOpen = OpenOfflineWindow(webPlatform, width, height);
    if (!windowOpen) return 0;
    BeginSnapshots();
    frameAtTarget = FirstFrameAt(ms, SEEK_FPS);
    emscripten_set_timeout(DrawFrameAtTarget, 0, nullptr);
    return 1;
}

int main() {
    platform = &webPlatform;
    lateTextures = true;
    return 0;
}
