// Shared by the offscreen tests: a rendering context, a synthetic demo clock, read-back of the
// frame and OpenGL feedback of what a drawing call sends.
#pragma once
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/platform.h"
#include "scenes/dispatcher.h"
#include "shell/offline_run.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace harness {

constexpr int WIDTH = 800, HEIGHT = 600;

// The demo's own start-up path on the offscreen backend; needs Data/ in the working directory.
inline bool OpenOffscreen() {
    return kelvorin::OpenOfflineWindow(kelvorin::offscreenPlatform, WIDTH, HEIGHT);
}

// A test case on the demo's own window: opened before each case, as the program opens it.
class OffscreenTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(OpenOffscreen()) << "needs Data/ with the 23 pictures"; }
};

// One frame at clock t that nobody sees (no afterglow, no present): the delta counts from the
// previous frame's clock (the first frame's from 0).
inline bool anyFrame = false;
inline void Frame(uint32_t t) {
    kelvorin::DrawUnseenFrameAt(t);
    anyFrame = true;
}

// Frames every step ms, starting at 0 (or after the last frame), up to and including until.
inline void PlayTo(uint32_t until, uint32_t step) {
    uint32_t t = anyFrame ? kelvorin::time + step : 0;
    for (; t <= until; t += step) Frame(t);
}

// Puts the timeline straight into a scene, as if its previous frame had been drawn at clock t:
// the next Frame's delta counts from t. The scene's own values are as the program loaded them.
inline void EnterScene(int32_t id, uint32_t t) {
    kelvorin::numscene = id;
    kelvorin::time = t;
    anyFrame = true;
}

// The frame as RGB bytes, bottom row first.
inline std::vector<unsigned char> ReadFrame() {
    std::vector<unsigned char> pixels(size_t(WIDTH) * HEIGHT * 3);
    kelvorin::ReadBackFrame(WIDTH, HEIGHT, kelvorin::PIXELS_RGB, pixels.data());
    return pixels;
}

// A pixel rectangle [x0, x1) x [y0, y1), rows counted from the bottom.
struct Rect {
    int x0, y0, x1, y1;
};
const Rect WHOLE = {0, 0, WIDTH, HEIGHT};

// Where a rectangle in the plane z of the scenes' camera (eye at z = 5, 60 degrees, 4:3) lands
// on screen, shrunk by a margin of pixels so that edge pixels do not decide a probe.
inline Rect WorldRect(double xa, double ya, double xb, double yb, double z, int margin) {
    double f = 1 / std::tan(30 * M_PI / 180), aspect = double(WIDTH) / HEIGHT;
    auto px = [&](double x) { return (f / aspect * x / (5 - z) + 1) / 2 * WIDTH; };
    auto py = [&](double y) { return (f * y / (5 - z) + 1) / 2 * HEIGHT; };
    Rect r{int(std::ceil(px(xa))) + margin, int(std::ceil(py(ya))) + margin,
           int(std::floor(px(xb))) - margin, int(std::floor(py(yb))) - margin};
    r.x0 = std::max(r.x0, 0), r.y0 = std::max(r.y0, 0);
    r.x1 = std::min(r.x1, WIDTH), r.y1 = std::min(r.y1, HEIGHT);
    return r;
}

// Pixels of the rectangle whose brightest channel is above the threshold.
inline int CountLit(const std::vector<unsigned char> &frame, Rect r, int threshold = 8) {
    int n = 0;
    for (int y = r.y0; y < r.y1; y++)
        for (int x = r.x0; x < r.x1; x++) {
            const unsigned char *p = &frame[(size_t(y) * WIDTH + x) * 3];
            if (std::max({p[0], p[1], p[2]}) > threshold) n++;
        }
    return n;
}

inline int Area(Rect r) { return std::max(0, r.x1 - r.x0) * std::max(0, r.y1 - r.y0); }

// The darkest channel of the whole frame.
inline int MinChannel(const std::vector<unsigned char> &frame) {
    int m = 255;
    for (unsigned char c : frame) m = std::min(m, int(c));
    return m;
}

