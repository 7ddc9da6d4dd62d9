// The shell without a display: the window procedure, the view, the render state of a new
// context, the dispatcher and the texture table. The Linux edition's key codes are tested with
// its backends (tests/linux/keys_sdl_test.cpp).
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "assets/textures.h"
#include "offscreen_harness.h"
#include "platform/keys.h"
#include "shell/render_state.h"

using namespace kelvorin;

TEST(WindowProc, KeysAndActivation) {
    platform = &offscreenPlatform;
    DemoWindowProc(Event{EV_KEYDOWN, VK_F1, false, 0, 0, VK_F1});
    EXPECT_EQ(keyState[VK_F1], 1);
    DemoWindowProc(Event{EV_KEYDOWN, VK_F1, false, 0, 0, VK_F1});  // auto-repeat
    DemoWindowProc(Event{EV_KEYUP, VK_F1, false, 0, 0, VK_F1});
    EXPECT_EQ(keyState[VK_F1], 0);
    DemoWindowProc(Event{EV_KEYDOWN, 300, false, 0, 0, 0});  // out of range: ignored
    DemoWindowProc(Event{EV_ACTIVATE, 0, true, 0, 0, 0});
    EXPECT_FALSE(windowActive);
    DemoWindowProc(Event{EV_ACTIVATE, 0, false, 0, 0, 0});
    EXPECT_TRUE(windowActive);
}

namespace {

double ProjectionAspect() {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return m[5] / m[0];  // f / (f / aspect)
}

}  // namespace

TEST(View, ZeroHeightAndAspect) {
    ASSERT_TRUE(harness::OpenOffscreen());
    GLint view[4];
    ResizeView(640, 0);
    glGetIntegerv(GL_VIEWPORT, view);
    EXPECT_EQ(view[2], 640);
    EXPECT_EQ(view[3], 1);
    EXPECT_NEAR(ProjectionAspect(), 640.0, 1e-6);
    ResizeView(800, 600);
    EXPECT_NEAR(ProjectionAspect(), 4.0 / 3.0, 1e-6);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5], 1 / std::tan(M_PI / 6), 1e-6);  // 60 degrees
    double n = (double)0.1f, f = 100.0;
    EXPECT_NEAR(m[10], -(f + n) / (f - n), 1e-6);
    EXPECT_NEAR(m[14], -2 * f * n / (f - n), 1e-6);
    ResizeView(1024, 768);
    EXPECT_NEAR(ProjectionAspect(), 4.0 / 3.0, 1e-6);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    // A size change from the window resizes the view too.
    DemoWindowProc(Event{EV_SIZE, 0, false, 320, 200, 0});
    glGetIntegerv(GL_VIEWPORT, view);
    EXPECT_EQ(view[2], 320);
    EXPECT_EQ(view[3], 200);
}

namespace {

void ExpectVector(GLenum light, GLenum what, const float *expected, bool material = false) {
    GLfloat v[4] = {-9, -9, -9, -9};
    if (material) glGetMaterialfv(light, what, v);
    else glGetLightfv(light, what, v);
    for (int i = 0; i < 4; i++) EXPECT_FLOAT_EQ(v[i], expected[i]) << "component " << i;
}

void ExpectStartState() {
    const float blue[4] = {0.5f, 0.75f, 1.0f, 1.0f}, position[4] = {2, -2, 3, 0};
    ExpectVector(GL_FRONT, GL_SPECULAR, blue, true);
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 90.0f);
    ExpectVector(GL_LIGHT0, GL_POSITION, position);
    ExpectVector(GL_LIGHT0, GL_DIFFUSE, blue);
    ExpectVector(GL_LIGHT0, GL_SPECULAR, blue);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint v;
    glGetIntegerv(GL_SHADE_MODEL, &v);
    EXPECT_EQ(v, GL_SMOOTH);
    glGetIntegerv(GL_BLEND_SRC, &v);
    EXPECT_EQ(v, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &v);
    EXPECT_EQ(v, GL_ONE);
    glGetIntegerv(GL_DEPTH_FUNC, &v);
    EXPECT_EQ(v, GL_LEQUAL);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &v);
    EXPECT_EQ(v, GL_NICEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.0f);
    EXPECT_FLOAT_EQ(clear[2], 0.0f);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    GLfloat depth;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_FLOAT_EQ(depth, 1.0f);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

}  // namespace

TEST(RenderState, NewContextStartsFromTheDemoState) {
    ASSERT_TRUE(harness::OpenOffscreen());
    ExpectStartState();
}

TEST(RenderState, ReopeningSetsTheLightBackAndReloadsTextures) {
    ASSERT_TRUE(harness::OpenOffscreen());
    const GLfloat dim[4] = {0.1f, 0.1f, 0.1f, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, dim);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ZERO);
    CloseDemoWindow();
    ASSERT_TRUE(OpenDemoWindow("KELVORIN", 1024, 768, 16, false));
    ExpectStartState();
    for (int i = 0; i < NUM_TEXTURES; i++) EXPECT_TRUE(glIsTexture(texture[i])) << i;
}

