// The afterglow of reduced flashing on the offscreen context: how much of the earlier picture
// each frame keeps, how it restarts, and that it leaves the render state as it found it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "assets/textures.h"
#include "offscreen_harness.h"
#include "scenes/reduced_flashing.h"
#include "shell/afterglow.h"
#include "shell/render_state.h"
#include "shell/window.h"
#include "timeline/clock.h"

using namespace kelvorin;

namespace {

class AfterglowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
        reducedFlashing = true;
    }
};

// A frame of one grey level, tempo ms after the last, with its afterglow; returns the red
// channel of the pixel at the view's centre.
int Frame(int grey, double ms = 1000.0 / 60) {
    tempo = ms;
    glClearColor(grey / 255.0f, grey / 255.0f, grey / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawAfterglow();
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    unsigned char pixel[3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(view[2] / 2, view[3] / 2, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    return pixel[0];
}

TEST_F(AfterglowTest, EachFrameKeepsFourFifthsOfTheLastPerSixtiethOfASecond) {
    EXPECT_EQ(Frame(255), 255) << "the first frame shows as drawn";
    EXPECT_NEAR(Frame(0), 204, 1);
    EXPECT_NEAR(Frame(0), 163, 2);
    EXPECT_NEAR(Frame(0, 2000.0 / 60), 104, 3) << "twice the time keeps (4/5)^2";
    EXPECT_EQ(Frame(200, 1000), 200) << "a second later nothing is left";
    Frame(255);
    int left = 255;
    for (int i = 0; i < AFTERGLOW_FRAMES; i++) left = Frame(0);
    // Under one level of the earlier picture is left; the rounding of each blend may hold a
    // still area two levels off (a fifth of 2 rounds to nothing).
    EXPECT_LE(left, 2) << "after AFTERGLOW_FRAMES frames";
}

TEST_F(AfterglowTest, RestartsAndNewViewsShowTheFrameAsDrawn) {
    Frame(255);
    RestartAfterglow();
    EXPECT_EQ(Frame(0), 0);
    Frame(255);
    UseSkimView(harness::WIDTH, harness::HEIGHT);
    EXPECT_EQ(Frame(0), 0) << "a view of another size";
    EXPECT_NEAR(Frame(255), 51, 1) << "and the next blends again";
    ResizeView(harness::WIDTH, harness::HEIGHT);
    Frame(255);
    reducedFlashing = false;
    EXPECT_EQ(Frame(0), 0) << "without reduced flashing";
    reducedFlashing = true;
    EXPECT_EQ(Frame(0), 0) << "turned on again, it starts afresh";
}

TEST_F(AfterglowTest, ANewContextMakesItsOwnTexture) {
    Frame(255);
    CloseDemoWindow();  // as F1 does: the old context and its textures go
    ASSERT_TRUE(harness::OpenOffscreen());
    EXPECT_EQ(Frame(0), 0) << "the first frame of the new context shows as drawn";
    EXPECT_EQ(Frame(0), 0) << "and the next blends with it, not with a texture of the old one";
    EXPECT_NEAR(Frame(255), 51, 1);
}

TEST_F(AfterglowTest, LeavesTheRenderStateAsItFoundIt) {
    Frame(255);
    const GLenum CAPS[] = {GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING, GL_DEPTH_TEST};
    for (bool on : {false, true}) {
        SCOPED_TRACE(on);
        for (GLenum cap : CAPS) on ? glEnable(cap) : glDisable(cap);
        glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
        glBindTexture(GL_TEXTURE_2D, texture[5]);
        glTranslatef(1, 2, 3);
        GLdouble projection[16], modelview[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        tempo = 16;
        DrawAfterglow();
        for (GLenum cap : CAPS) EXPECT_EQ(glIsEnabled(cap), on ? GL_TRUE : GL_FALSE) << cap;
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[1], 0.2f);
        EXPECT_FLOAT_EQ(colour[3], 0.4f);
        GLint bound, mode, source, destination;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
        EXPECT_EQ(GLuint(bound), texture[5]);
        EXPECT_EQ(mode, GL_MODELVIEW);
        EXPECT_EQ(source, GL_SRC_ALPHA);
        EXPECT_EQ(destination, GL_ONE);
        GLdouble after[16];
        glGetDoublev(GL_PROJECTION_MATRIX, after);
        for (int i = 0; i < 16; i++) EXPECT_EQ(after[i], projection[i]);
        glGetDoublev(GL_MODELVIEW_MATRIX, after);
        for (int i = 0; i < 16; i++) EXPECT_EQ(after[i], modelview[i]);
    }
}

}  // namespace
