#pragma once

#include "math/vector.h"

// Sixteen floats in OpenGL's column-major order: row r, column c is
// m[c * 4 + r], so an affine matrix keeps its translation in m[12..14].
// Handed to glMultMatrixf, glLoadMatrixf and filled by glGetFloatv
// unchanged.
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

void transpose(Matrix4& a);

// Determinant of the upper-left 3 by 3 block.
float determinant3(const Matrix4& a);
float determinant(const Matrix4& a);

Matrix4 operator*(float s, const Matrix4& a);

// In place; leaves the matrix as it is only when the determinant is exactly 0.
void invert(Matrix4& a);

// A new matrix; a copy of the input when |determinant| < 0.000005 (or NaN),
// so near-singular node frames never blow up into huge numbers.
Matrix4 inverse(const Matrix4& a);

// M * (x, y, z, 1) with the translation in the last column; w comes back 1.
Vec4 transformPoint(const Matrix4& a, Vec4 p);

// The storage read as rows (translation in m[3], m[7], m[11]): the same as
// transformPoint with the transposed matrix.
Vec4 transformPointByRows(const Matrix4& a, Vec4 p);

// The modelview operations of OpenGL on the CPU, so that the game's rules
// need no GL context. Each multiplies on the right, as its GL namesake does
// to the top of the stack: translated(m, ...) is glTranslatef on m.
Matrix4 operator*(const Matrix4& a, const Matrix4& b); // glMultMatrixf(b) on a
Matrix4 translated(const Matrix4& a, float x, float y, float z);
Matrix4 translated(const Matrix4& a, Vec4 by); // by x, y and z; w is ignored
// By degrees about the axis (normalised here), as glRotatef turns; an axis
// too short to normalise turns nothing.
Matrix4 rotated(const Matrix4& a, float degrees, float x, float y, float z);
// rotated() as glRotatef rounds it, to the last bit on Mesa: about a
// coordinate axis the turn is made of the sine and cosine alone, about any
// other its products are grouped as GL groups them. For the matrices that
// stand in for ones GL made (the camera, the pivot spins), so that nothing
// drawn moves by a pixel; the rules' other turns keep rotated()'s rounding,
// which their hit tests and the bases' places were made with.
Matrix4 rotatedAsGl(const Matrix4& a, float degrees, float x, float y, float z);
Matrix4 scaled(const Matrix4& a, float x, float y, float z);
