#include "math/matrix4.h"

#include <cmath>
#include <utility>

namespace {

// The float nearest to 0.000005: below it a matrix counts as singular for
// inverse().
constexpr float InverseGuard = 0.000005f;

// Determinant of the 3 by 3 minor that leaves out row `row` and column
// `col`, measured like the rest of the code: copied into the upper-left
// block of a scratch matrix.
float minor3(const Matrix4& a, int row, int col)
{
    Matrix4 scratch;
    int c2 = 0;
    for (int c = 0; c < 4; ++c) {
        if (c == col)
            continue;
        int r2 = 0;
        for (int r = 0; r < 4; ++r) {
            if (r == row)
                continue;
            scratch.m[c2 * 4 + r2] = a.m[c * 4 + r];
            ++r2;
        }
        ++c2;
    }
    return determinant3(scratch);
}

Matrix4 adjugate(const Matrix4& a)
{
    Matrix4 cofactors;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sign = ((r + c) % 2 == 0) ? 1.0f : -1.0f;
            cofactors.m[c * 4 + r] = sign * minor3(a, r, c);
        }
    transpose(cofactors);
    return cofactors;
}

} // namespace

void transpose(Matrix4& a)
{
    for (int r = 0; r < 4; ++r)
        for (int c = r + 1; c < 4; ++c)
            std::swap(a.m[c * 4 + r], a.m[r * 4 + c]);
}

float determinant3(const Matrix4& a)
{
    const float* m = a.m;
    return m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
           m[8] * (m[1] * m[6] - m[5] * m[2]);
}

float determinant(const Matrix4& a)
{
    // Expansion along row 0: m[0], m[4], m[8], m[12].
    return a.m[0] * minor3(a, 0, 0) - a.m[4] * minor3(a, 0, 1) + a.m[8] * minor3(a, 0, 2) -
           a.m[12] * minor3(a, 0, 3);
}

Matrix4 operator*(float s, const Matrix4& a)
{
    Matrix4 out;
    for (int i = 0; i < 16; ++i)
        out.m[i] = a.m[i] * s;
    return out;
}

void invert(Matrix4& a)
{
    float det = determinant(a);
    if (det == 0.0f)
        return;
    float scale = static_cast<float>(1.0 / det);
    a = scale * adjugate(a);
}

Matrix4 inverse(const Matrix4& a)
{
    float det = determinant(a);
    if (std::isnan(det) || (det > -InverseGuard && det < InverseGuard))
        return a;
    float scale = static_cast<float>(1.0 / det);
    return scale * adjugate(a);
}

Vec4 transformPoint(const Matrix4& a, Vec4 p)
{
    const float* m = a.m;
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14], 1.0f};
}

Vec4 transformPointByRows(const Matrix4& a, Vec4 p)
{
    const float* m = a.m;
    return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
            m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11], 1.0f};
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b)
{
    Matrix4 out;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out.m[c * 4 + r] = a.m[r] * b.m[c * 4] + a.m[4 + r] * b.m[c * 4 + 1] +
                               a.m[8 + r] * b.m[c * 4 + 2] + a.m[12 + r] * b.m[c * 4 + 3];
    return out;
}

Matrix4 translated(const Matrix4& a, float x, float y, float z)
{
    // Only the last column changes.
    Matrix4 out = a;
    for (int r = 0; r < 4; ++r)
        out.m[12 + r] = a.m[r] * x + a.m[4 + r] * y + a.m[8 + r] * z + a.m[12 + r];
    return out;
}

Matrix4 translated(const Matrix4& a, Vec4 by) { return translated(a, by.x, by.y, by.z); }

Matrix4 rotated(const Matrix4& a, float degrees, float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f)
        return a;
    x /= length;
    y /= length;
    z /= length;
    const double radians = static_cast<double>(degrees) * 3.14159265358979323846 / 180.0;
    const float s = std::sin(static_cast<float>(radians));
    const float c = std::cos(static_cast<float>(radians));
    const float t = 1.0f - c;
    Matrix4 turn;
    float* m = turn.m;
    m[0] = t * x * x + c;
    m[1] = t * x * y + z * s;
    m[2] = t * x * z - y * s;
    m[4] = t * x * y - z * s;
    m[5] = t * y * y + c;
    m[6] = t * y * z + x * s;
    m[8] = t * x * z + y * s;
    m[9] = t * y * z - x * s;
    m[10] = t * z * z + c;
    return a * turn;
}

Matrix4 rotatedAsGl(const Matrix4& a, float degrees, float x, float y, float z)
{
    const double radians = static_cast<double>(degrees) * 3.14159265358979323846 / 180.0;
    const float s = std::sin(static_cast<float>(radians));
    const float c = std::cos(static_cast<float>(radians));
    Matrix4 turn;
    float* m = turn.m;
    // About a coordinate axis the turn is made of c and s alone: the axis
    // keeps an exact 1, which 1 - c + c need not round back to.
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        m[0] = m[5] = c;
        m[1] = z < 0.0f ? -s : s;
        m[4] = -m[1];
        return a * turn;
    }
    if (x == 0.0f && z == 0.0f && y != 0.0f) {
        m[0] = m[10] = c;
        m[8] = y < 0.0f ? -s : s;
        m[2] = -m[8];
        return a * turn;
    }
    if (y == 0.0f && z == 0.0f && x != 0.0f) {
        m[5] = m[10] = c;
        m[6] = x < 0.0f ? -s : s;
        m[9] = -m[6];
        return a * turn;
    }
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f)
        return a;
    x /= length;
    y /= length;
    z /= length;
    const float t = 1.0f - c;
    m[0] = t * (x * x) + c;
    m[1] = t * (x * y) + z * s;
    m[2] = t * (z * x) - y * s;
    m[4] = t * (x * y) - z * s;
    m[5] = t * (y * y) + c;
    m[6] = t * (y * z) + x * s;
    m[8] = t * (z * x) + y * s;
    m[9] = t * (y * z) - x * s;
    m[10] = t * (z * z) + c;
    return a * turn;
}

Matrix4 scaled(const Matrix4& a, float x, float y, float z)
{
    Matrix4 out = a;
    for (int r = 0; r < 4; ++r) {
        out.m[r] *= x;
        out.m[4 + r] *= y;
        out.m[8 + r] *= z;
    }
    return out;
}
