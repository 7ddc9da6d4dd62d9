// What the parts of the GL 1.1 layer share: the fixed-function side (transform.cpp,
// vertex.cpp, sphere.cpp) works out each vertex in clip coordinates with its final colour;
// the GLES side (device.cpp) queues those vertices, and the points, lines and triangles made
// of them, for the whole frame and draws them.
#pragma once
#include <cstdint>

namespace kelvorin {
namespace gles {

// A vertex as the shader takes it: clip coordinates, the colour after lighting and clamping,
// and the texture coordinates.
struct Vertex {
    float position[4];
    float colour[4];
    float texCoord[2];
};

enum Primitive { POINTS, LINES, TRIANGLES };

// What the fragments of a primitive go through: texturing (0: off), blending and depth test,
// as GLES enums.
struct RasterState {
    unsigned texture;
    bool blend;
    unsigned blendSource, blendDestination;
    bool depthTest;
    unsigned depthFunc;
};

// transform.cpp: a column-major 4 x 4 matrix, as OpenGL lays it out.
struct Matrix {
    double m[16];
};
void ResetTransforms();
void MultMatrix(const Matrix &right);  // onto the current matrix
const Matrix &Modelview();
const Matrix &ModelviewProjection();
// The inverse transpose of the modelview's upper 3 x 3, row-major, for normals.
const double *NormalMatrix();

// vertex.cpp
void ResetFixedFunction();
extern bool skipDrawing;  // GlesSkipDrawing

// device.cpp: the texture bound by glBindTexture; room for count more vertices in the frame's
// queue, and the queue index of the first (valid until the next call); room for count indices
// of a primitive kind drawn with state; and drawing the queue.
extern unsigned boundTexture;
Vertex *QueueVertices(int count, uint32_t *first);
uint32_t *QueueIndices(Primitive primitive, const RasterState &state, int count);
void DrawQueued();
// The scissor test, which GLES does itself (glEnable and glDisable of GL_SCISSOR_TEST).
void SetScissorTest(bool on);
extern bool scissorTest;

}  // namespace gles
}  // namespace kelvorin
