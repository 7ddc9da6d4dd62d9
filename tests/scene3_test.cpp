// Scene 3, the cube fan, under a synthetic clock: its bands, title and blinking, with reduced
// flashing and without, how many cubes the fan draws and how they grow and take their colours.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "offscreen_harness.h"
#include "scenes/reduced_flashing.h"
#include "scenes/scene3.h"
#include "scenes/state.h"

using namespace harness;
using kelvorin::numscene;
using kelvorin::tempo;

namespace {

using Scene3Test = harness::OffscreenTest;

// Blank frames: the first half of every 100 ms inside the blink windows.
bool Blank(uint32_t t) {
    bool window = t < 28500 || (33500 < t && t < 35500) || (40500 < t && t < 42500);
    return window && t % 100 < 50;
}

// Scene 3 from 26.5 s to its end. The values come out the same whether its blink windows are
// blanked or drawn with reduced flashing.
void PlayCubeFanScene() {
    using namespace kelvorin;
    PlayTo(26500, 20);
    Frame(26520);
    ASSERT_EQ(numscene, 3);
    double title = 0;
    int holds = 0;
    float previous = a0s3;
    for (uint32_t t = 26530; t <= 42500; t += 10) {
        float swing = r0s3, tumble = r1s3;
        Frame(t);
        // The swing and the tumble advance in every frame, blank or not.
        EXPECT_NEAR(r0s3 - swing, tempo / 500, 1e-3);
        EXPECT_NEAR(r1s3 - tumble, tempo / 10, 1e-2);
        if (t > 40500 && !Blank(t)) title += tempo / 1500;
        EXPECT_NEAR(a2s3, title, 1e-4) << t;
        bool inPair = (28500 < t && t < 33500) || (35500 < t && t < 40500);
        if (Blank(t) || !inPair) {
            EXPECT_EQ(a0s3, previous) << t;
        } else if (a0s3 == previous) {
            holds++;  // the one frame in which the flag is set
        }
        if (t == 33000) {
            EXPECT_TRUE(b0s3);
        }
        if (t == 35000) {
            EXPECT_FALSE(b1s3);
        }
        previous = a0s3;
    }
    EXPECT_EQ(holds, 2) << "one held frame per pair";
    EXPECT_TRUE(b1s3);
    EXPECT_NEAR(a0s3, 0, 0.02);
    EXPECT_GT(a2s3, 0.6f);
    EXPECT_LT(a2s3, 0.75f);
    EXPECT_EQ(numscene, 3) << "42500 stays in scene 3";
    Frame(42510);
    EXPECT_EQ(numscene, 4);
}

TEST_F(Scene3Test, CubeFanSceneFadesBandsAndAdvancesTheTitleOnlyInDrawnFrames) {
    PlayCubeFanScene();
}

TEST_F(Scene3Test, ReducedFlashingLeavesTheCubeFansValuesAsTheyAre) {
    kelvorin::reducedFlashing = true;
    PlayCubeFanScene();
}

// The same stepping as the fan, without a bound, for angles where it ends by itself.
int UnboundedFanCount(float i, float j) {
    float f = j;
    int n = 0;
    if (i > j) {
        float k = (i - j) / 40;
        for (; f < i && n < 1000; n++) f += k;
    } else {
        float k = (j - i) / 40;
        for (; f > i && n < 1000; n++) f -= k;
    }
    return n;
}

TEST_F(Scene3Test, FanDrawsFortyOrFortyOneCubesAndEndsWhenItsAnglesMeet) {
    int seen[2] = {0, 0};
    for (int step = 0; step < 600; step++) {
        double phase = step * 0.0104720;  // a full swing in 600 steps
        float i = float(120 * std::cos(phase)), j = float(-75 * std::sin(phase));
        int want = UnboundedFanCount(i, j);
        int drawn = kelvorin::DrawCubeFan(i, j);
        ASSERT_EQ(drawn, want) << "phase " << phase;
        if (i != j) {
            ASSERT_TRUE(drawn == 40 || drawn == 41) << drawn << " at phase " << phase;
            seen[drawn - 40]++;
        }
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_EQ(kelvorin::DrawCubeFan(30, 30), 0) << "equal angles: an empty fan";
    // One float step apart: a fortieth of the gap cannot move the angle any more.
    float j = 50, i = std::nextafter(j, 100.0f);
    EXPECT_EQ(i + (i - j) / 40, i);
    EXPECT_EQ(kelvorin::DrawCubeFan(i, j), kelvorin::FAN_MAX_CUBES);
    EXPECT_EQ(kelvorin::DrawCubeFan(j, i), kelvorin::FAN_MAX_CUBES);
    float far = -1e30f, farther = std::nextafter(far, -1e31f);
    EXPECT_EQ(kelvorin::DrawCubeFan(farther, far), kelvorin::FAN_MAX_CUBES);
}

TEST_F(Scene3Test, FanCubesGrowAndEachTakesThePreviousCubesColour) {
    glDisable(GL_LIGHTING);
    int drawn = 0;
    auto prims = harness::Feedback([&] {
        glScalef(0.4f, 0.4f, 0.4f);  // the largest cube fits the clip volume
        glColor4f(0.1f, 0.2f, 0.3f, 1);
        drawn = kelvorin::DrawCubeFan(100, -20);
    });
    ASSERT_EQ(drawn, 40);
    ASSERT_EQ(prims.size(), size_t(drawn) * 24) << "six outlines of four edges per cube";
    for (int c = 0; c < drawn; c++) {
        SCOPED_TRACE(c);
        // Turns keep a corner at half the space diagonal from the centre.
        const harness::Vertex &v = prims[c * 24].v[0];
        float edge = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z) / 0.4f * 2 / std::sqrt(3.0f);
        EXPECT_NEAR(edge, 0.5 + 0.05 * c, 1e-3);
        float a = 1.0f - 0.025f * (c - 1);
        float r = c == 0 ? 0.1f : a / 2, g = c == 0 ? 0.2f : a / 2, b = c == 0 ? 0.3f : a;
        EXPECT_NEAR(v.r, r, 1e-4);
        EXPECT_NEAR(v.g, g, 1e-4);
        EXPECT_NEAR(v.b, b, 1e-4);
    }
}

TEST_F(Scene3Test, CubeFanBlinksBeforeTwentyEightAndAHalfSeconds) {
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

TEST_F(Scene3Test, ReducedFlashingDrawsTheBlinksSteadily) {
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

}  // namespace