TEST(Dispatcher, UnknownSceneDrawsNothingAndKeepsItsId) {
    ASSERT_TRUE(harness::OpenOffscreen());
    glClearColor(0, 0, 0, 0.5f);
    numscene = 6;  // no scene has this id
    glColor3f(1, 1, 1);
    harness::Frame(1000);
    EXPECT_EQ(numscene, 6);
    auto frame = harness::ReadFrame();
    EXPECT_EQ(harness::CountLit(frame, harness::Rect{0, 0, harness::WIDTH, harness::HEIGHT}, 0), 0);
    // DrawFrame leaves the modelview at the identity for the scene.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; i++) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f);
}

TEST(Textures, AllTwentyThreeInIndexOrder) {
    ASSERT_TRUE(harness::OpenOffscreen());
    for (int i = 0; i < NUM_TEXTURES; i++) {
        ASSERT_NE(texture[i], 0u);
        if (i) {
            EXPECT_GT(texture[i], texture[i - 1]) << "names come from one call, in order";
        }
        RGBImage *image = LoadDIBImage(textureFiles[i]);
        ASSERT_NE(image, nullptr) << textureFiles[i];
        glBindTexture(GL_TEXTURE_2D, texture[i]);
        GLint w, h, filter;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(w, image->width) << textureFiles[i];
        EXPECT_EQ(h, image->height) << textureFiles[i];
        EXPECT_EQ(filter, GL_LINEAR);
        // The texture holds the file's pixels, bottom row first.
        std::vector<unsigned char> pixels((size_t)w * h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        EXPECT_EQ(0, memcmp(pixels.data(), image->data, pixels.size())) << textureFiles[i];
        free(image->data);
        free(image);
    }
    GLint bound;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_NE(bound, 0);
}

TEST(Textures, MissingLastFileCreatesNoTexture) {
    std::string dir = KELVORIN_BUILD_DIR "/Data";
    char tmp[] = "/tmp/kelvorin-textures-XXXXXX";
    std::string run = mkdtemp(tmp);
    ASSERT_EQ(std::system(("mkdir " + run + "/Data && cp " + dir + "/*.bmp " + run +
                           "/Data/ && rm " + run + "/Data/soleil.bmp")
                              .c_str()),
              0);
    ASSERT_EQ(chdir(run.c_str()), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(harness::OpenOffscreen());
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ERROR: Initialization Failed.\n"), std::string::npos) << err;
    EXPECT_EQ(err.find("Error:"), std::string::npos) << "a missing file shows no loader box";
    for (int i = 0; i < NUM_TEXTURES; i++) EXPECT_EQ(texture[i], 0u);
    std::filesystem::remove_all(run);
}

namespace {

// A backend whose boxes and failure reasons the test decides.
std::string pendingReason;
int boxAnswer = IDOK;
std::string boxReason;  // what the backend says after showing the box
const char *TakeTestReason() {
    static std::string taken;
    taken = pendingReason;
    pendingReason.clear();
    return taken.c_str();
}
int TestBox(const char *, const char *, unsigned) {
    pendingReason = boxReason;
    return boxAnswer;
}

std::string BoxLines(const char *text, const char *caption, const char *reason, int answer,
                     const char *afterBox = "") {
    static Platform backend = offscreenPlatform;
    backend.messageBox = TestBox;
    backend.takeError = TakeTestReason;
    platform = &backend;
    pendingReason = reason;
    boxAnswer = answer;
    boxReason = afterBox;
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox(text, caption, MB_OK), answer);
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(MessageBoxLine, CarriesTheReasonOfTheFailedStepOnce) {
    EXPECT_EQ(BoxLines("Program Will\nNow Close.", "ERROR", "", IDOK),
              "ERROR: Program Will Now Close.\n");
    EXPECT_EQ(BoxLines("Can't Create A GL Device Context.", "ERROR", "no window", IDOK),
              "ERROR: Can't Create A GL Device Context. (no window)\n");
    // The reason was taken with the first box; the next box says nothing of it.
    EXPECT_EQ(BoxLines("Initialization Failed.", "ERROR", "", IDOK),
              "ERROR: Initialization Failed.\n");
    // A box that cannot be shown says why on a line of its own; a shown box's leftovers are
    // not carried to the next line.
    EXPECT_EQ(BoxLines("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?", "",
                       IDFAILED, "no display"),
              "Start FullScreen?: Would You Like To Run In Fullscreen Mode?\n"
              "Start FullScreen?: box not shown (no display)\n");
    EXPECT_EQ(BoxLines("Yes?", "Vask GL", "", IDYES, "left over"), "Vask GL: Yes?\n");
    EXPECT_EQ(BoxLines("Program Will Now Close.", "ERROR", "", IDOK),
              "ERROR: Program Will Now Close.\n");
    platform = nullptr;
}
