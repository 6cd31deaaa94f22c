#include "meshedit/view_matrix.h"

#include <cmath>
#include <numbers>

namespace kavlen {

Matrix4 identityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + r] * b[c * 4 + k];
            m[c * 4 + r] = sum;
        }
    return m;
}

Vec4 transform(const Matrix4& m, const Vec4& v) {
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w,
            m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
            m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

Matrix4 translationMatrix(double x, double y, double z) {
    Matrix4 m = identityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 scaleMatrix(double x, double y, double z) {
    Matrix4 m = identityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix4 rotationMatrix(double degrees, double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len == 0)
        return identityMatrix();
    x /= len;
    y /= len;
    z /= len;
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a), t = 1 - c;
    return {x * x * t + c,
            y * x * t + z * s,
            x * z * t - y * s,
            0, //
            x * y * t - z * s,
            y * y * t + c,
            y * z * t + x * s,
            0, //
            x * z * t + y * s,
            y * z * t - x * s,
            z * z * t + c,
            0, //
            0,
            0,
            0,
            1};
}

Matrix4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
    const double f = 1.0 / std::tan(fovyDegrees * std::numbers::pi / 360.0);
    const double depth = zNear - zFar;
    Matrix4 m{};
    m[0] = aspect != 0 ? f / aspect : 0;
    m[5] = f;
    m[10] = depth != 0 ? (zFar + zNear) / depth : 0;
    m[11] = -1;
    m[14] = depth != 0 ? 2 * zFar * zNear / depth : 0;
    return m;
}

} // namespace kavlen
