// Minimise and restore on the offscreen backend with a scripted clock: while minimised the loop
// draws nothing but still swaps and reads the clock; after the restore the timeline catches up
// one scene per frame.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "injected_platform.h"
#include "platform/keys.h"
#include "scenes/dispatcher.h"
#include "shell/frame_loop.h"
#include "shell/window.h"
#include "timeline/clock.h"

using namespace kelvorin;

namespace {

// The pass numbers (polls) of the two events and the clock: 100 ms per pass from 0.
const int MINIMISE_POLL = 50, RESTORE_POLL = 650, ESCAPE_POLL = 660;

struct Pass {
    uint32_t time;
    int32_t scene;
    bool active;
    bool marked;  // the marker painted at the minimise was still the whole frame
};
std::vector<Pass> passes;
bool markerPainted = false;

// A frame that is all magenta: what the minimise left in the buffer, if nothing drew since.
bool StillMarked() {
    std::vector<unsigned char> frame(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
    for (size_t i = 0; i < frame.size(); i += 3)
        if (frame[i] != 255 || frame[i + 1] != 0 || frame[i + 2] != 255) return false;
    return true;
}

void OnSwap() {
    bool marked = !windowActive && markerPainted && StillMarked();
    passes.push_back({kelvorin::time, numscene, windowActive, marked});
    if (!windowActive && !markerPainted) {
        // Paint the buffer once; any later DrawFrame clears it.
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0.5f);
        markerPainted = true;
    }
}

}  // namespace

TEST(Minimise, NothingDrawnWhileMinimisedThenOneScenePerFrame) {
    injected::Install();
    static uint32_t clock = 0;
    injected::ticks = [] { return (clock += 100) - 100; };
    injected::onSwap = OnSwap;
    injected::events = [](int poll, Event *e) {
        if (poll == MINIMISE_POLL || poll == RESTORE_POLL) {
            *e = Event{EV_ACTIVATE, 0, poll == MINIMISE_POLL, 0, 0, 0};
            return true;
        }
        if (poll == ESCAPE_POLL) *e = injected::Key(EV_KEYDOWN, VK_ESCAPE);
        return poll == ESCAPE_POLL;
    };

    EXPECT_EQ(RunDemo(), 0);
    ASSERT_EQ(passes.size(), size_t(ESCAPE_POLL - 1));
    // Every pass swapped and read the clock, minimised or not.
    for (size_t k = 0; k < passes.size(); k++) EXPECT_EQ(passes[k].time, 100 * k) << k;

    // Minimised from the pass of poll 50 (4900 ms) to that of poll 650 (64900 ms): no scene
    // drew, so none of the thresholds passed in between (7000, 11000, ..., 57500) was tested.
    for (int k = MINIMISE_POLL - 1; k < RESTORE_POLL - 1; k++) {
        EXPECT_FALSE(passes[k].active) << k;
        EXPECT_EQ(passes[k].scene, 0) << k;
        if (k > MINIMISE_POLL - 1) {
            EXPECT_TRUE(passes[k].marked) << "pass " << k << " drew";
        }
    }
    EXPECT_EQ(passes[MINIMISE_POLL - 2].scene, 0);

    // Restored at 64900 ms: scene 0 hands over to 3, 3 to 4, 4 to 45, 45 to 5, one per frame;
    // scenes 1 and 2, whose windows passed unseen, are skipped.
    const int32_t expected[] = {3, 4, 45, 5, 5};
    for (int i = 0; i < 5; i++) {
        const Pass &p = passes[RESTORE_POLL - 1 + i];
        EXPECT_TRUE(p.active);
        EXPECT_EQ(p.scene, expected[i]) << "frame " << i << " after the restore";
    }
}
