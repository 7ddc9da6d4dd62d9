// The opening scenes' animated values under a synthetic clock: what moves when, the resets and
// hand-overs, and the cube fan's count.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "offscreen_harness.h"
#include "scenes/reduced_flashing.h"
#include "scenes/state.h"
#include "timeline/random.h"

using harness::Frame;
using harness::PlayTo;
using kelvorin::numscene;
using kelvorin::tempo;

namespace {

class ScenesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
    }
};

// A value's bytes, to see whether a frame changed it.
std::string Bytes(const void *at, size_t size) {
    return std::string(static_cast<const char *>(at), size);
}

struct Tracked {
    std::string name;
    const void *at;
    size_t size;
    std::set<int> owners;  // the scenes whose frames may change it
};

TEST_F(ScenesTest, EachValueMovesOnlyInItsOwnScenesFrames) {
    using namespace kelvorin;
    // Every scene value from its list, owned by its scene; the closing scene draws its spheres
    // around v0s2 too, and scene 4 hands its spin over to r0s45. The particle scenes draw
    // from the generator and their pools.
    std::vector<Tracked> tracked;
    for (size_t i = 0; i < NUM_SCENE_VALUES; i++) {
        const SceneValue &v = sceneValues[i];
        tracked.push_back({v.name, v.at, v.size, {v.scene}});
    }
    for (Tracked &v : tracked) {
        if (v.name == "v0s2") v.owners.insert(8);
        if (v.name == "r0s45") v.owners.insert(4);
    }
    tracked.push_back({"pool A", tab0s5, sizeof tab0s5, {5}});
    tracked.push_back({"pool C", tab0s7, sizeof tab0s7, {7}});
    tracked.push_back({"generator", &randState, sizeof randState, {5, 7}});
    // Start values: these five as the scenes begin them, every other value at 0.
    EXPECT_EQ(t0s0, 8.0f);
    EXPECT_EQ(a0s45, 1.0f);
    EXPECT_EQ(s0s7, 1e-7f);
    EXPECT_EQ(rota8, 70.0f);
    EXPECT_EQ(slide8, 7.0f);
    const std::set<std::string> nonZeroStart = {"t0s0",      "a0s45", "pool A", "pool C",
                                                "generator", "s0s7",  "rota8",  "slide8"};
    for (const Tracked &v : tracked) {
        if (!nonZeroStart.count(v.name)) {
            EXPECT_EQ(Bytes(v.at, v.size), std::string(v.size, '\0')) << v.name;
        }
    }
    glViewport(0, 0, 40, 30);  // values only: a small frame keeps the whole run quick

    std::vector<bool> moved(tracked.size(), false);
    std::vector<std::string> before(tracked.size());
    for (uint32_t t = 0; t <= 140000; t += 40) {
        int scene = numscene;
        for (size_t k = 0; k < tracked.size(); k++)
            before[k] = Bytes(tracked[k].at, tracked[k].size);
        Frame(t);
        for (size_t k = 0; k < tracked.size(); k++) {
            if (Bytes(tracked[k].at, tracked[k].size) == before[k]) continue;
            moved[k] = true;
            EXPECT_TRUE(tracked[k].owners.count(scene))
                << tracked[k].name << " changed in a frame of scene " << scene << " at " << t;
        }
    }
    // Every value moves at some time, but the swirl's centre, which stays at the origin.
    const std::set<std::string> constant = {"centre0s7", "centre1s7"};
    for (size_t k = 0; k < tracked.size(); k++)
        EXPECT_EQ(moved[k], !constant.count(tracked[k].name)) << tracked[k].name;
    EXPECT_EQ(numscene, 8);
}

TEST_F(ScenesTest, BannerDriftsOnlyInSceneZeroAndFadesInAfresh) {
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

TEST_F(ScenesTest, LogoHoldsItsAlphaBetweenEightAndTenSeconds) {
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

TEST_F(ScenesTest, BallLightFadesUpAfterSeventeenAndAHalfSeconds) {
    using kelvorin::l0s2;
    PlayTo(17500, 20);
    ASSERT_EQ(numscene, 2);
    EXPECT_EQ(l0s2, 0.0f) << "17500 is not past 17.5 s";
    Frame(17520);
    EXPECT_FLOAT_EQ(l0s2, 20.0f / 500);
    EXPECT_FLOAT_EQ(kelvorin::v0s2.y, 144.0f / 50) << "twelve touching balls per arm";
    PlayTo(19000, 20);
    EXPECT_EQ(numscene, 2) << "19000 stays in scene 2";
    EXPECT_GE(l0s2, 1.0f);
    EXPECT_LT(l0s2, 1.0f + 20.0f / 500);
    EXPECT_GE(kelvorin::a0s2, 1.0f);
    Frame(19020);
    EXPECT_EQ(numscene, 0);
    // Light 0 keeps the faded colour after the scene.
    GLfloat diffuse[4], specular[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    const float want[4] = {0.5f * l0s2, 0.75f * l0s2, l0s2, l0s2};
    for (int c = 0; c < 4; c++) {
        EXPECT_FLOAT_EQ(diffuse[c], std::min(want[c], 1.0f)) << c;
        EXPECT_FLOAT_EQ(specular[c], std::min(want[c], 1.0f)) << c;
    }
}

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

TEST_F(ScenesTest, CubeFanSceneFadesBandsAndAdvancesTheTitleOnlyInDrawnFrames) {
    PlayCubeFanScene();
}

TEST_F(ScenesTest, ReducedFlashingLeavesTheCubeFansValuesAsTheyAre) {
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

TEST_F(ScenesTest, FanDrawsFortyOrFortyOneCubesAndEndsWhenItsAnglesMeet) {
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

TEST_F(ScenesTest, FanCubesGrowAndEachTakesThePreviousCubesColour) {
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

TEST_F(ScenesTest, TitleTumbleTrailAndHandOverOfTheSphereSpin) {
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

// A frame late enough to pass several thresholds moves on by one scene only.
TEST_F(ScenesTest, ALateFrameMovesOnByOneSceneOnly) {
    Frame(0);
    Frame(30000);
    EXPECT_EQ(numscene, 3) << "the windows of scenes 1 and 2 were never met";
    Frame(60000);
    EXPECT_EQ(numscene, 4);
    Frame(60016);
    EXPECT_EQ(numscene, 45);
    EXPECT_EQ(kelvorin::r0s45, kelvorin::r0s4);
    Frame(60032);
    EXPECT_EQ(numscene, 5);
}

}  // namespace
