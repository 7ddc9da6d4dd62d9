// The cloud tunnel under a synthetic clock: the tube's geometry, the shake's draws from the
// shared generator, the sprites' count, recycling and restart, and pixel probes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "offscreen_harness.h"
#include "scenes/state.h"
#include "shell/window.h"
#include "timeline/random.h"

using harness::EnterScene;
using harness::FeedbackEye;
using harness::Frame;
using harness::Primitive;
using harness::ReadFrame;
using harness::Rect;
using harness::Vertex;
using namespace kelvorin;

namespace {

using harness::WHOLE;
constexpr int TUBE_TRIANGLES = 35 * 24 * 2;  // each quad comes back as two triangles

using TunnelTest = harness::OffscreenTest;

// How many times the generator was drawn to get from state `from` to its state now.
int DrawsSince(uint32_t from) {
    for (int n = 0; n < 16; n++) {
        if (from == randState) return n;
        from = from * 214013u + 2531011u;
    }
    return -1;
}

// A frame at clock t whose delta is 0, so that no value moves; returns what it sent.
std::vector<Primitive> StillFrame(uint32_t t) {
    EnterScene(5, t);
    return FeedbackEye([t] { Frame(t); }, 64);
}

struct Expected {
    double x, y, z, s, t;
};

// Point P(i, j) of the tube in eye coordinates (the camera is at z = 5), with its texture
// coordinates, straight from the formulas.
Expected TubePoint(int i, int j) {
    auto c = [](double v) { return std::cos(v * TWOPI); };
    auto s = [](double v) { return std::sin(v * TWOPI); };
    double radius = 1 + SIZE2 * c((i + double(r1s5)) / 6);
    return {SIZE1 * c((j + double(r1s5)) / 6) + radius * c(i / 24.0),
            SIZE1 * s((j + double(r1s5)) / 6) + radius * s(i / 24.0), j - 5.0, t0s5 / 5 + i / 24.0,
            t0s5 + j / 4.0};
}

bool Matches(const Vertex &v, const Expected &e, double dx = 0, double dy = 0) {
    return std::fabs(v.x - (e.x + dx)) < 1e-3 && std::fabs(v.y - (e.y + dy)) < 1e-3 &&
           std::fabs(v.z - e.z) < 1e-3 && std::fabs(v.s - e.s) < 1e-4 &&
           std::fabs(v.t - e.t) < 1e-4;
}

// Every quad of the tube, in order, holds exactly the four corners the formulas give, shifted
// by the shake (dx, dy); ring n has brightness n / 20 (clamped to 1).
void ExpectTube(const std::vector<Primitive> &prims, double dx = 0, double dy = 0) {
    ASSERT_GE(prims.size(), size_t(TUBE_TRIANGLES));
    for (int q = 0; q < 35 * 24; q++) {
        int n = q / 24, i = q % 24, j = n - 30;
        const Expected corners[4] = {TubePoint(i, j), TubePoint(i + 1, j), TubePoint(i + 1, j + 1),
                                     TubePoint(i, j + 1)};
        bool seen[4] = {false, false, false, false};
        for (int half = 0; half < 2; half++) {
            for (const Vertex &v : prims[2 * q + half].v) {
                bool any = false;
                for (int k = 0; k < 4; k++)
                    if (Matches(v, corners[k], dx, dy)) seen[k] = any = true;
                ASSERT_TRUE(any) << "ring " << n << " quad " << i << ": stray vertex " << v.x
                                 << ", " << v.y << ", " << v.z;
                ASSERT_NEAR(v.r, std::min(1.0, n * 0.05), 1e-4) << "ring " << n;
                ASSERT_NEAR(v.a, std::min(1.0, n * 0.05), 1e-4) << "ring " << n;
            }
        }
        for (int k = 0; k < 4; k++)
            ASSERT_TRUE(seen[k]) << "ring " << n << " quad " << i << " corner " << k;
    }
}

TEST_F(TunnelTest, RingsFollowTheTubeFormulas) {
    r1s5 = -3.7f, SIZE1 = 0.23f, SIZE2 = 0.17f, t0s5 = -5.3f;
    auto prims = StillFrame(60100);  // 60100 mod 450 = 250: no shake
    EXPECT_EQ(prims.size(), size_t(TUBE_TRIANGLES)) << "no sprites before 65 s";
    ExpectTube(prims);

    // In a shake frame everything moves by the two draws, x first.
    uint32_t state = randState;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    };
    float dx = float(next()) / 327680.0f - 0.16384f;
    float dy = float(next()) / 327680.0f - 0.16384f;
    ExpectTube(StillFrame(60310), dx, dy);  // 60310 mod 450 = 10
}

