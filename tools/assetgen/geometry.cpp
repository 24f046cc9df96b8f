#include "geometry.h"

Affine Affine::translate(V3 t)
{
    Affine a;
    a.m[0][3] = t.x;
    a.m[1][3] = t.y;
    a.m[2][3] = t.z;
    return a;
}

Affine Affine::scale(V3 s)
{
    Affine a;
    a.m[0][0] = s.x;
    a.m[1][1] = s.y;
    a.m[2][2] = s.z;
    return a;
}

Affine Affine::rotate(V3 axis, double degrees)
{
    V3 u = normalized(axis);
    double c = std::cos(radians(degrees)), s = std::sin(radians(degrees)), t = 1.0 - c;
    Affine a;
    a.m[0][0] = t * u.x * u.x + c;
    a.m[0][1] = t * u.x * u.y - s * u.z;
    a.m[0][2] = t * u.x * u.z + s * u.y;
    a.m[1][0] = t * u.x * u.y + s * u.z;
    a.m[1][1] = t * u.y * u.y + c;
    a.m[1][2] = t * u.y * u.z - s * u.x;
    a.m[2][0] = t * u.x * u.z - s * u.y;
    a.m[2][1] = t * u.y * u.z + s * u.x;
    a.m[2][2] = t * u.z * u.z + c;
    return a;
}

Affine Affine::rotateX(double degrees) { return rotate({1, 0, 0}, degrees); }
Affine Affine::rotateY(double degrees) { return rotate({0, 1, 0}, degrees); }
Affine Affine::rotateZ(double degrees) { return rotate({0, 0, 1}, degrees); }

Affine Affine::frame(V3 xAxis, V3 yAxis, V3 zAxis, V3 origin)
{
    Affine a;
    V3 cols[4] = {xAxis, yAxis, zAxis, origin};
    for (int c = 0; c < 4; ++c) {
        a.m[0][c] = cols[c].x;
        a.m[1][c] = cols[c].y;
        a.m[2][c] = cols[c].z;
    }
    return a;
}

V3 Affine::point(V3 p) const
{
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
}

V3 Affine::vector(V3 v) const
{
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

V3 Affine::normal(V3 n) const
{
    // Cofactors of the linear part: proportional to the inverse transpose.
    V3 c0 = cross(column(1), column(2));
    V3 c1 = cross(column(2), column(0));
    V3 c2 = cross(column(0), column(1));
    // A mirroring transform (negative determinant) keeps normals outward.
    double sign = dot(column(0), c0) < 0.0 ? -1.0 : 1.0;
    return normalized((c0 * n.x + c1 * n.y + c2 * n.z) * sign);
}

Affine operator*(const Affine& a, const Affine& b)
{
    Affine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double s = (j == 3) ? a.m[i][3] : 0.0;
            for (int k = 0; k < 3; ++k)
                s += a.m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    }
    return r;
}
