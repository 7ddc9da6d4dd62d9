// The drawing primitives checked through OpenGL feedback: what reaches the rasteriser, with
// positions, colours and texture coordinates mapped back to object space.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "assets/textures.h"
#include "draw/shapes.h"
#include "draw/sphere.h"
#include "draw/sprite.h"
#include "offscreen_harness.h"

using harness::Feedback;
using harness::FeedbackNormals;
using harness::Primitive;
using harness::Vertex;

namespace {

constexpr float EPS = 1e-4f;

class DrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
        glDisable(GL_LIGHTING);
    }
};

// z of the cross product of a triangle's edges, as seen from +z.
float WindingZ(const Primitive &p) {
    const Vertex &a = p.v[0], &b = p.v[1], &c = p.v[2];
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

void Cross(const Primitive &p, float out[3]) {
    const Vertex &a = p.v[0], &b = p.v[1], &c = p.v[2];
    float u[3] = {b.x - a.x, b.y - a.y, b.z - a.z}, w[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
    out[0] = u[1] * w[2] - u[2] * w[1];
    out[1] = u[2] * w[0] - u[0] * w[2];
    out[2] = u[0] * w[1] - u[1] * w[0];
}

struct Corner {
    float x, y, s, t;
};

// Every vertex of the quad's triangles must be one of the four corners, with that corner's
// texture coordinate, all four must occur, and the triangles must run clockwise seen from +z
// (top left, top right, bottom right, bottom left).
void ExpectQuad(const std::vector<Primitive> &prims, const Corner (&corners)[4], float z) {
    ASSERT_EQ(prims.size(), 2u);
    std::set<int> seen;
    for (const Primitive &p : prims) {
        ASSERT_EQ(p.kind, GLenum(GL_POLYGON_TOKEN));
        ASSERT_EQ(p.v.size(), 3u);
        EXPECT_LT(WindingZ(p), 0) << "the quad must run clockwise seen from +z";
        for (const Vertex &v : p.v) {
            int found = -1;
            for (int c = 0; c < 4; c++)
                if (std::fabs(v.x - corners[c].x) < EPS && std::fabs(v.y - corners[c].y) < EPS)
                    found = c;
            ASSERT_GE(found, 0) << "stray vertex at " << v.x << ", " << v.y;
            EXPECT_NEAR(v.z, z, EPS);
            EXPECT_NEAR(v.s, corners[found].s, EPS) << "corner " << found;
            EXPECT_NEAR(v.t, corners[found].t, EPS) << "corner " << found;
            seen.insert(found);
        }
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(DrawTest, Sprite2MirrorsAlongXAndKeepsItsColourAndTexture) {
    auto prims = Feedback([] { kelvorin::sprite2(0.1f, 0.2f, 0.3f, 0.8f, 0.6f, 0.5f, 2); });
    const Corner corners[4] = {
        {-0.3f, 0.5f, 1, 1}, {0.5f, 0.5f, 0, 1}, {0.5f, -0.1f, 0, 0}, {-0.3f, -0.1f, 1, 0}};
    ExpectQuad(prims, corners, 0.3f);
    for (const Vertex &v : harness::AllVertices(prims)) {
        EXPECT_FLOAT_EQ(v.r, 1);
        EXPECT_FLOAT_EQ(v.g, 1);
        EXPECT_FLOAT_EQ(v.b, 1);
        EXPECT_FLOAT_EQ(v.a, 0.5f);
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), kelvorin::texture[2]);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
}

TEST_F(DrawTest, SpriteWithTheWholeRegionSendsWhatSprite2Sends) {
    auto a = Feedback([] { kelvorin::sprite2(-0.2f, 0.1f, -0.4f, 1.2f, 0.4f, 0.75f, 4); });
    auto b =
        Feedback([] { kelvorin::sprite(-0.2f, 0.1f, -0.4f, 1.2f, 0.4f, 4, 1, 1, 0, 0, 0.75f); });
    ASSERT_EQ(a.size(), b.size());
    auto va = harness::AllVertices(a), vb = harness::AllVertices(b);
    ASSERT_EQ(va.size(), vb.size());
    ASSERT_FALSE(va.empty());
    for (size_t k = 0; k < va.size(); k++) {
        EXPECT_EQ(std::tie(va[k].x, va[k].y, va[k].z, va[k].a, va[k].s, va[k].t),
                  std::tie(vb[k].x, vb[k].y, vb[k].z, vb[k].a, vb[k].s, vb[k].t));
    }
}

TEST_F(DrawTest, SpriteShowsOneBandWithTextureSixthAndAlphaLast) {
    auto prims = Feedback([] { kelvorin::sprite(0, 0, 0, 1, 0.5f, 3, 1, 0.75f, 0, 0.5f, 0.25f); });
    const Corner corners[4] = {{-0.5f, 0.25f, 1, 0.75f},
                               {0.5f, 0.25f, 0, 0.75f},
                               {0.5f, -0.25f, 0, 0.5f},
                               {-0.5f, -0.25f, 1, 0.5f}};
    ExpectQuad(prims, corners, 0);
    for (const Vertex &v : harness::AllVertices(prims)) EXPECT_FLOAT_EQ(v.a, 0.25f);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), kelvorin::texture[3]);
}

// Bands, vertices, poles, seam, normals and winding of a sphere of the given segment count.
void CheckSphere(int segments) {
    SCOPED_TRACE(segments);
    const kelvorin::Point c = {0.1f, -0.2f, 0.05f};
    const double radius = 0.5;
    auto draw = [&] { kelvorin::Sphere(c, radius, segments); };
    auto prims = Feedback(draw);
    const int bands = segments / 2;
    ASSERT_EQ(int(prims.size()), bands * segments * 2) << "two triangles per quad";

    std::set<std::tuple<float, float, float, float, float>> distinct;
    std::set<float> ts;
    float minY = 1, maxY = -1;
    std::vector<Vertex> seam0, seam1;
    for (const Primitive &p : prims) {
        ASSERT_EQ(p.kind, GLenum(GL_POLYGON_TOKEN));
        for (const Vertex &v : p.v) {
            distinct.insert({v.x, v.y, v.z, v.s, v.t});
            ts.insert(std::round(v.t * segments));
            minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
            if (v.s == 0) seam0.push_back(v);
            if (v.s == 1) seam1.push_back(v);
        }
        // Each strip starts with its upper vertex, which makes every triangle wind facing the
        // centre; degenerate ones at the poles have no winding.
        float n[3];
        Cross(p, n);
        float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (len < 1e-5f) continue;
        float mid[3] = {(p.v[0].x + p.v[1].x + p.v[2].x) / 3 - c.x,
                        (p.v[0].y + p.v[1].y + p.v[2].y) / 3 - c.y,
                        (p.v[0].z + p.v[1].z + p.v[2].z) / 3 - c.z};
        EXPECT_LT(n[0] * mid[0] + n[1] * mid[1] + n[2] * mid[2], 0);
    }
    EXPECT_EQ(int(distinct.size()), (bands + 1) * (segments + 1));
    EXPECT_EQ(int(ts.size()), bands + 1);
    EXPECT_EQ(*ts.begin(), 0);
    EXPECT_EQ(*ts.rbegin(), 2 * bands);
    EXPECT_NEAR(minY, c.y - radius, EPS) << "bottom pole";
    double top = segments % 2 ? std::sin(M_PI / 2 - M_PI / segments) : 1.0;
    EXPECT_NEAR(maxY, c.y + radius * top, 1e-3);

    // The seam: the s = 0 and s = 1 columns lie on the same points, on the +x side.
    ASSERT_FALSE(seam0.empty());
    ASSERT_EQ(seam0.size(), seam1.size());
    for (const Vertex &v : seam0) {
        EXPECT_NEAR(v.z, c.z, EPS);
        EXPECT_GE(v.x, c.x - EPS);
        bool twin = false;
        for (const Vertex &w : seam1)
            if (std::fabs(v.x - w.x) < EPS && std::fabs(v.y - w.y) < EPS && v.t == w.t) twin = true;
        EXPECT_TRUE(twin);
    }

    // Unit normals pointing from the centre through the vertex.
    auto verts = harness::AllVertices(prims);
    auto normals = FeedbackNormals(draw);
    ASSERT_EQ(normals.size(), verts.size());
    for (size_t k = 0; k < verts.size(); k++) {
        EXPECT_NEAR(normals[k].x, (verts[k].x - c.x) / radius, 1e-3);
        EXPECT_NEAR(normals[k].y, (verts[k].y - c.y) / radius, 1e-3);
        EXPECT_NEAR(normals[k].z, (verts[k].z - c.z) / radius, 1e-3);
    }
}

TEST_F(DrawTest, SphereBandsPolesSeamAndNormals) {
    for (int segments : {4, 5, 12, 13}) CheckSphere(segments);
}

TEST_F(DrawTest, SphereFallsBackToOnePointAtTheCentre) {
    const kelvorin::Point c = {0.25f, -0.5f, 0.125f};
    auto expectPoint = [&](double radius, int segments) {
        SCOPED_TRACE(testing::Message() << "radius " << radius << " segments " << segments);
        auto prims = Feedback([&] { kelvorin::Sphere(c, radius, segments); });
        ASSERT_EQ(prims.size(), 1u);
        EXPECT_EQ(prims[0].kind, GLenum(GL_POINT_TOKEN));
        EXPECT_NEAR(prims[0].v[0].x, c.x, EPS);
        EXPECT_NEAR(prims[0].v[0].y, c.y, EPS);
        EXPECT_NEAR(prims[0].v[0].z, c.z, EPS);
    };
    expectPoint(0, 12);
    expectPoint(-0.0, 12);
    for (int segments = -3; segments <= 3; segments++) expectPoint(0.5, segments);
    EXPECT_GT(Feedback([&] { kelvorin::Sphere(c, 0.5, 4); }).size(), 1u) << "4 is a sphere";
    EXPECT_GT(Feedback([&] { kelvorin::Sphere(c, 0.5, -4); }).size(), 1u);
}

TEST_F(DrawTest, NegativeRadiusOrSegmentsDrawTheSameSphere) {
    const kelvorin::Point c = {0, 0.1f, 0};
    auto reference = harness::AllVertices(Feedback([&] { kelvorin::Sphere(c, 0.4, 12); }));
    ASSERT_FALSE(reference.empty());
    for (auto [radius, segments] : {std::pair{-0.4, 12}, {0.4, -12}, {-0.4, -12}}) {
        auto v = harness::AllVertices(Feedback([&] { kelvorin::Sphere(c, radius, segments); }));
        ASSERT_EQ(v.size(), reference.size());
        for (size_t k = 0; k < v.size(); k++)
            EXPECT_EQ(std::tie(v[k].x, v[k].y, v[k].z, v[k].s, v[k].t),
                      std::tie(reference[k].x, reference[k].y, reference[k].z, reference[k].s,
                               reference[k].t));
    }
}

// Each face on the plane of its outward normal, all corners at +-half, the six normals distinct.
void CheckCubeFaces(const std::vector<std::vector<Vertex>> &faces,
                    const std::vector<harness::Normal> &normals, float half) {
    ASSERT_EQ(faces.size(), 6u);
    std::set<std::pair<int, int>> axes;  // (axis, sign)
    size_t k = 0;
    for (const auto &face : faces) {
        const harness::Normal &n = normals.at(k);
        float comp[3] = {n.x, n.y, n.z};
        int axis =
            int(std::max_element(comp, comp + 3,
                                 [](float a, float b) { return std::fabs(a) < std::fabs(b); }) -
                comp);
        int sign = comp[axis] > 0 ? 1 : -1;
        axes.insert({axis, sign});
        for (const Vertex &v : face) {
            const harness::Normal &m = normals.at(k++);
            float mc[3] = {m.x, m.y, m.z}, p[3] = {v.x, v.y, v.z};
            for (int a = 0; a < 3; a++) {
                EXPECT_NEAR(mc[a], a == axis ? sign : 0, 1e-3) << "one normal per face";
                EXPECT_NEAR(std::fabs(p[a]), half, EPS);
            }
            EXPECT_NEAR(p[axis], sign * half, EPS) << "face lies on its normal's side";
        }
    }
    EXPECT_EQ(axes.size(), 6u);
}

TEST_F(DrawTest, WireCubeOutlinesSixFacesWithTheirNormals) {
    auto draw = [] { kelvorin::WireCube(0.8); };
    auto prims = Feedback(draw);
    // One closed loop of four chained edges per face.
    ASSERT_EQ(prims.size(), 24u);
    std::vector<std::vector<Vertex>> faces;
    for (size_t k = 0; k < prims.size(); k++) {
        const Primitive &p = prims[k];
        ASSERT_TRUE(p.kind == GL_LINE_TOKEN || p.kind == GL_LINE_RESET_TOKEN);
        if (k % 4 == 0) faces.emplace_back();
        faces.back().insert(faces.back().end(), p.v.begin(), p.v.end());
    }
    for (const auto &face : faces) {
        for (size_t e = 0; e < 4; e++) {
            const Vertex &end = face[2 * e + 1], &next = face[(2 * e + 2) % 8];
            EXPECT_NEAR(end.x, next.x, EPS) << "edges chain round the face";
            EXPECT_NEAR(end.y, next.y, EPS);
            EXPECT_NEAR(end.z, next.z, EPS);
        }
    }
    CheckCubeFaces(faces, FeedbackNormals(draw), 0.4f);
}

TEST_F(DrawTest, SolidCubeFacesWindOutwardsWithTheirNormals) {
    auto draw = [] { kelvorin::SolidCube(1.2); };
    auto prims = Feedback(draw);
    ASSERT_EQ(prims.size(), 12u);
    std::vector<std::vector<Vertex>> faces;
    for (size_t k = 0; k < prims.size(); k++) {
        ASSERT_EQ(prims[k].kind, GLenum(GL_POLYGON_TOKEN));
        if (k % 2 == 0) faces.emplace_back();
        faces.back().insert(faces.back().end(), prims[k].v.begin(), prims[k].v.end());
        // Counter-clockwise seen from outside: the edges' cross product points away from
        // the centre.
        float n[3];
        Cross(prims[k], n);
        const Vertex &a = prims[k].v[0];
        EXPECT_GT(n[0] * a.x + n[1] * a.y + n[2] * a.z, 0);
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) / 2, 0.72, 1e-3)
            << "half a 1.2 x 1.2 face";
    }
    CheckCubeFaces(faces, FeedbackNormals(draw), 0.6f);
}