TEST_F(TunnelTest, ShakeDrawsTwiceInItsFramesAndNeverOtherwise) {
    glViewport(0, 0, 16, 12);  // only the draws matter here; a small frame keeps it quick
    EnterScene(5, 57500);
    int shakes = 0;
    for (uint32_t t = 57513; t <= 80500; t += 13) {  // 13 and 450 share no factor: every phase
        uint32_t before = randState;
        Frame(t);
        ASSERT_EQ(DrawsSince(before), t % 450 < 50 ? 2 : 0) << t;
        shakes += t % 450 < 50;
    }
    EXPECT_GT(shakes, 150);
    // The tube's replacing blend is set back to additive within the frame.
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_EQ(numscene, 5) << "80500 makes no transition";
    Frame(80501);
    EXPECT_EQ(numscene, 7);
}

TEST_F(TunnelTest, SpriteCountStartsAfterSixtyFiveSecondsAndStopsAtTheFiftyOfThePool) {
    auto prims = StillFrame(64990);
    EnterScene(5, 64980);
    prims = FeedbackEye([] { Frame(65000); }, 64);
    EXPECT_EQ(f0s5, 0.0f) << "65000 is not above 65 s";
    EXPECT_EQ(prims.size(), size_t(TUBE_TRIANGLES));
    prims = FeedbackEye([] { Frame(65020); }, 64);
    EXPECT_FLOAT_EQ(f0s5, 0.4f);
    EXPECT_EQ(prims.size(), size_t(TUBE_TRIANGLES)) << "no whole sprite yet";
    prims = FeedbackEye([] { Frame(65070); }, 64);
    EXPECT_EQ(prims.size(), size_t(TUBE_TRIANGLES + 2)) << "f0s5 = 1.4: one sprite";

    // One long frame carries the count from 49.5 to 52: exactly the pool's 50 move and show.
    f0s5 = 49.5f;
    Point before[POOL_A];
    for (int i = 0; i < POOL_A; i++) before[i] = tab0s5[i];
    EnterScene(5, 70000);
    prims = FeedbackEye([] { Frame(70125); }, 64);  // 70125 mod 450 = 375: no shake
    EXPECT_FLOAT_EQ(f0s5, 52.0f);
    EXPECT_EQ(prims.size(), size_t(TUBE_TRIANGLES + 2 * POOL_A));
    for (int i = 0; i < POOL_A; i++) {
        float z = before[i].z - float(tab1s5[i] * 125.0);
        if (z < -16) z = 6;
        EXPECT_NEAR(tab0s5[i].z, z, 1e-5) << i;
    }
    Frame(70150);
    EXPECT_FLOAT_EQ(f0s5, 52.0f) << "no longer grows at 50 or more";
}

TEST_F(TunnelTest, RecyclingStopsAtSeventyNineSecondsWhileTheFadeStartsAfter) {
    f0s5 = 50;
    EnterScene(5, 78980);
    tab0s5[0].z = -15.99f;
    auto prims = FeedbackEye([] { Frame(78990); }, 64);
    EXPECT_EQ(tab0s5[0].z, 6.0f) << "put back before 79000";
    EXPECT_EQ(a0s5, 0.0f);
    // Drawn back behind the camera in that same frame: a quad at eye z = 1 round (x, y).
    bool drawn = false;
    for (const Primitive &p : prims)
        for (const Vertex &v : p.v)
            drawn |= std::fabs(v.z - 1) < 1e-3 && std::fabs(v.x - tab0s5[0].x) < 0.051 &&
                     std::fabs(v.y - tab0s5[0].y) < 0.051;
    EXPECT_TRUE(drawn);

    tab0s5[0].z = -15.99f;
    Frame(79000);
    EXPECT_LT(tab0s5[0].z, -16.0f) << "not put back at 79000";
    EXPECT_EQ(a0s5, 0.0f) << "79000 is not above 79 s";
    Frame(79010);
    EXPECT_FLOAT_EQ(a0s5, -10.0f / 15000);
    EXPECT_LT(tab0s5[0].z, -16.0f);
}

