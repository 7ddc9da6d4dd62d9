// Scene 2, the ball spiral, under a synthetic clock: the light's fade and the colour it leaves,
// and where the balls and the picture put light on screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "offscreen_harness.h"
#include "scenes/state.h"

using namespace harness;
using kelvorin::numscene;

namespace {

using Scene2Test = harness::OffscreenTest;

TEST_F(Scene2Test, BallLightFadesUpAfterSeventeenAndAHalfSeconds) {
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

TEST_F(Scene2Test, BallsLightUpBesideThePicture) {
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

}  // namespace
