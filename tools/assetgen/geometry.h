#pragma once

#include <cmath>

// Positions and directions of the generator, in double precision: the
// files carry four decimals, so rounding happens once, at writing.
struct V3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator-(V3 a) { return {-a.x, -a.y, -a.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline V3 operator*(double s, V3 a) { return a * s; }
inline double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(V3 a) { return std::sqrt(dot(a, a)); }
// A zero vector stays zero.
inline V3 normalized(V3 a)
{
    double l = length(a);
    return l > 0.0 ? a * (1.0 / l) : V3{};
}
inline V3 lerp(V3 a, V3 b, double t) { return a + (b - a) * t; }

constexpr double Pi = 3.14159265358979323846;
inline double radians(double degrees) { return degrees * Pi / 180.0; }

struct UV {
    double u = 0.0, v = 0.0;
};

// An affine transform: rows of a 3 by 4 matrix (rotation and scale in the
// first three columns, translation in the last).
struct Affine {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

    static Affine translate(V3 t);
    static Affine scale(V3 s);
    static Affine scale(double s) { return scale({s, s, s}); }
    // Right-handed rotations about the axes, angles in degrees.
    static Affine rotateX(double degrees);
    static Affine rotateY(double degrees);
    static Affine rotateZ(double degrees);
    static Affine rotate(V3 axis, double degrees);
    // The frame with these axes (columns) and origin.
    static Affine frame(V3 xAxis, V3 yAxis, V3 zAxis, V3 origin);

    V3 point(V3 p) const;
    // Directions: the linear part only.
    V3 vector(V3 v) const;
    // Normals: the inverse transpose of the linear part, renormalised.
    V3 normal(V3 n) const;
    V3 column(int c) const { return {m[0][c], m[1][c], m[2][c]}; }
};

// a * b: b first, then a.
Affine operator*(const Affine& a, const Affine& b);