TEST_F(TunnelTest, DisplaySwitchRestartsTheSpritesButKeepsTheirCount) {
    EnterScene(5, 65000);
    for (uint32_t t = 65020; t <= 66000; t += 20) Frame(t);
    float count = f0s5;
    ASSERT_NEAR(count, 20, 1e-3);
    Point before[POOL_A];
    float speeds[POOL_A];
    for (int i = 0; i < POOL_A; i++) before[i] = tab0s5[i], speeds[i] = tab1s5[i];
    CloseDemoWindow();
    ASSERT_TRUE(OpenDemoWindow("KELVORIN", 1024, 768, 16, false));
    EXPECT_EQ(f0s5, count);
    int differ = 0;
    for (int i = 0; i < POOL_A; i++) {
        EXPECT_EQ(tab0s5[i].z, 6.0f) << i;
        differ +=
            tab0s5[i].x != before[i].x && tab0s5[i].y != before[i].y && tab1s5[i] != speeds[i];
    }
    EXPECT_GT(differ, 45) << "new start values from the continuing sequence";
    Frame(66020);
    EXPECT_NEAR(f0s5, count + 0.4, 1e-4);
}

// The screen rectangles of the sprites in front of the camera (0.1 x 0.1 at their positions),
// grown by a few pixels.
std::vector<Rect> SpriteRects() {
    std::vector<Rect> rects;
    for (int i = 0; i < POOL_A; i++) {
        const Point &p = tab0s5[i];
        if (p.z < 4.8f)
            rects.push_back(
                harness::WorldRect(p.x - 0.05, p.y - 0.05, p.x + 0.05, p.y + 0.05, p.z, -3));
    }
    return rects;
}

// How many pixels pass the test, and how many of those lie inside the rectangles.
struct Count {
    int matching = 0, inside = 0;
};
Count CountPixels(const std::function<bool(size_t)> &test, const std::vector<Rect> &rects) {
    Count c;
    for (int y = 0; y < harness::HEIGHT; y++)
        for (int x = 0; x < harness::WIDTH; x++) {
            if (!test((size_t(y) * harness::WIDTH + x) * 3)) continue;
            c.matching++;
            for (const Rect &r : rects)
                if (x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1) {
                    c.inside++;
                    break;
                }
        }
    return c;
}

TEST_F(TunnelTest, TubeFillsTheFrameAtSixtySeconds) {
    EnterScene(5, 57500);
    for (uint32_t t = 57520; t <= 60000; t += 20) Frame(t);
    auto frame = ReadFrame();
    EXPECT_GT(harness::CountLit(frame, WHOLE), harness::Area(WHOLE) * 95 / 100);
    const Rect centre = {harness::WIDTH / 2 - 3, harness::HEIGHT / 2 - 3, harness::WIDTH / 2 + 3,
                         harness::HEIGHT / 2 + 3};
    EXPECT_EQ(harness::CountLit(frame, centre), 0) << "the far end is dark";
}

TEST_F(TunnelTest, SpritesAddLightOverTheTubeAtSeventySeconds) {
    EnterScene(5, 65000);
    for (uint32_t t = 65020; t <= 70000; t += 20) Frame(t);
    auto withSprites = ReadFrame();
    // The same tube without sprites: a frame of delta 0 at a clock before 65 s, also unshaken.
    EnterScene(5, 64000);
    Frame(64000);
    auto tubeOnly = ReadFrame();
    Count brighter = CountPixels(
        [&](size_t k) { return withSprites[k + 1] >= tubeOnly[k + 1] + 40; }, SpriteRects());
    EXPECT_GT(brighter.matching, 50) << "sprites show";
    EXPECT_EQ(brighter.inside, brighter.matching) << "light added only where sprites are";
}

TEST_F(TunnelTest, AfterSeventyNineAndThreeQuarterSecondsOnlySpritesShow) {
    f0s5 = 50;
    EnterScene(5, 77000);
    for (uint32_t t = 77020; t <= 79800; t += 20) Frame(t);  // 79800 mod 450 = 150
    EXPECT_LT(a0s5, -0.05f);
    auto frame = ReadFrame();
    std::vector<Rect> rects = SpriteRects();
    ASSERT_FALSE(rects.empty());
    Count lit = CountPixels(
        [&](size_t k) {
            return std::max({frame[k], frame[k + 1], frame[k + 2]}) > 8;
        },
        rects);
    EXPECT_GT(lit.matching, 0) << "some sprites are still in view";
    EXPECT_EQ(lit.inside, lit.matching) << "the tube is black";
}

}  // namespace
