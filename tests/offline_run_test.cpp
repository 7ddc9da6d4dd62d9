// The offline run's skim rules: a frame read back after the frames before it were skimmed is
// the frame that a run drawing every frame at full size reads back, to the byte without reduced
// flashing or with the whole afterglow, and within three levels of 8 bits with the lead-in: what
// the lead-in leaves of the frames before it, under one level, and the rounding of each blend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "scenes/reduced_flashing.h"
#include "scenes/state.h"
#include "shell/afterglow.h"
#include "shell/offline_run.h"
#include "shell/window.h"
#include "timeline/clock.h"
#include "timeline/length.h"

using namespace kelvorin;

namespace {

const int WIDTH = 160, HEIGHT = 120;
const long FPS = 60;

// Frame `frame` read back after a run from the start, every frame before it at full size
// (`whole`) or as the run skims them. Each run has a window of its own, so that nothing one
// leaves in the context reaches the next, and the demo's state as the first window found it.
std::vector<unsigned char> FrameAfterRun(uint64_t frame, bool whole, bool wholeAfterglow) {
    static DemoState start;
    std::vector<unsigned char> pixels(size_t(WIDTH) * HEIGHT * 3);
    EXPECT_TRUE(OpenOfflineWindow(offscreenPlatform, WIDTH, HEIGHT)) << "needs Data/";
    if (start.empty()) SaveDemoState(start);
    EXPECT_TRUE(RestoreDemoState(start));
    OfflineRun run(WIDTH, HEIGHT, FPS, wholeAfterglow);
    run.Need(whole ? 0 : frame, frame);
    run.SkimTo(frame);
    EXPECT_EQ(run.DrawNext(), FrameClock(frame, FPS));
    run.ReadBack(PIXELS_RGB, pixels.data());
    CloseDemoWindow();
    return pixels;
}

int LargestDifference(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b) {
    int most = 0;
    for (size_t i = 0; i < a.size(); i++) most = std::max(most, std::abs(a[i] - b[i]));
    return most;
}

// The cube fan blinking, the tunnel's sprites.
const uint32_t MOMENTS[] = {27050, 66150};

TEST(OfflineRunTest, SkimmedFramesAreTheFramesOfAWholeRun) {
    for (bool reduced : {false, true}) {
        reducedFlashing = reduced;
        for (uint32_t ms : MOMENTS) {
            SCOPED_TRACE(testing::Message() << ms << " ms, reduced flashing " << reduced);
            uint64_t frame = FirstFrameAt(ms, FPS);
            std::vector<unsigned char> whole = FrameAfterRun(frame, true, false);
            std::vector<unsigned char> skimmed = FrameAfterRun(frame, false, false);
            if (!reduced) {
                EXPECT_TRUE(skimmed == whole) << "skimmed";
                continue;
            }
            EXPECT_LE(LargestDifference(skimmed, whole), 3) << "with the lead-in";
            EXPECT_TRUE(FrameAfterRun(frame, false, true) == whole) << "with the whole afterglow";
        }
    }
}

// Scene 8, past its first minutes, steps its state on without drawing the frames nobody sees;
// the frame after them is the whole run's, to the byte without reduced flashing.
TEST(OfflineRunTest, TheClosingSceneSkimsWithoutDrawingToTheSameFrame) {
    reducedFlashing = false;
    uint64_t frame = FirstFrameAt(DEMO_LENGTH_MS + 3 * 60000 + 1234, FPS);
    EXPECT_TRUE(FrameAfterRun(frame, false, false) == FrameAfterRun(frame, true, false));
}

}  // namespace
