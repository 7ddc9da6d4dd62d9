// Immediate mode as OpenGL 1.1 defines it: the current colour, normal and texture
// coordinates; per-vertex lighting in eye space; flat or smooth shading; and primitives
// broken into the points, lines and triangles that GLES draws.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "gles/gl11.h"
#include "gles/layer.h"

namespace kelvorin {
namespace gles {

bool skipDrawing = false;

namespace {

constexpr int MAX_LIGHTS = 8;

struct Light {
    bool enabled;
    double ambient[4], diffuse[4], specular[4];
    double position[4];  // eye coordinates
};

struct Material {
    double ambient[4], diffuse[4], specular[4], emission[4];
    double shininess;
};

// The current vertex attributes.
float colour[4], normal[3], texCoord[2];

bool lighting, normalize, texturing;
Light lights[MAX_LIGHTS];
Material material;
const double GLOBAL_AMBIENT[4] = {0.2, 0.2, 0.2, 1.0};
bool flat;
RasterState raster;  // all but the texture, which is read at glEnd

// The primitive between glBegin and glEnd, its vertices worked out as they come.
const unsigned NO_PRIMITIVE = 0xFFFF;
unsigned mode = NO_PRIMITIVE;
std::vector<Vertex> vertices;

void Set4(double *to, double r, double g, double b, double a) {
    to[0] = r, to[1] = g, to[2] = b, to[3] = a;
}

void Copy4(double *to, const float *from) {
    for (int i = 0; i < 4; i++) to[i] = from[i];
}

// m (column-major) times (x, y, z, w).
void Transform(const double *m, double x, double y, double z, double w, double out[4]) {
    for (int row = 0; row < 4; row++)
        out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row] * w;
}

float Clamp(double value) { return float(std::min(1.0, std::max(0.0, value))); }

void Normalise(double v[3]) {
    double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0)
        for (int i = 0; i < 3; i++) v[i] /= length;
}

// The lit colour of a vertex at eye position eye with eye-space normal n: emission, the
// material's ambient under the scene's, and each enabled light's ambient, diffuse and
// specular terms (attenuation 1, no spotlight, a viewer at infinity along +z); the specular
// term only where the light falls on the front of the normal.
void LitColour(const double eye[4], const double n[3], float out[4]) {
    double c[3];
    for (int i = 0; i < 3; i++)
        c[i] = material.emission[i] + material.ambient[i] * GLOBAL_AMBIENT[i];
    for (const Light &l : lights) {
        if (!l.enabled) continue;
        double vp[3];
        for (int i = 0; i < 3; i++)
            vp[i] = l.position[3] != 0 ? l.position[i] / l.position[3] - eye[i] / eye[3]
                                       : l.position[i];
        Normalise(vp);
        double diffuse = n[0] * vp[0] + n[1] * vp[1] + n[2] * vp[2];
        double specular = 0;
        if (diffuse > 0) {
            double h[3] = {vp[0], vp[1], vp[2] + 1};
            Normalise(h);
            specular = std::pow(std::max(0.0, n[0] * h[0] + n[1] * h[1] + n[2] * h[2]),
                                material.shininess);
        }
        diffuse = std::max(0.0, diffuse);
        for (int i = 0; i < 3; i++)
            c[i] += material.ambient[i] * l.ambient[i] +
                    diffuse * material.diffuse[i] * l.diffuse[i] +
                    specular * material.specular[i] * l.specular[i];
    }
    for (int i = 0; i < 3; i++) out[i] = Clamp(c[i]);
    out[3] = Clamp(material.diffuse[3]);
}

// Queues the primitive's vertices once, then count indices into them by order from base.
// With flat shading each primitive gets copies of its vertices in the colour of GL's provoking
// vertex, base + provoking.
void Emit(Primitive primitive, const int *order, int count, int base, int provoking,
          uint32_t first) {
    if (flat) {
        Vertex *copies = QueueVertices(count, &first);
        const float *c = vertices[base + provoking].colour;
        for (int i = 0; i < count; i++) {
            copies[i] = vertices[base + order[i]];
            std::copy(c, c + 4, copies[i].colour);
        }
        uint32_t *out = QueueIndices(primitive, raster, count);
        for (int i = 0; i < count; i++) out[i] = first + i;
        return;
    }
    uint32_t *out = QueueIndices(primitive, raster, count);
    for (int i = 0; i < count; i++) out[i] = first + base + order[i];
}

// Quads are split as (0, 1, 2), (0, 2, 3), each step of a quad strip as (2, 0, 3), (0, 1, 3),
// as Mesa's desktop OpenGL splits them, so that both paths interpolate over the same triangles.
// The provoking vertex is the last of a line, triangle or quad, the fourth of a strip's step,
// and the first of a line loop's closing line.
void Assemble() {
    static const int QUAD[6] = {0, 1, 2, 0, 2, 3}, STRIP_STEP[6] = {2, 0, 3, 0, 1, 3};
    static const int PAIR[2] = {0, 1}, TRIANGLE[3] = {0, 1, 2};
    int n = int(vertices.size());
    uint32_t first = 0;
    if (!flat) std::copy(vertices.begin(), vertices.end(), QueueVertices(n, &first));
    switch (mode) {
    case GL_POINTS:
        for (int i = 0; i < n; i++) Emit(POINTS, PAIR, 1, i, 0, first);
        break;
    case GL_LINES:
        for (int i = 0; i + 1 < n; i += 2) Emit(LINES, PAIR, 2, i, 1, first);
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (int i = 0; i + 1 < n; i++) Emit(LINES, PAIR, 2, i, 1, first);
        if (mode == GL_LINE_LOOP && n > 1) {
            const int CLOSE[2] = {n - 1, 0};
            Emit(LINES, CLOSE, 2, 0, 0, first);
        }
        break;
    case GL_TRIANGLES:
        for (int i = 0; i + 2 < n; i += 3) Emit(TRIANGLES, TRIANGLE, 3, i, 2, first);
        break;
    case GL_QUADS:
        for (int i = 0; i + 3 < n; i += 4) Emit(TRIANGLES, QUAD, 6, i, 3, first);
        break;
    case GL_QUAD_STRIP:
        for (int i = 0; i + 3 < n; i += 2) Emit(TRIANGLES, STRIP_STEP, 6, i, 3, first);
        break;
    }
}

}  // namespace

