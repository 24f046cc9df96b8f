#pragma once

#include "geometry.h"

#include <vector>

// A triangle mesh as a GEOMOBJECT carries it: positions, texture
// coordinates, and per face its corners' vertex and texture indices and
// their normals. Vertices are in the file's world coordinates.
struct Mesh {
    struct Face {
        int v[3] = {0, 0, 0};
        int t[3] = {0, 0, 0};
        V3 n[3];
    };

    std::vector<V3> vertices;
    std::vector<UV> tvertices;
    std::vector<Face> faces;

    int addVertex(V3 p);
    int addTVertex(UV t);
    void addFace(const Face& f) { faces.push_back(f); }

    // A flat-shaded triangle with vertices of its own, corners
    // counter-clockwise seen from the front.
    void triangle(V3 a, V3 b, V3 c, UV ta, UV tb, UV tc);
    // The same, all three corners on one texture coordinate (a colour of
    // the palette).
    void triangle(V3 a, V3 b, V3 c, UV colour) { triangle(a, b, c, colour, colour, colour); }
    // Two triangles a b c, a c d.
    void quad(V3 a, V3 b, V3 c, V3 d, UV colour);
    void quad(V3 a, V3 b, V3 c, V3 d, UV ta, UV tb, UV tc, UV td);

    // Adds another mesh, moved by t (normals turned with it).
    void append(const Mesh& other, const Affine& t = Affine());
    void transform(const Affine& t);
    // Turns every face around (winding and normals).
    void flip();

    V3 faceNormal(const Face& f) const;
    // Axis-aligned bounds of the vertices; both zero for an empty mesh.
    void bounds(V3& lo, V3& hi) const;
};
