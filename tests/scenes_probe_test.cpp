// Coarse pixel probes of the opening scenes: where each scene puts light on screen and where it
// leaves black, under a synthetic clock. Nothing here depends on the pictures' details.
#include <gtest/gtest.h>

#include "offscreen_harness.h"
#include "scenes/reduced_flashing.h"
#include "scenes/state.h"

using harness::CountLit;
using harness::Frame;
using harness::PlayTo;
using harness::ReadFrame;
using harness::Rect;
using harness::WorldRect;
using kelvorin::numscene;

namespace {

const Rect WHOLE = {0, 0, harness::WIDTH, harness::HEIGHT};

class ProbeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
    }
};

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

TEST_F(ProbeTest, BannerDriftsInFromTheRight) {
    ExpectBannerAt(1000);  // left edge at about x = 2.2: mostly off screen to the right
    ExpectBannerAt(5000);  // left edge at about x = -1.2
}

TEST_F(ProbeTest, LogoSpinsAtTheCentre) {
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

TEST_F(ProbeTest, BallsLightUpBesideThePicture) {
    Rect balls = WorldRect(-0.9, -0.9, 0.9, 0.9, 0, 0);
    Rect picture = WorldRect(1, -3, 3, -1, 0, 2);
    PlayTo(17500, 20);
    ASSERT_EQ(numscene, 2);
    auto before = ReadFrame();
    EXPECT_EQ(CountLit(before, balls), 0) << "no balls until after 17.5 s";
    EXPECT_GT(CountLit(before, picture), harness::Area(picture) / 100);
    PlayTo(18500, 20);
    ASSERT_EQ(numscene, 2);
    auto after = ReadFrame();
    EXPECT_GT(CountLit(after, balls), harness::Area(balls) / 50) << "lit balls at the centre";
    EXPECT_GT(CountLit(after, picture), harness::Area(picture) / 100);
}

TEST_F(ProbeTest, CubeFanBlinksBeforeTwentyEightAndAHalfSeconds) {
    PlayTo(27020, 20);
    ASSERT_EQ(numscene, 3);
    EXPECT_EQ(CountLit(ReadFrame(), WHOLE, 0), 0) << "27020: first half of its 100 ms";
    PlayTo(27060, 20);
    EXPECT_GT(CountLit(ReadFrame(), WHOLE), 100) << "27060: second half, the fan shows";
    PlayTo(28500, 20);
    EXPECT_GT(CountLit(ReadFrame(), WHOLE), 100) << "28500 lies in no blink window";
    PlayTo(34020, 20);
    EXPECT_EQ(CountLit(ReadFrame(), WHOLE, 0), 0) << "the second blink window";
}

TEST_F(ProbeTest, ReducedFlashingDrawsTheBlinksSteadily) {
    kelvorin::reducedFlashing = true;
    PlayTo(27020, 20);
    EXPECT_GT(CountLit(ReadFrame(), WHOLE), 100) << "27020: the fan shows in its blank half";
    PlayTo(34020, 20);
    EXPECT_GT(CountLit(ReadFrame(), WHOLE), 100) << "the second blink window";
    // The wire sphere blinking in, turned up and to the left by the title's trail: without
    // reduced flashing it shows only in the first half of every 100 ms.
    Rect sphere = {20, 300, 300, 450};
    PlayTo(48060, 20);
    ASSERT_EQ(numscene, 4);
    EXPECT_GT(CountLit(ReadFrame(), sphere), 100);
    kelvorin::reducedFlashing = false;
    PlayTo(48160, 20);
    EXPECT_EQ(CountLit(ReadFrame(), sphere), 0);
    PlayTo(48200, 20);
    EXPECT_GT(CountLit(ReadFrame(), sphere), 100);
}

TEST_F(ProbeTest, CountdownShowsAtTheUpperRight) {
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

TEST_F(ProbeTest, FlashBrightensTheWholeFrameTowardsWhite) {
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
