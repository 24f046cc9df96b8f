#include "mesh.h"

#include <algorithm>

int Mesh::addVertex(V3 p)
{
    vertices.push_back(p);
    return int(vertices.size()) - 1;
}

int Mesh::addTVertex(UV t)
{
    tvertices.push_back(t);
    return int(tvertices.size()) - 1;
}

void Mesh::triangle(V3 a, V3 b, V3 c, UV ta, UV tb, UV tc)
{
    Face f;
    V3 n = normalized(cross(b - a, c - a));
    V3 p[3] = {a, b, c};
    UV t[3] = {ta, tb, tc};
    for (int k = 0; k < 3; ++k) {
        f.v[k] = addVertex(p[k]);
        f.t[k] = addTVertex(t[k]);
        f.n[k] = n;
    }
    faces.push_back(f);
}

void Mesh::quad(V3 a, V3 b, V3 c, V3 d, UV colour) { quad(a, b, c, d, colour, colour, colour, colour); }

void Mesh::quad(V3 a, V3 b, V3 c, V3 d, UV ta, UV tb, UV tc, UV td)
{
    // Shares the four corners between the two halves, with one normal for
    // the quad (the average, for quads that are not quite planar).
    V3 n = normalized(cross(c - a, d - b));
    int v0 = addVertex(a), v1 = addVertex(b), v2 = addVertex(c), v3 = addVertex(d);
    int t0 = addTVertex(ta), t1 = addTVertex(tb), t2 = addTVertex(tc), t3 = addTVertex(td);
    faces.push_back({{v0, v1, v2}, {t0, t1, t2}, {n, n, n}});
    faces.push_back({{v0, v2, v3}, {t0, t2, t3}, {n, n, n}});
}

void Mesh::append(const Mesh& other, const Affine& t)
{
    Mesh moved = other;
    moved.transform(t);
    int vb = int(vertices.size()), tb = int(tvertices.size());
    vertices.insert(vertices.end(), moved.vertices.begin(), moved.vertices.end());
    tvertices.insert(tvertices.end(), moved.tvertices.begin(), moved.tvertices.end());
    for (Face f : moved.faces) {
        for (int k = 0; k < 3; ++k) {
            f.v[k] += vb;
            f.t[k] += tb;
        }
        faces.push_back(f);
    }
}

void Mesh::transform(const Affine& t)
{
    for (V3& p : vertices)
        p = t.point(p);
    for (Face& f : faces)
        for (V3& n : f.n)
            n = t.normal(n);
    // A mirroring transform turns the winding inside out.
    if (dot(t.column(0), cross(t.column(1), t.column(2))) < 0.0)
        for (Face& f : faces) {
            std::swap(f.v[1], f.v[2]);
            std::swap(f.t[1], f.t[2]);
            std::swap(f.n[1], f.n[2]);
        }
}

void Mesh::flip()
{
    for (Face& f : faces) {
        std::swap(f.v[1], f.v[2]);
        std::swap(f.t[1], f.t[2]);
        std::swap(f.n[1], f.n[2]);
        for (V3& n : f.n)
            n = -n;
    }
}

V3 Mesh::faceNormal(const Face& f) const
{
    V3 a = vertices[f.v[0]], b = vertices[f.v[1]], c = vertices[f.v[2]];
    return normalized(cross(b - a, c - a));
}

void Mesh::bounds(V3& lo, V3& hi) const
{
    lo = hi = V3{};
    if (vertices.empty())
        return;
    lo = hi = vertices[0];
    for (V3 p : vertices) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}
