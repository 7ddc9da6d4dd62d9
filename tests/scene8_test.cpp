// The closing scene under a synthetic clock: which dots the scroller lights, its brightness
// fade, the slide, fade, light colour and position, probes, and a long run.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "memory.h"
#include "offscreen_harness.h"
#include "scenes/scene8.h"
#include "scenes/state.h"
#include "scroller_reference.h"

using harness::EnterScene;
using harness::FeedbackEye;
using harness::Frame;
using harness::HeapBytesInUse;
using harness::Primitive;
using harness::ResidentKilobytes;
using harness::Vertex;
using kelvorin::ScrollerDots;
using namespace kelvorin;

namespace {

using GreetingsTest = harness::OffscreenTest;

// Dot (column, row) of a character straight from the glyph table's rows.
bool Lit(char ch, int row, int column) { return dotfont[30 * (ch - 'A') + 6 * row + column] == 1; }

TEST(Scroller, TextAndGlyphsAreTheDemosOwn) {
    EXPECT_EQ(std::string(greetz).size(), 101u);
    EXPECT_EQ(std::string(greetz).substr(0, 10), "GREETZ[[[[");
    EXPECT_EQ(std::string(greetz).substr(94), "THE[END");
    for (char ch : std::string(greetz)) ASSERT_TRUE(ch >= 'A' && ch <= '[') << ch;
    for (int g = 0; g < 27; g++)
        for (int r = 0; r < 5; r++)
            ASSERT_EQ(dotfont[30 * g + 6 * r + 5], 0) << "spacing column, glyph " << g;
    // Spot checks against the glyph rows: E's middle row is 111000, W's bottom row 110110.
    const int e[6] = {1, 1, 1, 0, 0, 0}, w[6] = {1, 1, 0, 1, 1, 0};
    for (int c = 0; c < 6; c++) {
        EXPECT_EQ(Lit('E', 2, c), e[c] == 1) << c;
        EXPECT_EQ(Lit('W', 4, c), w[c] == 1) << c;
    }
    for (int k = 0; k < 30; k++) EXPECT_EQ(dotfont[26 * 30 + k], 0) << "the blank";
}

TEST(Scroller, DirectLookupAgreesWithTestingEveryCharacter) {
    int checked = 0, lit = 0;
    for (float scroll = 75; scroll > -625; scroll -= 0.37f) {
        for (float i = -10; i < 60; i++)
            for (int j = 0; j < 5; j++) {
                int dots = ScrollerDots(i, j, scroll);
                ASSERT_EQ(dots, reference::ScrollerDotsByScan(i, j, scroll))
                    << i << ", " << j << " at " << scroll;
                lit += dots;
                checked++;
            }
    }
    for (float scroll = 70; scroll > -620; scroll -= 1) {  // whole numbers: columns on cell edges
        for (float i = -10; i < 60; i++)
            for (int j = 0; j < 5; j++)
                ASSERT_EQ(ScrollerDots(i, j, scroll), reference::ScrollerDotsByScan(i, j, scroll))
                    << i << ", " << j << " at " << scroll;
    }
    EXPECT_GT(lit, checked / 10);
}

TEST(Scroller, CellsIncludeBothEndsAndTheFarEdgeIsDark) {
    // rota8 = 0: column 0 is G's first column (offset 0, the cell's near end).
    for (int j = 0; j < 5; j++) EXPECT_EQ(ScrollerDots(0, j, 0), Lit('G', j, 0) ? 1 : 0) << j;
    // Column 6 is G's far end (offset 6, past its last column: dark) and R's near end.
    for (int j = 0; j < 5; j++) EXPECT_EQ(ScrollerDots(6, j, 0), Lit('R', j, 0) ? 1 : 0) << j;
    // The last glyph's far end has no next glyph to read from: dark.
    for (int j = 0; j < 5; j++) EXPECT_EQ(ScrollerDots(6, j, -600), 0) << j;
    for (int j = 0; j < 5; j++) EXPECT_FALSE(GlyphDot('[', j, 6.0f)) << j;
    // Half a column on, column 1 takes G's dots at offset 0.5, i.e. its column 0.
    for (int j = 0; j < 5; j++) EXPECT_EQ(ScrollerDots(1, j, 0.5f), Lit('G', j, 0) ? 1 : 0) << j;
}

TEST(Scroller, BlanksLightNothingAndFourOfThemLeaveTwentyFourDarkColumns) {
    // Characters 6 to 9 are blanks; at rota8 = -20.5 their cells span columns 15.5 to 39.5.
    const float scroll = -20.5f;
    for (float i = 16; i <= 39; i++)
        for (int j = 0; j < 5; j++) ASSERT_EQ(ScrollerDots(i, j, scroll), 0) << i;
    int before = 0, after = 0;
    for (int j = 0; j < 5; j++)
        before += ScrollerDots(14, j, scroll), after += ScrollerDots(40, j, scroll);
    EXPECT_GT(before, 0) << "Z's last column";
    EXPECT_GT(after, 0) << "T's first column";
    // The board is empty before the text enters and after it has passed.
    for (float scroll : {70.0f, 59.01f, -616.01f, -5000.0f, -4194304.0f, -FLT_MAX})
        for (float i = -10; i < 60; i++)
            for (int j = 0; j < 5; j++) ASSERT_EQ(ScrollerDots(i, j, scroll), 0) << scroll;
}

using Matrix = std::array<float, 16>;

Matrix Modelview() {
    Matrix m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// Where the board's column i, row j lies in eye coordinates.
std::array<double, 3> DotCentre(float i, float j) {
    glLoadIdentity();
    gluLookAt(0, 0, 4, 0, 0, 0, 0, 1, 0);
    glTranslatef(0, -0.5f, 0);
    glRotatef(60, 0, 1, 0);
    glRotatef(-60, 1, 0, 0);
    glTranslatef((i - 25) / 10, -(j - 2.5f) / 10, 0);
    Matrix m = Modelview();
    return {m[12], m[13], m[14]};
}

// A still frame at rota8 = scroll: the cubes come first, twelve triangles each, in board
// order, each at its dot with the column's brightness.
TEST_F(GreetingsTest, CubesStandOnTheirDotsAndFadeOverTheLastNineColumns) {
    const float scroll = 19.5f;  // "GREETZ" covers columns 19.5 to 55.5: into the fade
    struct Dot {
        float i, j;
    };
    std::vector<Dot> dots;
    bool sawFull50 = false, saw51 = false;
    for (float i = -10; i < 60; i++)
        for (float j = 0; j < 5; j++)
            for (int n = reference::ScrollerDotsByScan(i, int(j), scroll); n > 0; n--) {
                dots.push_back({i, j});
                sawFull50 |= i == 50;
                saw51 |= i == 51;
            }
    ASSERT_TRUE(sawFull50 && saw51) << "the chosen position lights columns 50 and 51";
    std::vector<std::array<double, 3>> centres;
    for (const Dot &d : dots) centres.push_back(DotCentre(d.i, d.j));

    rota8 = scroll;
    EnterScene(8, 140000);
    auto prims = FeedbackEye([] { Frame(140000); }, 16);
    ASSERT_GE(prims.size(), dots.size() * 12 + 2);
    for (size_t d = 0; d < dots.size(); d++) {
        float c = dots[d].i <= 50 ? 1 : 1 - (dots[d].i - 50) / 10;
        for (size_t n = 12 * d; n < 12 * d + 12; n++)
            for (const Vertex &v : prims[n].v) {
                ASSERT_NEAR(v.x, centres[d][0], 0.044) << "dot " << d;
                ASSERT_NEAR(v.y, centres[d][1], 0.044) << "dot " << d;
                ASSERT_NEAR(v.z, centres[d][2], 0.044) << "dot " << d;
                ASSERT_NEAR(v.r, c, 1e-4) << "column " << dots[d].i;
                ASSERT_NEAR(v.a, c, 1e-4) << "column " << dots[d].i;
            }
    }
    // Next comes the picture, at its fade.
    const Primitive &picture = prims[dots.size() * 12];
    EXPECT_NEAR(picture.v[0].a, 0.0, 1e-6) << "fade8 starts at 0";

    // Past -616 the board is empty: the frame sends the picture and the spheres only.
    size_t withText = prims.size();
    rota8 = -616.01f;
    size_t empty = FeedbackEye([] { Frame(140000); }, 16).size();
    EXPECT_EQ(empty, withText - dots.size() * 12);
}

TEST_F(GreetingsTest, SlideFadeHueAndSpinAdvanceAndSlideStaysBelowZero) {
    EnterScene(8, 130000);
    Frame(130040);
    EXPECT_FLOAT_EQ(rota8, 70 - 40.0f / 85);
    EXPECT_FLOAT_EQ(slide8, 7 - 40.0f / 2000);
    EXPECT_FLOAT_EQ(fade8, 40.0f / 10000);
    EXPECT_FLOAT_EQ(hue8, 40.0f / 50);
    EXPECT_FLOAT_EQ(spin8, 40.0f / 25);
    EXPECT_EQ(numscene, 8);

    slide8 = 0.01f, fade8 = 0.999f;
    Frame(130080);
    EXPECT_FLOAT_EQ(slide8, 0.01f - 0.02f);
    EXPECT_FLOAT_EQ(fade8, 0.999f + 0.004f);
    Frame(130120);
    EXPECT_FLOAT_EQ(slide8, -0.01f) << "never brought back to 0";
    EXPECT_FLOAT_EQ(fade8, 1.003f);
}

// How far an angle turned from `from` to `to`, by the shorter way round (fmod is exact).
double Turned(float from, float to, double turn) {
    return std::remainder(std::fmod(double(to), turn) - std::fmod(double(from), turn), turn);
}

// The closing scene left on a screen for days: from the spin and light phase that the plain
// sums reach after 7 hours, a day, a week and 49.7 days (where the clock wraps), from any larger
// value a float holds, and from the largest that the scene keeps now, the very next frame and
// every one after it steps them at their normal speed: within 1 % at 60 and 144 fps, 5 % at
// 1000 fps (a step of 0.04 degree). The angles are compared modulo whole turns (360 degrees,
// 180 units of the light's phase).
TEST_F(GreetingsTest, SpinAndHueKeepTheirSpeedForDaysAndAcrossTheClocksWrap) {
    glViewport(0, 0, 32, 24);
    const uint64_t HOUR = 3600 * 1000, DAY = 24 * HOUR, WRAP = uint64_t(1) << 32;
    struct Start {
        uint64_t clock;  // the frame before the first measured one
        float spin, hue;
    };
    std::vector<Start> starts;
    for (uint64_t at : {7 * HOUR, DAY, 7 * DAY, WRAP - 400})
        starts.push_back({at, float((at - 130000) / 25.0), float((at - 130000) / 50.0)});
    starts.push_back({7 * DAY, 23000.0f, 11500.0f});        // the largest the scene now keeps
    starts.push_back({7 * DAY, 16777216.0f, 16777216.0f});  // where a plain 60 fps sum stalls
    starts.push_back({7 * DAY, FLT_MAX, FLT_MAX});
    for (long fps : {60L, 144L, 1000L}) {
        const double tolerance = fps > 144 ? 0.05 : 0.01;
        for (const Start &start : starts) {
            spin8 = start.spin, hue8 = start.hue;
            EnterScene(8, uint32_t(start.clock));
            double worstSpin = 0, worstHue = 0;
            for (uint64_t k = 1; k <= uint64_t(fps / 4); k++) {  // a quarter of a second
                float spin = spin8, hue = hue8;
                Frame(uint32_t(start.clock + FrameClock(k, fps)));
                double spinSpeed = Turned(spin, spin8, 360) / (tempo / 25);
                double hueSpeed = Turned(hue, hue8, 180) / (tempo / 50);
                worstSpin = std::max(worstSpin, std::fabs(spinSpeed - 1));
                worstHue = std::max(worstHue, std::fabs(hueSpeed - 1));
            }
            EXPECT_LE(worstSpin, tolerance) << fps << " fps from " << start.spin;
            EXPECT_LE(worstHue, tolerance) << fps << " fps from " << start.hue;
            EXPECT_EQ(numscene, 8);
        }
    }
}

// No turn comes off while the demo's first 10 minutes play on the 60 fps clock (the scene
// starts after 130 s), so their frames are the ones the demo has always drawn: the last frame
// of those minutes still adds its step to the plain sums.
TEST_F(GreetingsTest, TheFirstTenMinutesKeepEveryTurn) {
    float spin = 0, hue = 0;
    uint64_t k = FirstFrameAt(130000, 60);
    for (; FrameClock(k + 1, 60) < 600000; k++) {
        double step = FrameClock(k + 1, 60) - FrameClock(k, 60);
        spin += step / 25, hue += step / 50;
    }
    spin8 = spin, hue8 = hue;
    EnterScene(8, FrameClock(k, 60));
    Frame(FrameClock(k + 1, 60));
    EXPECT_EQ(kelvorin::time, 600000u);
    EXPECT_EQ(spin8, float(spin + tempo / 25));
    EXPECT_EQ(hue8, float(hue + tempo / 50));
}

TEST_F(GreetingsTest, LightColourCyclesAndLightStandsInTheSpiralsTiltedFrame) {
    const double k = TWOPI / 180;
    for (float hue : {0.0f, 45.0f, 123.4f, 1000.0f}) {
        hue8 = hue, slide8 = 2.5f;
        EnterScene(8, 150000);
        Frame(150000);
        GLfloat diffuse[4], specular[4], position[4];
        glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glGetLightfv(GL_LIGHT0, GL_SPECULAR, specular);
        glGetLightfv(GL_LIGHT0, GL_POSITION, position);
        const double want[4] = {std::cos((hue + 120) * k), std::cos((hue + 60) * k),
                                std::cos(hue * k), 1};
        for (int c = 0; c < 4; c++) {
            EXPECT_NEAR(diffuse[c], want[c], 1e-5) << hue << " channel " << c;
            EXPECT_NEAR(specular[c], want[c], 1e-5) << hue << " channel " << c;
        }
        // The direction (2, -2, 3) turned by the board's tilt twice over (the board's own
        // tilt is undone before the spiral's): a direction, so translations drop out.
        glLoadIdentity();
        gluLookAt(0, 0, 4, 0, 0, 0, 0, 1, 0);
        glRotatef(60, 0, 1, 0);
        glRotatef(-60, 1, 0, 0);
        Matrix m = Modelview();
        const double dir[3] = {2, -2, 3};
        for (int r = 0; r < 3; r++) {
            double e = m[r] * dir[0] + m[4 + r] * dir[1] + m[8 + r] * dir[2];
            EXPECT_NEAR(position[r], e, 1e-4) << "row " << r;
        }
        EXPECT_EQ(position[3], 0.0f);
    }
}

// Pixels of the eye-at-z-4 camera: where (x, y) in the plane z = 0 lands.
harness::Rect ScreenRect(double xa, double ya, double xb, double yb, int margin) {
    double f = 1 / std::tan(30 * M_PI / 180), aspect = double(harness::WIDTH) / harness::HEIGHT;
    auto px = [&](double x) { return int((f / aspect * x / 4 + 1) / 2 * harness::WIDTH); };
    auto py = [&](double y) { return int((f * y / 4 + 1) / 2 * harness::HEIGHT); };
    harness::Rect r{px(xa) + margin, py(ya) + margin, px(xb) - margin, py(yb) - margin};
    r.x0 = std::max(r.x0, 0), r.y0 = std::max(r.y0, 0);
    r.x1 = std::min(r.x1, harness::WIDTH), r.y1 = std::min(r.y1, harness::HEIGHT);
    return r;
}

TEST_F(GreetingsTest, ProbesTheTextThePictureAndTheSpiral) {
    EnterScene(8, 130000);
    for (uint32_t t = 130050; t <= 145000; t += 50) Frame(t);
    auto frame = harness::ReadFrame();
    // The picture: a 4 x 4 square round (1.2, -1.7), half the screen's lower right.
    harness::Rect picture = ScreenRect(-0.8, -3.7, 3.2, 0.3, 4);
    EXPECT_GT(harness::CountLit(frame, picture), harness::Area(picture) / 20);
    int white = 0, coloured = 0;
    for (int y = 0; y < harness::HEIGHT; y++)
        for (int x = 0; x < harness::WIDTH; x++) {
            const unsigned char *p = &frame[(size_t(y) * harness::WIDTH + x) * 3];
            int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
            bool inPicture = x >= picture.x0 - 8 && x < picture.x1 + 8 && y >= picture.y0 - 8 &&
                             y < picture.y1 + 8;
            if (inPicture) continue;
            if (lo > 200) white++;                         // the text's cubes
            else if (hi > 60 && hi - lo > 50) coloured++;  // spheres in the light's colour
        }
    EXPECT_GT(white, 200) << "the scroller's dots";
    EXPECT_GT(coloured, 500) << "the lit spiral";
}

// Half an hour in the closing scene at a tiny size: every value stays finite, and memory
// does not grow with the frames.
TEST_F(GreetingsTest, HalfAnHourInTheClosingSceneStaysFiniteAndFlat) {
    glViewport(0, 0, 32, 24);
    EnterScene(8, 130000);
    long early = 0, earlyHeap = 0;
    const uint32_t end = 130000 + 30 * 60 * 1000;
    for (uint32_t t = 130200; t <= end; t += 200) {
        Frame(t);
        glFinish();  // as a presented frame would be
        if (t == 130000 + 5 * 60 * 1000) {
            early = ResidentKilobytes();
            earlyHeap = HeapBytesInUse();
        }
    }
    glFinish();
    for (float v : {rota8, slide8, fade8, hue8, spin8, v0s2.x, v0s2.y, v0s2.z})
        EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_EQ(numscene, 8);
    EXPECT_NEAR(rota8, 70 - (end - 130000) / 85.0, 25);  // float steps over 9000 frames
    EXPECT_NEAR(std::remainder(spin8 - (end - 130000) / 25.0, 360), 0, 5);
    EXPECT_LT(spin8, 64 * 360) << "whole turns come off";
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer holds freed memory back, so its size creeps
    // 7500 frames lie between the readings: a leak of even 9 bytes a frame shows in the heap.
    // The resident size may move by a freed or reused arena (about 1 MB) either way.
    EXPECT_LT(HeapBytesInUse() - earlyHeap, 64 * 1024)
        << "heap bytes grown between minute 5 and minute 30";
    long late = ResidentKilobytes();
    ASSERT_GT(early, 0);
    EXPECT_LT(late - early, 4096) << "kB grown between minute 5 and minute 30";
#else
    (void)early, (void)earlyHeap;
#endif
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