TEST_F(DrawTest, WireSphereIsLinesOnTheSphereWithSmoothNormals) {
    auto draw = [] { kelvorin::WireSphere(0.6, 16, 16); };
    auto prims = Feedback(draw);
    ASSERT_GT(prims.size(), 16u * 16u / 2);
    float minZ = 1, maxZ = -1;
    for (const Primitive &p : prims) {
        EXPECT_TRUE(p.kind == GL_LINE_TOKEN || p.kind == GL_LINE_RESET_TOKEN);
        for (const Vertex &v : p.v) {
            EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 0.6, 1e-4);
            minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
        }
    }
    EXPECT_NEAR(minZ, -0.6, 1e-4) << "poles on the z axis";
    EXPECT_NEAR(maxZ, 0.6, 1e-4);
    auto verts = harness::AllVertices(prims);
    auto normals = FeedbackNormals(draw);
    ASSERT_EQ(normals.size(), verts.size());
    for (size_t k = 0; k < verts.size(); k++) {
        EXPECT_NEAR(normals[k].x, verts[k].x / 0.6, 1e-3);
        EXPECT_NEAR(normals[k].y, verts[k].y / 0.6, 1e-3);
        EXPECT_NEAR(normals[k].z, verts[k].z / 0.6, 1e-3);
    }
    // A second call reuses the quadric and draws the same lines.
    EXPECT_EQ(Feedback(draw).size(), prims.size());
}

}  // namespace
