// Scenes 4 and 45, the title tumble, the countdown and the flash, under a synthetic clock: the
// trail, the hand-over of the sphere's spin, where the countdown shows and how the flash
// brightens the frame.
#include <gtest/gtest.h>

#include "offscreen_harness.h"
#include "scenes/state.h"

using namespace harness;
using kelvorin::numscene;

namespace {

using Scene4Test = harness::OffscreenTest;

TEST_F(Scene4Test, TitleTumbleTrailAndHandOverOfTheSphereSpin) {
    using namespace kelvorin;
    PlayTo(45500, 20);
    ASSERT_EQ(numscene, 4);
    EXPECT_EQ(s0s4, 0.0f) << "the title stands still until 45.5 s";
    EXPECT_EQ(n0s4, 0.0f);
    PlayTo(49480, 20);
    EXPECT_GE(n0s4, 20.0f);
    float trail = n0s4;
    Frame(49500);
    EXPECT_EQ(n0s4, trail) << "49500 neither grows nor shrinks the trail";
    PlayTo(56500, 20);
    EXPECT_GE(s0s4, 4.0f);
    EXPECT_LT(s0s4, 4.0f + 20.0f / 1000);
    EXPECT_LT(n0s4, 1.0f) << "the trail has fallen back to a copy or less";
    EXPECT_EQ(numscene, 4) << "56500 stays in scene 4";
    Frame(56520);
    ASSERT_EQ(numscene, 45);
    EXPECT_EQ(r0s45, r0s4);
    float spin = r0s4;
    Frame(56540);
    EXPECT_FLOAT_EQ(r0s45, spin + 20.0f / 10) << "the sphere turns on without a jump";
    EXPECT_EQ(r0s4, spin);
    PlayTo(57500, 20);
    EXPECT_EQ(numscene, 45) << "57500 stays in scene 45";
    EXPECT_GE(a1s45, 0.95f);
    EXPECT_LT(a0s45, 0.0f) << "the sphere has faded out";
    Frame(57520);
    EXPECT_EQ(numscene, 5);
}

TEST_F(Scene4Test, CountdownShowsAtTheUpperRight) {
    Rect upperRight = WorldRect(1, 0, 3, 2, 0, 2);
    Rect middle = WorldRect(-0.4, 0.2, 0.6, 1.8, 0, 0);
    Rect belowIt = WorldRect(1, -1.2, 3, -0.2, 0, 0);
    PlayTo(50500, 20);
    ASSERT_EQ(numscene, 4);
    EXPECT_EQ(CountLit(ReadFrame(), upperRight), 0) << "50500 shows no countdown picture";
    Frame(50520);
    auto frame = ReadFrame();
    EXPECT_GT(CountLit(frame, upperRight), harness::Area(upperRight) / 100);
    EXPECT_EQ(CountLit(frame, middle), 0);
    EXPECT_EQ(CountLit(frame, belowIt), 0);
    PlayTo(55000, 20);
    EXPECT_GT(CountLit(ReadFrame(), upperRight), harness::Area(upperRight) / 100) << "ch1";
}

TEST_F(Scene4Test, FlashBrightensTheWholeFrameTowardsWhite) {
    PlayTo(56520, 20);
    ASSERT_EQ(numscene, 45);
    EXPECT_EQ(harness::MinChannel(ReadFrame()), 0) << "scene 4's last frame has black";
    PlayTo(56980, 20);
    int half = harness::MinChannel(ReadFrame());
    EXPECT_GT(half, 40) << "about a fifth of white everywhere";
    PlayTo(57480, 20);
    int full = harness::MinChannel(ReadFrame());
    EXPECT_GT(full, half);
    EXPECT_GT(full, 200);
}

}  // namespace
