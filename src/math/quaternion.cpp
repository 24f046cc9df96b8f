#include "math/quaternion.h"

#include <cmath>

Quaternion& Quaternion::operator=(const Quaternion& other)
{
    // The matrix is only ever written by updateMatrix.
    w = other.w;
    x = other.x;
    y = other.y;
    z = other.z;
    return *this;
}

void normalize(Quaternion& q)
{
    float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (length == 0.0f)
        return;
    q.w /= length;
    q.x /= length;
    q.y /= length;
    q.z /= length;
}

void setFromAxisAngle(Quaternion& q, float angle, float ax, float ay, float az)
{
    float half = angle * 0.5f;
    q.w = std::cos(half);
    float s = std::sin(half);
    q.x = s * ax;
    q.y = s * ay;
    q.z = s * az;
    normalize(q);
}

void updateMatrix(Quaternion& q)
{
    float w = q.w, x = q.x, y = q.y, z = q.z;
    float* m = q.rotation.m;
    m[0] = 1 - 2 * (y * y + z * z);
    m[1] = 2 * (x * y - w * z);
    m[2] = 2 * (x * z + w * y);
    m[3] = 0;
    m[4] = 2 * (x * y + w * z);
    m[5] = 1 - 2 * (x * x + z * z);
    m[6] = 2 * (y * z - w * x);
    m[7] = 0;
    m[8] = 2 * (x * z - w * y);
    m[9] = 2 * (y * z + w * x);
    m[10] = 1 - 2 * (x * x + y * y);
    m[11] = 0;
    m[12] = 0;
    m[13] = 0;
    m[14] = 0;
    m[15] = 1;
}

Quaternion operator*(float s, const Quaternion& q) { return Quaternion(s * q.w, s * q.x, s * q.y, s * q.z); }

Quaternion operator+(const Quaternion& a, const Quaternion& b)
{
    return Quaternion(a.w + b.w, a.x + b.x, a.y + b.y, a.z + b.z);
}
