// The GLES side of the layer: one shader program that draws the frame's queued primitives from
// one vertex and one index buffer, the GLES state each run of them needs, and the calls GLES does
// as OpenGL 1.1 would (clear, viewport, textures, read-back).
#include <GLES3/gl3.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "gles/gl11.h"
#include "gles/gles.h"
#include "gles/layer.h"

namespace kelvorin {
namespace gles {

unsigned boundTexture = 0;
bool scissorTest = false;

namespace {

const char *const VERTEX_SHADER = R"(#version 300 es
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
uniform float pointSize;
out vec4 vertexColour;
out vec2 vertexTexCoord;
void main() {
    gl_Position = position;
    gl_PointSize = pointSize;
    vertexColour = colour;
    vertexTexCoord = texCoord;
}
)";

// GL_MODULATE with an RGB picture: the colour times the texel, the alpha as it comes. The
// branch lets untextured fills skip the lookup.
const char *const FRAGMENT_SHADER = R"(#version 300 es
precision highp float;
uniform sampler2D picture;
uniform bool texturing;
in vec4 vertexColour;
in vec2 vertexTexCoord;
out vec4 fragmentColour;
void main() {
    if (texturing)
        fragmentColour = vertexColour * texture(picture, vertexTexCoord);
    else
        fragmentColour = vertexColour;
}
)";

// A run of queued indices drawn with one state.
struct Draw {
    Primitive primitive;
    RasterState state;
    int first, count;
};

GLuint program, vertexArray, buffer, indexBuffer;
GLint texturingUniform, pointSizeUniform;
std::vector<Vertex> queued;
std::vector<uint32_t> indices;
std::vector<Draw> draws;
std::vector<GLuint> textures;         // every name the layer made, for GlesDestroy
std::vector<unsigned char> readBack;  // RGBA rows for glReadPixels in other formats
int packAlignment = 4;
int viewport[4];

// The state GLES has now, so that only changes are sent.
RasterState applied;
bool appliedTexturing;
GLuint appliedTexture;

bool Same(const RasterState &a, const RasterState &b) {
    return a.texture == b.texture && a.blend == b.blend && a.blendSource == b.blendSource &&
           a.blendDestination == b.blendDestination && a.depthTest == b.depthTest &&
           a.depthFunc == b.depthFunc;
}

void SetCapability(GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); }

void Apply(const RasterState &s) {
    bool texturing = s.texture != 0;
    if (texturing != appliedTexturing) glUniform1i(texturingUniform, texturing);
    if (texturing && s.texture != appliedTexture) glBindTexture(GL_TEXTURE_2D, s.texture);
    appliedTexturing = texturing;
    if (texturing) appliedTexture = s.texture;
    if (s.blend != applied.blend) SetCapability(GL_BLEND, s.blend);
    if (s.blendSource != applied.blendSource || s.blendDestination != applied.blendDestination)
        glBlendFunc(s.blendSource, s.blendDestination);
    if (s.depthTest != applied.depthTest) SetCapability(GL_DEPTH_TEST, s.depthTest);
    if (s.depthFunc != applied.depthFunc) glDepthFunc(s.depthFunc);
    applied = s;
}

// GLES state as a new OpenGL 1.1 context has it, and the layer's program and buffer in use.
void ResetDevice() {
    applied = RasterState{0, false, GL_ONE, GL_ZERO, false, GL_LESS};
    appliedTexturing = false;
    appliedTexture = 0;
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    scissorTest = false;
    glClearColor(0, 0, 0, 0);
    glClearDepthf(1);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    glUniform1i(texturingUniform, 0);
    glUniform1f(pointSizeUniform, 1);
    glLineWidth(1);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    packAlignment = 4;
    boundTexture = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);  // the new context's: its surface's size
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
}

// Whether a shader compiled or a program linked (status); if not, says why on standard error.
bool Built(GLuint object, GLenum status, void (*get)(GLuint, GLenum, GLint *),
           void (*getLog)(GLuint, GLsizei, GLsizei *, GLchar *), const char *what) {
    GLint ok = 0;
    get(object, status, &ok);
    if (ok) return true;
    char log[1024] = "";
    getLog(object, sizeof log, nullptr, log);
    std::fprintf(stderr, "GL layer: %s: %s\n", what, log);
    return false;
}

