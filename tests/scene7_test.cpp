// The finale under a synthetic clock: camera cuts and flight, zoom, spin, the space box's
// brightness, the sun layers' spans, the set's geometry, the petals and the swirl, and probes.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "offscreen_harness.h"
#include "scenes/scene7.h"
#include "scenes/state.h"
#include "timeline/random.h"

using harness::EnterScene;
using harness::FeedbackEye;
using harness::Frame;
using harness::Primitive;
using harness::Vertex;
using namespace kelvorin;

namespace {

using Matrix = std::array<float, 16>;

class FinaleTest : public harness::OffscreenTest {
  protected:
    void SetUp() override {
        OffscreenTest::SetUp();
        glViewport(0, 0, 80, 60);  // geometry and values only; the probes set it back
    }
};

Matrix Modelview() {
    Matrix m;
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

Matrix LookAt(double ex, double ey, double ez, double cx, double cy, double cz) {
    glLoadIdentity();
    gluLookAt(ex, ey, ez, cx, cy, cz, 0, 1, 0);
    return Modelview();
}

const Matrix IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void ExpectMatrix(const Matrix &got, const Matrix &want, const char *what,
                  double tolerance = 1e-5) {
    for (int k = 0; k < 16; k++)
        ASSERT_NEAR(got[k], want[k], tolerance) << what << " element " << k;
}

// A frame with delta 0 at clock t, the set at full size and unturned: what is left on the
// modelview at the end is the camera alone.
Matrix CameraAt(uint32_t t) {
    s0s7 = 1, r0s7 = 0;
    EnterScene(7, t);
    Frame(t);
    return Modelview();
}

TEST_F(FinaleTest, CameraCutsHoldStrictlyInsideTheirWindows) {
    struct Cut {
        uint32_t from, to;
        double eye[3], centre[3];
    };
    const Cut cuts[] = {
        {84000, 86000, {0, 4, 5}, {0, 0, 0}},   {86000, 88000, {0, 2, 4}, {0, 0, 0}},
        {88000, 90000, {0, 0.2, 1}, {0, 2, 0}}, {90000, 92000, {4, 0.5, 0}, {0, 0, 0}},
        {92000, 94000, {0, 4, 5}, {0, 0, 0}},   {94000, 115000, {0, 4, 8}, {0, 0, 0}},
    };
    ExpectMatrix(CameraAt(80600), LookAt(0, 6, 5, 0, 0, 0), "before 84 s");
    ExpectMatrix(CameraAt(83999), LookAt(0, 6, 5, 0, 0, 0), "83999");
    for (const Cut &c : cuts) {
        SCOPED_TRACE(c.from);
        Matrix view = LookAt(c.eye[0], c.eye[1], c.eye[2], c.centre[0], c.centre[1], c.centre[2]);
        ExpectMatrix(CameraAt(c.from), IDENTITY, "on the opening boundary");
        ExpectMatrix(CameraAt(c.from + 1), view, "just inside");
        ExpectMatrix(CameraAt((c.from + c.to) / 2), view, "midway");
        ExpectMatrix(CameraAt(c.to - 1), view, "last inside");
        ExpectMatrix(CameraAt(c.to), IDENTITY, "on the closing boundary");
    }
    EXPECT_EQ(m0s7, 0.0f) << "no flight up to 115000";
}

TEST_F(FinaleTest, FlightGlidesDownThenClimbsStraightUp) {
    s0s7 = 1;
    EnterScene(7, 115000);
    Frame(115020);
    EXPECT_FLOAT_EQ(m0s7, 0.01f);
    EXPECT_FLOAT_EQ(m1s7, 0.02f);
    EXPECT_EQ(m2s7, 0.0f);
    // The climb starts in the first frame that finds the travel done, the approach not yet.
    m0s7 = 3.99f, m1s7 = 7.0f;
    Frame(115040);
    EXPECT_GE(m0s7, 4.0f);
    EXPECT_FLOAT_EQ(m2s7, 20.0f / 750);
    r0s7 = 0;
    Frame(115040 + 0);  // a still frame to read the view
    ExpectMatrix(Modelview(), LookAt(0, 4 - m0s7 + m2s7, 8 - m1s7, 0, m0s7 + m2s7, 0), "climb");

    // Both limits are only tested, never clamped.
    EnterScene(7, 115000);
    m0s7 = 0, m1s7 = 0, m2s7 = 0;
    for (uint32_t t = 115017; t <= 130000; t += 17) Frame(t);
    EXPECT_GE(m0s7, 4.0f);
    EXPECT_LT(m0s7, 4.0f + 17.0f / 2000);
    EXPECT_GE(m1s7, 8.0f);
    EXPECT_LT(m1s7, 8.0f + 17.0f / 1000);
    EXPECT_NEAR(m2s7, (130000 - 123000) / 750.0, 0.1);
}

// Looking exactly along the up vector, the view is still a proper rotation: the one the flight
// settles into just past that point.
TEST_F(FinaleTest, LookingStraightUpGivesASoundView) {
    m0s7 = 4.5f, m1s7 = 8.0f, m2s7 = 1.0f;
    Matrix exact = CameraAt(126000);
    for (float v : exact) ASSERT_TRUE(std::isfinite(v));
    // The rotation part is orthonormal with determinant 1.
    auto at = [&](int row, int col) { return double(exact[col * 4 + row]); };
    for (int a = 0; a < 3; a++)
        for (int b = 0; b < 3; b++) {
            double dot = at(a, 0) * at(b, 0) + at(a, 1) * at(b, 1) + at(a, 2) * at(b, 2);
            EXPECT_NEAR(dot, a == b ? 1 : 0, 1e-5) << a << ", " << b;
        }
    m1s7 = 8.0001f;
    Matrix past = CameraAt(126000);
    ExpectMatrix(exact, past, "against the view just past straight up", 1e-3);
}

TEST_F(FinaleTest, ZoomGrowsTheSetAndItsLastScaledFrameIsJustAboveOne) {
    EnterScene(7, 80500);
    Frame(80520);
    EXPECT_NEAR(s0s7, 1e-7 + 20.0 / 10000, 1e-7);
    s0s7 = 0.999f, r0s7 = 0;
    Frame(80540);  // 0.999 + 0.002
    float scale = s0s7;
    EXPECT_GT(scale, 1.0f);
    Matrix m = Modelview();
    // The look-at is a rotation and a translation, so the length of the x column is the scale
    // (the spin about y keeps it too).
    EXPECT_NEAR(std::hypot(m[0], m[1], m[2]), scale, 1e-5);
    Frame(80560);
    EXPECT_EQ(s0s7, scale) << "no longer grows";
    m = Modelview();
    EXPECT_NEAR(std::hypot(m[0], m[1], m[2]), 1.0, 1e-5);

    // One very long first frame ends the zoom at once.
    s0s7 = 1e-7f;
    EnterScene(7, 80500);
    Frame(90600);
    EXPECT_GE(s0s7, 1.0f);
    Frame(90620);
    EXPECT_NEAR(std::hypot(Modelview()[0], Modelview()[1], Modelview()[2]), 1.0, 1e-5);
}

TEST_F(FinaleTest, SpinIsNotWrappedAndExitComesAfterOneHundredThirtySeconds) {
    r0s7 = 359.9f;
    EnterScene(7, 100000);
    Frame(100020);
    EXPECT_NEAR(r0s7, 360.1f, 1e-4);
    EnterScene(7, 129980);
    Frame(130000);
    EXPECT_EQ(numscene, 7);
    Frame(130001);
    EXPECT_EQ(numscene, 8);
}

TEST_F(FinaleTest, SpaceBoxRisesHoldsFallsAndNeverRisesAgain) {
    EnterScene(7, 84980);
    Frame(85000);
    EXPECT_EQ(a0s7, 0.0f) << "85000 is not above 85 s";
    Frame(85001);
    EXPECT_FLOAT_EQ(a0s7, 0.001f);
    float peak = 0;
    for (uint32_t t = 85020; t <= 126980; t += 20) {
        float before = a0s7;
        Frame(t);
        if (before < 1) {
            ASSERT_NEAR(a0s7, before + tempo / 1000, 1e-6) << t;
        } else {
            ASSERT_EQ(a0s7, before) << t;
        }
        peak = a0s7;
    }
    EXPECT_GE(peak, 1.0f);
    EXPECT_LT(peak, 1.02f);
    a0s7 = 0.5f;
    Frame(127000);
    EXPECT_FLOAT_EQ(a0s7, 0.52f) << "127000 can still rise";
    float previous = a0s7;
    for (uint32_t t = 127020; t <= 130000; t += 20) {
        Frame(t);
        if (previous > 0) {
            ASSERT_NEAR(a0s7, previous - 20.0f / 3000, 1e-6) << t;
        } else {
            ASSERT_EQ(a0s7, previous) << "stays where it fell below 0, at " << t;
        }
        previous = a0s7;
    }
    EXPECT_LT(a0s7, 0.0f);
}

// Triangles a still frame at t sends, with no petals active.
size_t TrianglesAt(uint32_t t) {
    s0s7 = 1, n0s7 = 0;
    EnterScene(7, t);
    return FeedbackEye([t] { Frame(t); }, 64).size();
}

TEST_F(FinaleTest, SunLayersShowOnlyInTheirTwoSpans) {
    const size_t set = 2 + 10 * 8 * 2, box = 12, sun = 10;
    EXPECT_EQ(TrianglesAt(84000), set);
    EXPECT_EQ(TrianglesAt(85001), set + box);
    EXPECT_EQ(TrianglesAt(88000), set + box);
    EXPECT_EQ(TrianglesAt(88001), set + box + sun);
    EXPECT_EQ(TrianglesAt(89999), set + box + sun);
    EXPECT_EQ(TrianglesAt(90000), set + box);
    EXPECT_EQ(TrianglesAt(120800), set + box);
    EXPECT_EQ(TrianglesAt(120801), set + box + sun);
    EXPECT_EQ(TrianglesAt(129000), set + box + sun);
    // The layers leave blending off and depth testing on, so the floor is drawn opaque.
    SunLayers();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(FinaleTest, FloorAndTenColumnsAreWhereTheyStand) {
    glDisable(GL_LIGHTING);  // as the finale's frame leaves it
    r0s7 = 0;
    auto prims = FeedbackEye([] { TiledFloor(); }, 16);
    ASSERT_EQ(prims.size(), 2u);
    for (const Primitive &p : prims)
        for (const Vertex &v : p.v) {
            EXPECT_NEAR(std::fabs(v.x), 10, 1e-4);
            EXPECT_NEAR(v.y, 0, 1e-4);
            EXPECT_NEAR(std::fabs(v.z), 10, 1e-4);
            EXPECT_NEAR(v.s, v.x > 0 ? 0 : 5, 1e-4) << "the tiles repeat five times";
            EXPECT_NEAR(v.t, v.z > 0 ? 0 : 5, 1e-4);
        }

    prims = FeedbackEye([] { StoneColumns(); }, 16);
    ASSERT_EQ(prims.size(), 10u * 8 * 2);
    for (size_t n = 0; n < prims.size(); n++) {
        int column = int(n / 16), face = int(n % 16 / 2);
        double cx = column % 2 ? 8 : -8, cz = -8 + 4 * (column / 2);
        double a0 = face / 8.0 * TWOPI, a1 = (face + 1) / 8.0 * TWOPI;
        for (const Vertex &v : prims[n].v) {
            SCOPED_TRACE(testing::Message() << "column " << column << " face " << face);
            double dx = v.x - cx, dz = v.z - cz;
            bool first = std::fabs(dx - 0.25 * std::cos(a0)) < 1e-4 &&
                         std::fabs(dz - 0.25 * std::sin(a0)) < 1e-4;
            bool second = std::fabs(dx - 0.25 * std::cos(a1)) < 1e-4 &&
                          std::fabs(dz - 0.25 * std::sin(a1)) < 1e-4;
            ASSERT_TRUE(first || second) << v.x << ", " << v.z;
            ASSERT_TRUE(std::fabs(v.y) < 1e-4 || std::fabs(v.y - 3) < 1e-4);
            EXPECT_NEAR(v.s, first ? 0 : 1, 1e-4);
            EXPECT_NEAR(v.t, v.y > 1 ? 1 : 0, 1e-4);
            EXPECT_NEAR(v.r, 0.8, 1e-3);
        }
    }

    // The columns leave the matrix as the floor's spin left it.
    glLoadIdentity();
    r0s7 = 417;
    TiledFloor();
    Matrix afterFloor = Modelview();
    StoneColumns();
    ExpectMatrix(Modelview(), afterFloor, "after the columns");
}

// Petal k not landed and unturned, at (x, y, z) with the given fall speed.
void OnePetal(int k, float x, float y, float z, float speed) {
    tab0s7[k] = {x, y, z};
    tab1s7[k] = speed;
    tab2s7[k] = false;
    tab3s7[k] = 0;
}

bool PetalDrawnAt(const std::vector<Primitive> &prims, double x, double y, double z) {
    for (const Primitive &p : prims) {
        bool near = true;
        for (const Vertex &v : p.v)
            near &= std::fabs(v.x - x) < 0.076 && std::fabs(v.y - y) < 0.051 &&
                    std::fabs(v.z - z) < 1e-3;
        if (near) return true;
    }
    return false;
}

TEST_F(FinaleTest, PetalsLandOnTheFloorEdgesAndStartAgainOffIt) {
    n0s7 = 3.5f;  // petals 0, 1 and 2 active
    tempo = 20;
    OnePetal(0, 10, 0.3125f, -10, 0.015625f);  // reaches exactly 0 on the corner
    OnePetal(1, 10.001f, 0.1f, 0, 0.01f);      // just off the floor
    OnePetal(2, -3, 5, 4, 0.01f);              // still falling
    uint32_t state = randState;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    };
    int r1 = next(), r2 = next();
    auto prims = FeedbackEye([] { Petals(84000); }, 64);
    EXPECT_TRUE(tab2s7[0]);
    EXPECT_EQ(tab1s7[0], 0.0f);
    EXPECT_EQ(tab0s7[0].y, 0.0f);
    EXPECT_EQ(tab0s7[0].x, 10.0f);
    EXPECT_FALSE(tab2s7[1]);
    EXPECT_EQ(tab1s7[1], 0.01f) << "keeps its speed";
    EXPECT_EQ(tab0s7[1].y, 10.0f);
    EXPECT_FLOAT_EQ(tab0s7[1].x, float(r1 / 819.2 - 20));
    EXPECT_FLOAT_EQ(tab0s7[1].z, float(r2 / 819.2 - 20));
    EXPECT_EQ(randState, state) << "two draws";
    EXPECT_FLOAT_EQ(tab0s7[2].y, 4.8f);
    EXPECT_EQ(prims.size(), 6u);
    EXPECT_TRUE(PetalDrawnAt(prims, tab0s7[1].x, 10, tab0s7[1].z)) << "drawn at its new start";
    EXPECT_TRUE(PetalDrawnAt(prims, 10, 0, -10));
}

TEST_F(FinaleTest, NothingMovesBeforeEightyThreeSecondsAndTheCountStopsAtTheFiveHundred) {
    Point start[POOL_C];
    for (int k = 0; k < POOL_C; k++) start[k] = tab0s7[k];
    EnterScene(7, 80500);
    for (uint32_t t = 80520; t <= 83000; t += 20) Frame(t);
    EXPECT_EQ(n0s7, 0.0f);
    for (int k = 0; k < POOL_C; k++) ASSERT_EQ(start[k].y, tab0s7[k].y) << k;
    Frame(83020);
    EXPECT_FLOAT_EQ(n0s7, 0.4f);
    EXPECT_EQ(nn0s7, 0);
    EXPECT_EQ(tab0s7[0].y, 20.0f) << "a petal moves only once the count reaches it";
    for (uint32_t t = 83040; t <= 83060; t += 20) Frame(t);
    EXPECT_EQ(nn0s7, 1);
    EXPECT_LT(tab0s7[0].y, 20.0f);

    n0s7 = 499;
    Frame(83260);  // one long frame: 499 + 4
    EXPECT_FLOAT_EQ(n0s7, 503.0f);
    EXPECT_EQ(nn0s7, 500);
    Frame(83280);
    EXPECT_FLOAT_EQ(n0s7, 503.0f);
    EXPECT_EQ(nn0s7, 500);
}

TEST_F(FinaleTest, SwirlTurnsLiftsAndDrawsLandedPetals) {
    n0s7 = 3.5f;
    tempo = 20;
    OnePetal(0, 0.5f, 0, 0.2f, 0);  // landed inside the swirl's first square
    OnePetal(1, 5, 0, 1, 0);        // landed outside it, turned by its old angle
    OnePetal(2, 0.001f, 0, -0.001f, 0);
    for (int k = 0; k < 3; k++) tab2s7[k] = true;
    tab3s7[1] = 30;

    sizes7 = 0;
    Petals(93000);
    EXPECT_EQ(sizes7, 0.0f) << "93000 is not above 93 s";
    EXPECT_EQ(tab3s7[2], 0.0f);
    Petals(93001);
    EXPECT_FLOAT_EQ(sizes7, 0.004f) << "grows before the petals are processed";
    EXPECT_FLOAT_EQ(tab3s7[2], 2.0f) << "already swirled in the first frame";

    sizes7 = 1;
    auto prims = FeedbackEye([] { Petals(95000); }, 64);
    EXPECT_FLOAT_EQ(sizes7, 1.004f);
    EXPECT_FLOAT_EQ(tab3s7[0], 2.0f);
    EXPECT_FLOAT_EQ(tab0s7[0].y, 0.01f);
    EXPECT_FLOAT_EQ(tab0s7[0].x, 0.49f) << "drifts towards 0.3";
    EXPECT_FLOAT_EQ(tab0s7[0].z, 0.21f);
    EXPECT_EQ(tab0s7[1].x, 5.0f);
    EXPECT_EQ(tab3s7[1], 30.0f) << "outside the square the angle stays";
    // Petal 1 is drawn turned by 30 degrees about y: its centre lands at the turned point.
    double a = 30 * M_PI / 180;
    double cx = 5 * std::cos(a) + 1 * std::sin(a), cz = -5 * std::sin(a) + 1 * std::cos(a);
    bool found = false;
    for (const Primitive &p : prims) {
        double sx = 0, sz = 0;
        for (const Vertex &v : p.v) sx += v.x, sz += v.z;
        found |= std::fabs(sx / p.v.size() - cx) < 0.08 && std::fabs(sz / p.v.size() - cz) < 0.08;
    }
    EXPECT_TRUE(found);
    // The turn is undone after each petal.
    ExpectMatrix(Modelview(), IDENTITY, "after the petals");
}

TEST_F(FinaleTest, ProbesTheSetAsItGrowsAndTheSunFromTheFloor) {
    glViewport(0, 0, harness::WIDTH, harness::HEIGHT);
    const harness::Rect whole = {0, 0, harness::WIDTH, harness::HEIGHT};
    const harness::Rect lower = {0, 0, harness::WIDTH, harness::HEIGHT / 3};
    EnterScene(7, 80500);
    Frame(80600);
    auto frame = harness::ReadFrame();
    EXPECT_LT(harness::CountLit(frame, whole), harness::Area(whole) / 1000) << "shrunk to a point";

    for (uint32_t t = 80700; t <= 89000; t += 100) Frame(t);
    frame = harness::ReadFrame();
    // Looking up from the floor: the sun is the brightest thing, above the centre.
    const harness::Rect top = {harness::WIDTH / 4, harness::HEIGHT / 2, 3 * harness::WIDTH / 4,
                               harness::HEIGHT};
    EXPECT_GT(harness::CountLit(frame, top, 240), 100);

    for (uint32_t t = 89100; t <= 100000; t += 100) Frame(t);
    frame = harness::ReadFrame();
    EXPECT_GT(harness::CountLit(frame, lower), harness::Area(lower) * 95 / 100) << "the floor";
    EXPECT_GT(harness::CountLit(frame, whole), harness::Area(whole) * 80 / 100) << "floor and box";
}

}  // namespace
