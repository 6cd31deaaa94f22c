// 4 x 4 matrices as GL keeps them (column-major doubles, what glGetDoublev
// returns) and the GL 1.1 transforms that build the view's matrices, so the pick
// and the tests can work from the same matrices the view draws with.
#pragma once

#include <array>

namespace kavlen {

// Element (row r, column c) is at index c * 4 + r.
using Matrix4 = std::array<double, 16>;

struct Point3 {
    double x = 0, y = 0, z = 0;
};

struct Vec4 {
    double x = 0, y = 0, z = 0, w = 1;
};

Matrix4 identityMatrix();
// a * b: b is applied first, as glMultMatrix(b) after a.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
Vec4 transform(const Matrix4& m, const Vec4& v);

// The matrices of glTranslated, glScaled, glRotated (angle in degrees about the
// axis, normalised as GL does) and gluPerspective.
Matrix4 translationMatrix(double x, double y, double z);
Matrix4 scaleMatrix(double x, double y, double z);
Matrix4 rotationMatrix(double degrees, double x, double y, double z);
Matrix4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);

} // namespace kavlen