GLuint Compile(GLenum kind, const char *source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    if (Built(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog, "shader not compiled"))
        return shader;
    glDeleteShader(shader);
    return 0;
}

GLuint Link() {
    GLuint vertex = Compile(GL_VERTEX_SHADER, VERTEX_SHADER);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, FRAGMENT_SHADER);
    GLuint linked = 0;
    if (vertex && fragment) {
        linked = glCreateProgram();
        glAttachShader(linked, vertex);
        glAttachShader(linked, fragment);
        glLinkProgram(linked);
        if (!Built(linked, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog,
                   "program not linked")) {
            glDeleteProgram(linked);
            linked = 0;
        }
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return linked;
}

// The bound texture, bound in GLES too; the queue is drawn first, since it may sample it.
void BindForChange() {
    DrawQueued();
    glBindTexture(GL_TEXTURE_2D, boundTexture);
    appliedTexture = boundTexture;
}

}  // namespace

void SetScissorTest(bool on) {
    DrawQueued();
    SetCapability(GL_SCISSOR_TEST, on);
    scissorTest = on;
}

Vertex *QueueVertices(int count, uint32_t *first) {
    *first = uint32_t(queued.size());
    queued.resize(*first + count);
    return &queued[*first];
}

uint32_t *QueueIndices(Primitive primitive, const RasterState &state, int count) {
    int first = int(indices.size());
    if (!draws.empty() && draws.back().primitive == primitive && Same(draws.back().state, state))
        draws.back().count += count;
    else draws.push_back(Draw{primitive, state, first, count});
    indices.resize(first + count);
    return &indices[first];
}

// The whole queue goes up in one upload of vertices and one of indices, then each run is
// drawn with its state.
void DrawQueued() {
    if (program && !draws.empty()) {
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(queued.size() * sizeof(Vertex)), queued.data(),
                     GL_STREAM_DRAW);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)),
                     indices.data(), GL_STREAM_DRAW);
        static const GLenum MODES[] = {GL_POINTS, GL_LINES, GL_TRIANGLES};
        for (const Draw &d : draws) {
            Apply(d.state);
            glDrawElements(MODES[d.primitive], d.count, GL_UNSIGNED_INT,
                           (void *)(d.first * sizeof(uint32_t)));
        }
    }
    queued.clear();
    indices.clear();
    draws.clear();
}

}  // namespace gles

bool GlesCreate() {
    using namespace gles;
    program = Link();
    if (!program) return false;
    texturingUniform = glGetUniformLocation(program, "texturing");
    pointSizeUniform = glGetUniformLocation(program, "pointSize");
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glGenBuffers(1, &indexBuffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    const GLsizei stride = sizeof(Vertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(Vertex, position));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(Vertex, colour));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, (void *)offsetof(Vertex, texCoord));
    ResetDevice();
    ResetTransforms();
    ResetFixedFunction();
    queued.clear();
    indices.clear();
    draws.clear();
    return true;
}

