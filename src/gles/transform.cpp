// The modelview and projection matrices and GLU's look-at and perspective, in double
// precision; the vertex path reads the product and the normal matrix, worked out when used.
#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "gles/gl11.h"
#include "gles/layer.h"

namespace kelvorin {
namespace gles {

namespace {

const Matrix IDENTITY = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

Matrix modelview = IDENTITY, projection = IDENTITY;
Matrix *current = &modelview;
std::vector<Matrix> modelviewStack, projectionStack;  // what glPushMatrix kept
Matrix product;                                       // projection * modelview
double normalMatrix[9];                               // row-major
bool productStale = true, normalStale = true;

// a * b, column-major.
Matrix Multiply(const Matrix &a, const Matrix &b) {
    Matrix r;
    for (int column = 0; column < 4; column++)
        for (int row = 0; row < 4; row++) {
            double sum = 0;
            for (int k = 0; k < 4; k++) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            r.m[column * 4 + row] = sum;
        }
    return r;
}

void Changed() {
    productStale = true;
    if (current == &modelview) normalStale = true;
}

std::vector<Matrix> &Stack() { return current == &modelview ? modelviewStack : projectionStack; }

}  // namespace

void ResetTransforms() {
    modelview = projection = IDENTITY;
    modelviewStack.clear();
    projectionStack.clear();
    current = &modelview;
    productStale = normalStale = true;
}

void MultMatrix(const Matrix &right) {
    *current = Multiply(*current, right);
    Changed();
}

const Matrix &Modelview() { return modelview; }

const Matrix &ModelviewProjection() {
    if (productStale) {
        product = Multiply(projection, modelview);
        productStale = false;
    }
    return product;
}

const double *NormalMatrix() {
    if (normalStale) {
        // The inverse of the upper 3 x 3 is its adjugate over its determinant; the transpose
        // of the inverse is the cofactor matrix over the determinant.
        const double *m = modelview.m;
        auto a = [m](int row, int column) { return m[column * 4 + row]; };
        double cofactor[9];
        for (int row = 0; row < 3; row++)
            for (int column = 0; column < 3; column++) {
                int r0 = (row + 1) % 3, r1 = (row + 2) % 3;
                int c0 = (column + 1) % 3, c1 = (column + 2) % 3;
                cofactor[row * 3 + column] = a(r0, c0) * a(r1, c1) - a(r0, c1) * a(r1, c0);
            }
        double det = a(0, 0) * cofactor[0] + a(0, 1) * cofactor[1] + a(0, 2) * cofactor[2];
        for (int i = 0; i < 9; i++) normalMatrix[i] = det != 0 ? cofactor[i] / det : 0;
        normalStale = false;
    }
    return normalMatrix;
}

}  // namespace gles

namespace gl11 {

using gles::Matrix;

void MatrixMode(unsigned mode) {
    if (mode == GL_MODELVIEW) gles::current = &gles::modelview;
    if (mode == GL_PROJECTION) gles::current = &gles::projection;
}

void LoadIdentity() {
    *gles::current = gles::IDENTITY;
    gles::Changed();
}

// Pushing onto a full stack (32 deep, as Mesa's) or popping an empty one is an error in OpenGL
// and changes nothing.
void PushMatrix() {
    if (gles::Stack().size() < 32) gles::Stack().push_back(*gles::current);
}

void PopMatrix() {
    std::vector<Matrix> &stack = gles::Stack();
    if (stack.empty()) return;
    *gles::current = stack.back();
    stack.pop_back();
    gles::Changed();
}

void Translate(float x, float y, float z) {
    gles::MultMatrix(Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}});
}

void Scale(float x, float y, float z) {
    gles::MultMatrix(Matrix{{x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1}});
}

// A turn of angle degrees about the axis (x, y, z), counter-clockwise looking down the axis
// towards the origin. A zero axis leaves the matrix as it is.
void Rotate(float angle, float x, float y, float z) {
    double length = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (length == 0) return;
    double u = x / length, v = y / length, w = z / length;
    double radians = angle * M_PI / 180;
    double c = std::cos(radians), s = std::sin(radians), k = 1 - c;
    gles::MultMatrix(Matrix{{u * u * k + c, v * u * k + w * s, w * u * k - v * s, 0,
                             u * v * k - w * s, v * v * k + c, w * v * k + u * s, 0,
                             u * w * k + v * s, v * w * k - u * s, w * w * k + c, 0, 0, 0, 0, 1}});
}

// The eye at eye looking at centre, with up giving the picture's vertical.
void LookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
            double upX, double upY, double upZ) {
    double f[3] = {centreX - eyeX, centreY - eyeY, centreZ - eyeZ};
    double length = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (length == 0) return;
    for (double &c : f) c /= length;
    // s = f x up, normalised; u = s x f.
    double s[3] = {f[1] * upZ - f[2] * upY, f[2] * upX - f[0] * upZ, f[0] * upY - f[1] * upX};
    length = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (length == 0) return;
    for (double &c : s) c /= length;
    double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    gles::MultMatrix(
        Matrix{{s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1}});
    gles::MultMatrix(Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -eyeX, -eyeY, -eyeZ, 1}});
}

void Perspective(double fovy, double aspect, double zNear, double zFar) {
    double half = fovy / 2 * M_PI / 180;
    double depth = zFar - zNear, sine = std::sin(half);
    if (depth == 0 || sine == 0 || aspect == 0) return;
    double f = std::cos(half) / sine;
    gles::MultMatrix(Matrix{{f / aspect, 0, 0, 0, 0, f, 0, 0, 0, 0, -(zFar + zNear) / depth, -1, 0,
                             0, -2 * zNear * zFar / depth, 0}});
}

}  // namespace gl11
}  // namespace kelvorin
