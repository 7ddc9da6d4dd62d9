// Scene 0, the name banner, under a synthetic clock: its drift and fades, and where it puts
// light on screen.
#include <gtest/gtest.h>

#include "offscreen_harness.h"
#include "scenes/state.h"

using namespace harness;
using kelvorin::numscene;
using kelvorin::tempo;

namespace {

using Scene0Test = harness::OffscreenTest;

// The banner is opaque where it lies and nothing else is drawn: all light lies inside it.
void ExpectBannerAt(uint32_t t) {
    SCOPED_TRACE(t);
    PlayTo(t, 20);
    ASSERT_EQ(numscene, 0);
    float x = kelvorin::t0s0 + float(kelvorin::tempo / 1200);  // where this frame drew it
    auto frame = ReadFrame();
    Rect inside = WorldRect(x - 5, -2, x + 5, 2, -0.01, 2);
    Rect around = WorldRect(x - 5, -2, x + 5, 2, -0.01, -2);
    int lit = CountLit(frame, inside);
    EXPECT_GT(lit, harness::Area(inside) / 100) << "the banner shows";
    EXPECT_EQ(CountLit(frame, WHOLE), CountLit(frame, around)) << "light outside the banner";
}

TEST_F(Scene0Test, BannerDriftsOnlyInSceneZeroAndFadesInAfresh) {
    using kelvorin::a0s0;
    using kelvorin::t0s0;
    double expectedX = 8;
    for (uint32_t t = 0; t <= 26600; t += 20) {
        bool inScene0 = numscene == 0;
        Frame(t);
        if (inScene0) expectedX -= tempo / 1200;
        ASSERT_NEAR(t0s0, expectedX, 1e-3) << t;
        if (t == 7000) {
            EXPECT_EQ(numscene, 0) << "7000 is not inside the window";
            EXPECT_GE(a0s0, 1.0f);
        }
        if (t == 7020 || t == 16020) {
            EXPECT_EQ(numscene, t == 7020 ? 1 : 2);
            EXPECT_EQ(a0s0, 0.0f) << "reset at the hand-over";
        }
        if (t == 11040 || t == 19040) {
            EXPECT_EQ(numscene, 0);
            EXPECT_FLOAT_EQ(a0s0, 20.0f / 500) << "climbing again from 0";
        }
        if (t == 16000) {
            EXPECT_EQ(numscene, 0);
        }
        if (t == 26500) {
            EXPECT_EQ(numscene, 0);
        }
    }
    EXPECT_EQ(numscene, 3);
    // About 19.5 s of drift at 1/1200 unit per ms.
    EXPECT_NEAR(t0s0, -8.25, 0.05);
}

TEST_F(Scene0Test, BannerDriftsInFromTheRight) {
    ExpectBannerAt(1000);  // left edge at about x = 2.2: mostly off screen to the right
    ExpectBannerAt(5000);  // left edge at about x = -1.2
}

}  // namespace