void ResetFixedFunction() {
    std::fill(colour, colour + 4, 1.0f);
    normal[0] = normal[1] = 0, normal[2] = 1;
    texCoord[0] = texCoord[1] = 0;
    lighting = normalize = texturing = flat = false;
    for (int i = 0; i < MAX_LIGHTS; i++) {
        Light &l = lights[i];
        l.enabled = false;
        Set4(l.ambient, 0, 0, 0, 1);
        double one = i == 0 ? 1 : 0;  // light 0 starts white, the others black
        Set4(l.diffuse, one, one, one, 1);
        Set4(l.specular, one, one, one, 1);
        Set4(l.position, 0, 0, 1, 0);
    }
    Set4(material.ambient, 0.2, 0.2, 0.2, 1);
    Set4(material.diffuse, 0.8, 0.8, 0.8, 1);
    Set4(material.specular, 0, 0, 0, 1);
    Set4(material.emission, 0, 0, 0, 1);
    material.shininess = 0;
    raster = RasterState{0, false, GL_ONE, GL_ZERO, false, GL_LESS};
    mode = NO_PRIMITIVE;
    vertices.clear();
}

}  // namespace gles

namespace gl11 {

using namespace gles;

void Begin(unsigned primitive) {
    if (mode != NO_PRIMITIVE) return;
    mode = primitive;
    vertices.clear();
}

void End() {
    if (mode == NO_PRIMITIVE) return;
    raster.texture = texturing ? boundTexture : 0;
    if (!skipDrawing) Assemble();
    mode = NO_PRIMITIVE;
}

void Vertex(float x, float y, float z) {
    if (mode == NO_PRIMITIVE || skipDrawing) return;
    vertices.emplace_back();
    gles::Vertex &v = vertices.back();
    double clip[4];
    Transform(ModelviewProjection().m, x, y, z, 1, clip);
    for (int i = 0; i < 4; i++) v.position[i] = float(clip[i]);
    if (lighting) {
        double eye[4];
        Transform(Modelview().m, x, y, z, 1, eye);
        const double *nm = NormalMatrix();
        double n[3];
        for (int row = 0; row < 3; row++)
            n[row] =
                nm[row * 3] * normal[0] + nm[row * 3 + 1] * normal[1] + nm[row * 3 + 2] * normal[2];
        if (normalize) Normalise(n);
        LitColour(eye, n, v.colour);
    } else {
        for (int i = 0; i < 4; i++) v.colour[i] = Clamp(colour[i]);
    }
    v.texCoord[0] = texCoord[0];
    v.texCoord[1] = texCoord[1];
}

void Normal(float x, float y, float z) { normal[0] = x, normal[1] = y, normal[2] = z; }
void TexCoord(float s, float t) { texCoord[0] = s, texCoord[1] = t; }
void Color(float red, float green, float blue, float alpha) {
    colour[0] = red, colour[1] = green, colour[2] = blue, colour[3] = alpha;
}

namespace {

void SetCapability(unsigned cap, bool on) {
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + MAX_LIGHTS) lights[cap - GL_LIGHT0].enabled = on;
    else if (cap == GL_LIGHTING) lighting = on;
    else if (cap == GL_NORMALIZE) normalize = on;
    else if (cap == GL_TEXTURE_2D) texturing = on;
    else if (cap == GL_BLEND) raster.blend = on;
    else if (cap == GL_DEPTH_TEST) raster.depthTest = on;
    else if (cap == GL_SCISSOR_TEST) SetScissorTest(on);
}

}  // namespace

