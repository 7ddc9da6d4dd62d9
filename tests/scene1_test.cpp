// Scene 1, the spinning logo, under a synthetic clock: its spin and held alpha, and where it
// puts light on screen.
#include <gtest/gtest.h>

#include "offscreen_harness.h"
#include "scenes/state.h"

using namespace harness;
using kelvorin::numscene;
using kelvorin::tempo;

namespace {

using Scene1Test = harness::OffscreenTest;

TEST_F(Scene1Test, LogoHoldsItsAlphaBetweenEightAndTenSeconds) {
    using kelvorin::a0s1;
    using kelvorin::r0s1;
    PlayTo(7020, 20);
    ASSERT_EQ(numscene, 1);
    double angle = 0;
    float held = 0;
    for (uint32_t t = 7040; t <= 11000; t += 20) {
        float alpha = a0s1;
        Frame(t);
        if (t < 11000) angle += tempo / 3;
        EXPECT_NEAR(r0s1, angle, 1e-2) << t;
        if (t == 8000) held = a0s1;
        if (t >= 8000 && t <= 10000) {
            EXPECT_EQ(a0s1, held) << t;
        } else if (t < 8000) {
            EXPECT_GT(a0s1, alpha) << t;
        } else if (t < 11000) {
            EXPECT_LT(a0s1, alpha) << t;
        }
    }
    // The climb lasts from the first frame after 7000 (7040) to the last before 8000.
    EXPECT_NEAR(held, (7980 - 7020) / 1000.0, 1e-4);
    // At exactly 11000 nothing is drawn and the scene stays; the next frame hands back.
    EXPECT_EQ(numscene, 1);
    EXPECT_EQ(harness::CountLit(harness::ReadFrame(), {0, 0, harness::WIDTH, harness::HEIGHT}, 0),
              0);
    EXPECT_NEAR(a0s1, 0, 0.021);
    Frame(11020);
    EXPECT_EQ(numscene, 0);
}

TEST_F(Scene1Test, LogoSpinsAtTheCentre) {
    // From the first scene-1 frame at 7040 the logo turns a third of a degree per ms, so at
    // 9180 it has made two full turns and faces the viewer.
    PlayTo(9180, 20);
    ASSERT_EQ(numscene, 1);
    EXPECT_NEAR(kelvorin::r0s1, 720, 0.05);
    auto frame = ReadFrame();
    Rect logo = WorldRect(-1, -1, 1, 1, 0, 2);
    EXPECT_GT(CountLit(frame, logo), harness::Area(logo) / 100);
    EXPECT_EQ(CountLit(frame, WHOLE), CountLit(frame, WorldRect(-1, -1, 1, 1, 0, -2)));
}

}  // namespace
