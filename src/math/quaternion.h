#pragma once

#include "math/matrix4.h"

// A rotation quaternion and the matrix last computed from it. Only
// updateMatrix writes `rotation` from the components: assigning a quaternion
// copies the four components and keeps the target's matrix.
struct Quaternion {
    float w = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    Matrix4 rotation;

    Quaternion() = default;
    Quaternion(float w_, float x_, float y_, float z_) : w(w_), x(x_), y(y_), z(z_) {}
    Quaternion(const Quaternion& other) = default;
    Quaternion& operator=(const Quaternion& other);
};

// Divides the components by their length; a zero quaternion stays zero.
void normalize(Quaternion& q);

// Angle in radians; the axis is used as given and only the final
// normalisation corrects a non-unit one.
void setFromAxisAngle(Quaternion& q, float angle, float ax, float ay, float az);

// Writes `rotation`: the usual unit-quaternion matrix entered row by row into
// column-major storage, i.e. the rotation by the inverse quaternion.
void updateMatrix(Quaternion& q);

Quaternion operator*(float s, const Quaternion& q);
Quaternion operator+(const Quaternion& a, const Quaternion& b);