void GlesDestroy() {
    using namespace gles;
    queued.clear();
    indices.clear();
    draws.clear();
    if (!textures.empty()) glDeleteTextures(GLsizei(textures.size()), textures.data());
    textures.clear();
    glDeleteBuffers(1, &buffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteProgram(program);
    program = vertexArray = buffer = indexBuffer = 0;
    boundTexture = 0;
}

void GlesSkipDrawing(bool skip) {
    gles::DrawQueued();
    gles::skipDrawing = skip;
}

namespace gl11 {

using namespace gles;

void Viewport(int x, int y, int width, int height) {
    DrawQueued();
    glViewport(x, y, width, height);
    glGetIntegerv(GL_VIEWPORT, viewport);  // as GLES clamped it
}

// These apply to what is drawn from now on, so the queue is drawn first.
void Scissor(int x, int y, int width, int height) {
    DrawQueued();
    glScissor(x, y, width, height);
}

void LineWidth(float width) {
    DrawQueued();
    glLineWidth(width);
}

void PointSize(float size) {
    DrawQueued();
    glUniform1f(pointSizeUniform, size);
}

void Clear(unsigned mask) {
    if (skipDrawing) return;
    DrawQueued();
    glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

void ClearColor(float red, float green, float blue, float alpha) {
    glClearColor(red, green, blue, alpha);
}
void ClearDepth(double depth) { glClearDepthf(GLfloat(depth)); }

void Flush() {
    DrawQueued();
    glFlush();
}

void Finish() {
    DrawQueued();
    glFinish();
}

// GLES reads RGBA bytes; RGB and BGRA rows are made from them, padded to the pack alignment.
void ReadPixels(int x, int y, int width, int height, unsigned format, unsigned type, void *pixels) {
    DrawQueued();
    if (type != GL_UNSIGNED_BYTE || width <= 0 || height <= 0) return;
    if (format == GL_RGBA && packAlignment <= 4) {
        glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    const unsigned BGRA = 0x80E1;
    if (format != GL_RGB && format != GL_RGBA && format != BGRA) return;
    readBack.resize(size_t(width) * height * 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, readBack.data());
    size_t channels = format == GL_RGB ? 3 : 4;
    size_t row = size_t(width) * channels;
    row = (row + packAlignment - 1) / packAlignment * packAlignment;
    for (int r = 0; r < height; r++) {
        const unsigned char *from = &readBack[size_t(r) * width * 4];
        unsigned char *to = (unsigned char *)pixels + r * row;
        for (int c = 0; c < width; c++, from += 4, to += channels) {
            bool swap = format == BGRA;
            to[0] = from[swap ? 2 : 0];
            to[1] = from[1];
            to[2] = from[swap ? 0 : 2];
            if (channels == 4) to[3] = from[3];
        }
    }
}

void PixelStorei(unsigned name, int value) {
    if (name == GL_PACK_ALIGNMENT && (value == 1 || value == 2 || value == 4 || value == 8))
        packAlignment = value;
    else glPixelStorei(name, value);
}

const unsigned char *GetString(unsigned name) { return glGetString(name); }

void GenTextures(int count, unsigned *names) {
    if (count <= 0) return;
    glGenTextures(count, names);
    textures.insert(textures.end(), names, names + count);
}

void BindTexture(unsigned target, unsigned name) {
    if (target == GL_TEXTURE_2D) boundTexture = name;
}

// Three or four components, as OpenGL 1.1 counts them, are GLES's RGB and RGBA.
void TexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border,
                unsigned format, unsigned type, const void *pixels) {
    if (target != GL_TEXTURE_2D || border != 0) return;
    if (internalFormat == 3) internalFormat = GL_RGB;
    if (internalFormat == 4) internalFormat = GL_RGBA;
    BindForChange();
    glTexImage2D(GL_TEXTURE_2D, level, internalFormat, width, height, 0, format, type, pixels);
}

void TexParameteri(unsigned target, unsigned name, int value) {
    if (target != GL_TEXTURE_2D) return;
    BindForChange();
    glTexParameteri(GL_TEXTURE_2D, name, value);
}

// The copy takes what the frame has drawn so far, so the queue is drawn first.
void CopyTexSubImage2D(unsigned target, int level, int xOffset, int yOffset, int x, int y,
                       int width, int height) {
    if (target != GL_TEXTURE_2D) return;
    BindForChange();
    glCopyTexSubImage2D(GL_TEXTURE_2D, level, xOffset, yOffset, x, y, width, height);
}

void GetIntegerv(unsigned name, int *values) {
    if (name == GL_VIEWPORT) std::copy(viewport, viewport + 4, values);
    if (name == GL_TEXTURE_BINDING_2D) values[0] = int(boundTexture);
    if (name == GL_MAX_TEXTURE_SIZE || name == GL_MAX_VIEWPORT_DIMS ||
        name == GL_MAX_RENDERBUFFER_SIZE)
        glGetIntegerv(name, values);
}

}  // namespace gl11
}  // namespace kelvorin
