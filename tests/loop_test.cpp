// The installation loop on the offline renderer's 60 fps clock: the frame at T + 191000 ms, and
// at T + 2 x 191000, is the frame at T with the same state after it, in three scenes and with
// reduced flashing's afterglow, whatever the state before the restart; a hundred loops leave
// memory as it was. And the command line that asks for it.
#include <gtest/gtest.h>

#include <vector>

#include "memory.h"
#include "offscreen_harness.h"
#include "scenes/reduced_flashing.h"
#include "scenes/state.h"
#include "shell/afterglow.h"
#include "shell/command_line.h"
#include "shell/frame_loop.h"
#include "shell/loop.h"
#include "shell/offline_run.h"
#include "shell/render_state.h"
#include "shell/window.h"
#include "timeline/clock.h"
#include "timeline/length.h"
#include "timeline/random.h"

using namespace kelvorin;

namespace {

const long FPS = 60;
const uint64_t PASS = FirstFrameAt(DEMO_LENGTH_MS, FPS);  // frames in one pass of the demo

class LoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        reducedFlashing = loopDemo = true;
        ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
        KeepDemoStart();
    }
};

// Frame k of the synthetic clock, through the loop.
void Draw(uint64_t k) { DrawFrameAt(LoopClock(FrameClock(k, FPS))); }

struct Seen {
    std::vector<unsigned char> pixels;
    DemoState after;
};

// The banner fading in, its afterglow drawn from the pass's first frame on (the frame before it
// is the last of the pass before, at full size); the ball spiral; the tunnel's light sprites,
// from the random pools.
const uint32_t MOMENTS[] = {250, 17500, 66150};

// Frames `first` on of one pass up to the last moment, skimmed but for each moment and the
// frames of its afterglow before it.
std::vector<Seen> PlayPass(uint64_t first) {
    std::vector<Seen> seen;
    uint64_t k = 0;
    for (uint32_t ms : MOMENTS) {
        uint64_t moment = FirstFrameAt(ms, FPS);
        UseSkimView(harness::WIDTH, harness::HEIGHT);
        for (; k < FirstFullSizeFrame(moment, FPS); k++) Draw(first + k);
        ResizeView(harness::WIDTH, harness::HEIGHT);
        for (; k <= moment; k++) Draw(first + k);
        seen.push_back({harness::ReadFrame(), {}});
        SaveDemoState(seen.back().after);
    }
    return seen;
}

}  // namespace

TEST_F(LoopTest, EveryPassDrawsTheFramesOfTheFirst) {
    std::vector<Seen> first = PlayPass(0);
    for (uint64_t pass = 1; pass <= 2; pass++) {
        // The pass ends far from where a straight run would be, with the random sequence moved
        // on as by a display switch: the restart must put back everything all the same.
        FillRandomPools();
        Draw(pass * PASS - 1);
        std::vector<Seen> again = PlayPass(pass * PASS);
        for (size_t m = 0; m < first.size(); m++) {
            EXPECT_TRUE(again[m].pixels == first[m].pixels) << MOMENTS[m] << " ms, pass " << pass;
            EXPECT_TRUE(again[m].after == first[m].after) << MOMENTS[m] << " ms, pass " << pass;
        }
    }
}

// A few frames of each pass, its last ones included, with the afterglow at full size: the
// restart keeps no picture, texture or sample of the pass before.
TEST_F(LoopTest, MemoryStaysFlatOverAHundredLoops) {
    long heap = 0, resident = 0;
    for (uint64_t pass = 0; pass < 100; pass++) {
        if (pass == 10) heap = harness::HeapBytesInUse(), resident = harness::ResidentKilobytes();
        for (uint64_t k : {uint64_t(0), uint64_t(1), uint64_t(2), PASS - 2, PASS - 1})
            Draw(pass * PASS + k);
        glFinish();
    }
    EXPECT_EQ(kelvorin::time, FrameClock(PASS - 1, FPS));
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer holds freed memory back, so its size creeps
    EXPECT_LT(harness::HeapBytesInUse() - heap, 16 * 1024) << "heap bytes grown over 90 loops";
    EXPECT_LT(harness::ResidentKilobytes() - resident, 2048) << "kB grown over 90 loops";
#else
    (void)heap, (void)resident;
#endif
}

TEST(CommandLine, AnswersTheStartQuestionAheadAndLoops) {
    auto read = [](std::vector<const char *> args) {
        reducedFlashing = loopDemo = false, askStartQuestion = fullscreenMode = true;
        args.insert(args.begin(), "kelvorin");
        return ReadDemoArguments(int(args.size()), const_cast<char *const *>(args.data()));
    };
    EXPECT_TRUE(read({}));
    EXPECT_TRUE(askStartQuestion && fullscreenMode && !loopDemo && !reducedFlashing);
    EXPECT_TRUE(read({"--window", "--loop"}));
    EXPECT_TRUE(!askStartQuestion && !fullscreenMode && loopDemo && !reducedFlashing);
    EXPECT_TRUE(read({"--loop", "--reduced-flashing", "--fullscreen"}));
    EXPECT_TRUE(!askStartQuestion && fullscreenMode && loopDemo && reducedFlashing);
    for (auto bad : std::vector<std::vector<const char *>>{
             {"--fullscreen", "--window"}, {"--loop", "--bogus"}, {"-l"}, {"--loop=1"}})
        EXPECT_FALSE(read(bad)) << bad[0] << " " << bad.back();
}