// One vertex as feedback returns it, mapped back to object coordinates (the feedback runs
// with identity projection and modelview, so window coordinates invert simply).
struct Vertex {
    float x, y, z;
    float r, g, b, a;
    float s, t;
};
struct Primitive {
    GLenum kind;  // GL_POINT_TOKEN, GL_LINE_TOKEN, GL_LINE_RESET_TOKEN or GL_POLYGON_TOKEN
    std::vector<Vertex> v;
};

inline std::vector<Primitive> Feedback(const std::function<void()> &draw) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLint view[4];
    glGetIntegerv(GL_VIEWPORT, view);
    static std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflowed";
    std::vector<Primitive> prims;
    auto vertex = [&](GLint &i) {
        Vertex v;
        v.x = (buffer[i] - view[0]) / view[2] * 2 - 1;
        v.y = (buffer[i + 1] - view[1]) / view[3] * 2 - 1;
        v.z = buffer[i + 2] * 2 - 1;
        v.r = buffer[i + 3], v.g = buffer[i + 4], v.b = buffer[i + 5], v.a = buffer[i + 6];
        v.s = buffer[i + 7] / buffer[i + 10], v.t = buffer[i + 8] / buffer[i + 10];
        i += 11;
        return v;
    };
    for (GLint i = 0; i < n;) {
        Primitive p;
        p.kind = GLenum(buffer[i++]);
        int count = 0;
        if (p.kind == GL_POINT_TOKEN) count = 1;
        else if (p.kind == GL_LINE_TOKEN || p.kind == GL_LINE_RESET_TOKEN) count = 2;
        else if (p.kind == GL_POLYGON_TOKEN) count = int(buffer[i++]);
        else {
            ADD_FAILURE() << "unexpected feedback token " << p.kind;
            break;
        }
        for (int k = 0; k < count; k++) p.v.push_back(vertex(i));
        prims.push_back(p);
    }
    return prims;
}

// Feedback of a whole scene frame, camera included: the projection becomes a uniform scale by
// 1/extent, so nothing within extent units of the eye is clipped, and the vertices come back in
// eye coordinates. The projection is restored afterwards.
inline std::vector<Primitive> FeedbackEye(const std::function<void()> &draw, float extent) {
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    auto prims = Feedback([&] {
        glMatrixMode(GL_PROJECTION);
        glScalef(1 / extent, 1 / extent, 1 / extent);
        glMatrixMode(GL_MODELVIEW);
        draw();
    });
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    for (Primitive &p : prims)
        for (Vertex &v : p.v) v.x *= extent, v.y *= extent, v.z *= extent;
    return prims;
}

inline std::vector<Vertex> AllVertices(const std::vector<Primitive> &prims) {
    std::vector<Vertex> all;
    for (const Primitive &p : prims) all.insert(all.end(), p.v.begin(), p.v.end());
    return all;
}

// The normal sent with every vertex, recovered through lighting: with a white directional
// light along one axis, no ambient, specular or emission, a vertex's lit red is max(0, n . L);
// lights along +axis and -axis give the axis component. Same order as AllVertices.
struct Normal {
    float x, y, z;
};
inline std::vector<Normal> FeedbackNormals(const std::function<void()> &draw) {
    const GLfloat zero[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    glLightfv(GL_LIGHT0, GL_AMBIENT, zero);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, zero);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    std::vector<Vertex> lit[6];
    for (int pass = 0; pass < 6; pass++) {
        GLfloat dir[4] = {0, 0, 0, 0};
        dir[pass / 2] = pass % 2 ? -1.0f : 1.0f;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glLightfv(GL_LIGHT0, GL_POSITION, dir);
        lit[pass] = AllVertices(Feedback(draw));
    }
    glDisable(GL_LIGHTING);
    std::vector<Normal> normals;
    for (size_t k = 0; k < lit[0].size(); k++) {
        float c[3];
        for (int axis = 0; axis < 3; axis++) {
            if (lit[2 * axis].size() != lit[0].size() || lit[2 * axis + 1].size() != lit[0].size())
                return {};
            c[axis] = lit[2 * axis][k].r - lit[2 * axis + 1][k].r;
        }
        normals.push_back({c[0], c[1], c[2]});
    }
    return normals;
}

}  // namespace harness