void Enable(unsigned cap) { SetCapability(cap, true); }
void Disable(unsigned cap) { SetCapability(cap, false); }

bool IsEnabled(unsigned cap) {
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + MAX_LIGHTS) return lights[cap - GL_LIGHT0].enabled;
    if (cap == GL_LIGHTING) return lighting;
    if (cap == GL_NORMALIZE) return normalize;
    if (cap == GL_TEXTURE_2D) return texturing;
    if (cap == GL_BLEND) return raster.blend;
    if (cap == GL_DEPTH_TEST) return raster.depthTest;
    if (cap == GL_SCISSOR_TEST) return scissorTest;
    return false;
}

void BlendFunc(unsigned source, unsigned destination) {
    raster.blendSource = source;
    raster.blendDestination = destination;
}

void DepthFunc(unsigned func) { raster.depthFunc = func; }

void ShadeModel(unsigned model) {
    if (model == GL_FLAT || model == GL_SMOOTH) flat = model == GL_FLAT;
}

// Every primitive is drawn with perspective-correct interpolation already.
void Hint(unsigned, unsigned) {}

// A position is taken into eye coordinates by the modelview of the moment.
void Lightfv(unsigned light, unsigned name, const float *values) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + MAX_LIGHTS) return;
    Light &l = lights[light - GL_LIGHT0];
    if (name == GL_AMBIENT) Copy4(l.ambient, values);
    else if (name == GL_DIFFUSE) Copy4(l.diffuse, values);
    else if (name == GL_SPECULAR) Copy4(l.specular, values);
    else if (name == GL_POSITION) {
        Transform(Modelview().m, values[0], values[1], values[2], values[3], l.position);
    }
}

void GetFloatv(unsigned name, float *values) {
    if (name == GL_CURRENT_COLOR) std::copy(colour, colour + 4, values);
    else if (name == GL_CURRENT_NORMAL) std::copy(normal, normal + 3, values);
    else if (name == GL_CURRENT_TEXTURE_COORDS)
        values[0] = texCoord[0], values[1] = texCoord[1], values[2] = 0, values[3] = 1;
}

void GetLightfv(unsigned light, unsigned name, float *values) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + MAX_LIGHTS) return;
    const Light &l = lights[light - GL_LIGHT0];
    const double *from = name == GL_AMBIENT    ? l.ambient
                         : name == GL_DIFFUSE  ? l.diffuse
                         : name == GL_SPECULAR ? l.specular
                         : name == GL_POSITION ? l.position
                                               : nullptr;
    if (from)
        for (int i = 0; i < 4; i++) values[i] = float(from[i]);
}

// One-sided lighting: only the front material is ever used.
void Materialfv(unsigned face, unsigned name, const float *values) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) return;
    if (name == GL_AMBIENT || name == GL_AMBIENT_AND_DIFFUSE) Copy4(material.ambient, values);
    if (name == GL_DIFFUSE || name == GL_AMBIENT_AND_DIFFUSE) Copy4(material.diffuse, values);
    if (name == GL_SPECULAR) Copy4(material.specular, values);
    if (name == GL_EMISSION) Copy4(material.emission, values);
    if (name == GL_SHININESS) material.shininess = values[0];
}

}  // namespace gl11
}  // namespace kelvorin
