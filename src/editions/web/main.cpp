// The browser edition's entry points, called by the page (page/page.js). The page asks the start
// question itself, as an overlay that does not block, and calls kelvorin_play with the answer;
// the frame loop then runs one pass per animation frame. kelvorin_frame_at draws the one frame
// that the offline renderer would write at a given clock, for tests and stills.
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include "editions/web/platform_web.h"
#include "platform/platform.h"
#include "scenes/dispatcher.h"
#include "scenes/reduced_flashing.h"
#include "shell/afterglow.h"
#include "shell/frame_loop.h"
#include "shell/render_state.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

const long FRAME_AT_FPS = 60;
// Skimmed frames are drawn in slices of this much wall time, so that the page stays responsive
// while a late frame is reached.
const double SLICE_MS = 40.0;

EM_JS(void, PagePass, (uint32_t clock, int32_t scene), { Module['page'].pass(clock, scene); });
EM_JS(void, PageEnded, (int exitCode), { Module['page'].ended(exitCode); });
EM_JS(void, PageFrameReady, (uint32_t ms), { Module['page'].frameReady(ms); });

EM_BOOL Pass(double, void *) {
    if (DemoPass()) {
        PagePass(time, numscene);
        return EM_TRUE;
    }
    PageEnded(EndDemo());
    return EM_FALSE;
}

struct FrameAt {
    uint32_t ms;
    int width, height;
    uint64_t next, first, fullSize;
} frameAt;

// Frames before the chosen one only advance the scenes' state: they go into a tiny view, all
// but the last few, which give the chosen one its afterglow.
void DrawFramesTowards(void *) {
    double start = emscripten_get_now();
    while (frameAt.next <= frameAt.first && emscripten_get_now() - start < SLICE_MS) {
        if (frameAt.next == frameAt.fullSize && frameAt.fullSize > 0)
            ResizeView(frameAt.width, frameAt.height);
        DrawFrameAt(FrameClock(frameAt.next, FRAME_AT_FPS));
        frameAt.next++;
    }
    if (frameAt.next <= frameAt.first) {
        emscripten_set_timeout(DrawFramesTowards, 0, nullptr);
        return;
    }
    PageFrameReady(frameAt.ms);
}

}  // namespace

}  // namespace kelvorin

using namespace kelvorin;

// The viewer's answer to the start question: starts the demo, fullscreen or in the page, with
// reduced flashing or not. 0 when the window could not be opened (the page shows why).
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_play(int fullscreen, int reduced) {
    fullscreenMode = fullscreen != 0;
    reducedFlashing = reduced != 0;
    if (!StartDemo()) return 0;
    emscripten_request_animation_frame_loop(Pass, nullptr);
    return 1;
}

// Plays nothing: simulates the demo on the 60 fps synthetic clock, as kelvorin-capture does,
// up to the first frame at or after ms, and leaves that frame on a canvas of exactly
// width x height, with reduced flashing or not. The page hears of it through its frameReady
// hook.
extern "C" EMSCRIPTEN_KEEPALIVE int kelvorin_frame_at(uint32_t ms, int width, int height, int reduced) {
    UseFixedCanvas(true);
    reducedFlashing = reduced != 0;
    if (!OpenDemoWindow("KELVORIN", width, height, 16, false)) return 0;
    uint64_t first = FirstFrameAt(ms, FRAME_AT_FPS);
    frameAt = FrameAt{ms, width, height, 0, first, FirstFullSizeFrame(first, FRAME_AT_FPS)};
    if (frameAt.fullSize > 0) UseSkimView(width, height);
    emscripten_set_timeout(DrawFramesTowards, 0, nullptr);
    return 1;
}

int main() {
    platform = &webPlatform;
    return 0;
}
