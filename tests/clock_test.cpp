// The demo clock over a clock source that wraps past 2^32 ms: the differences are unsigned, so
// time keeps counting from 0 and tempo stays the real step through the wrap.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "injected_platform.h"
#include "platform/keys.h"
#include "scenes/dispatcher.h"
#include "shell/frame_loop.h"
#include "timeline/clock.h"

using namespace kelvorin;

TEST(DemoClock, SourceWrappingPast32BitsKeepsTimeTempoAndTimeline) {
    injected::Install();
    // 50 ms per pass; the source wraps in the 61st pass.
    static uint32_t source = UINT32_MAX - 3000 + 1 - 50;
    injected::ticks = [] { return source += 50; };
    struct Pass {
        uint32_t time;
        double tempo;
        int32_t scene;
    };
    static std::vector<Pass> passes;
    injected::onSwap = [] { passes.push_back({kelvorin::time, tempo, numscene}); };
    injected::events = [](int poll, Event *e) {
        if (poll == 200) *e = injected::Key(EV_KEYDOWN, VK_ESCAPE);
        return poll == 200;
    };

    EXPECT_EQ(RunDemo(), 0);
    ASSERT_EQ(passes.size(), 199u);
    EXPECT_LT(source, 10000u) << "the source did not wrap";
    for (size_t k = 0; k < passes.size(); k++) {
        EXPECT_EQ(passes[k].time, 50 * k) << "pass " << k;
        EXPECT_EQ(passes[k].tempo, k == 0 ? 0.0 : 50.0) << "pass " << k;
        // Scene 0 hands over to scene 1 in its first frame after 7000 ms.
        EXPECT_EQ(passes[k].scene, passes[k].time > 7000 ? 1 : 0) << "pass " << k;
    }
}
