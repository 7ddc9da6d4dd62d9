// The layer's entry points, one per OpenGL 1.1 and GLU call the demo makes, in plain C++
// types so that the GLES side can define them without the GL 1.1 headers. <GL/gl.h> and
// <GL/glu.h> in src/gles/include forward the gl* and glu* names here.
#pragma once

struct GLUquadric;

namespace kelvorin {
namespace gl11 {

// Primitives and vertex attributes (vertex.cpp).
void Begin(unsigned mode);
void End();
void Vertex(float x, float y, float z);
void Normal(float x, float y, float z);
void TexCoord(float s, float t);
void Color(float red, float green, float blue, float alpha);

// Matrices (transform.cpp).
void MatrixMode(unsigned mode);
void LoadIdentity();
void Translate(float x, float y, float z);
void Rotate(float angle, float x, float y, float z);
void Scale(float x, float y, float z);
void PushMatrix();
void PopMatrix();

// Fixed-function state (vertex.cpp).
void Enable(unsigned cap);
void Disable(unsigned cap);
void BlendFunc(unsigned source, unsigned destination);
void DepthFunc(unsigned func);
void ShadeModel(unsigned mode);
void Hint(unsigned target, unsigned mode);
void Lightfv(unsigned light, unsigned name, const float *values);
void Materialfv(unsigned face, unsigned name, const float *values);
bool IsEnabled(unsigned cap);
// The current colour, normal and texture coordinates, and a light's colours and eye position.
void GetFloatv(unsigned name, float *values);
void GetLightfv(unsigned light, unsigned name, float *values);

// The framebuffer, textures and the rest that GLES does itself (device.cpp).
void Viewport(int x, int y, int width, int height);
void Scissor(int x, int y, int width, int height);
void LineWidth(float width);
void PointSize(float size);
void Clear(unsigned mask);
void ClearColor(float red, float green, float blue, float alpha);
void ClearDepth(double depth);
void Flush();
void Finish();
void ReadPixels(int x, int y, int width, int height, unsigned format, unsigned type, void *pixels);
void PixelStorei(unsigned name, int value);
const unsigned char *GetString(unsigned name);
void GenTextures(int count, unsigned *names);
void BindTexture(unsigned target, unsigned name);
void TexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border,
                unsigned format, unsigned type, const void *pixels);
void TexParameteri(unsigned target, unsigned name, int value);
void CopyTexSubImage2D(unsigned target, int level, int xOffset, int yOffset, int x, int y,
                       int width, int height);
void GetIntegerv(unsigned name, int *values);  // the viewport, the bound texture, the largest sizes

// GLU (transform.cpp, sphere.cpp).
void LookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
            double upX, double upY, double upZ);
void Perspective(double fovy, double aspect, double zNear, double zFar);
GLUquadric *NewQuadric();
void DeleteQuadric(GLUquadric *quadric);
void QuadricDrawStyle(GLUquadric *quadric, unsigned style);
void QuadricNormals(GLUquadric *quadric, unsigned normals);
void QuadricTexture(GLUquadric *quadric, bool texture);
void Sphere(GLUquadric *quadric, double radius, int slices, int stacks);

}  // namespace gl11
}  // namespace kelvorin
