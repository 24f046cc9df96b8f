#pragma once

#include "mesh.h"

// Solid primitives for the models, each in its own local frame; place them
// with Mesh::append and an Affine. Colours are palette coordinates.

// A box from lo to hi, flat faces.
Mesh box(V3 lo, V3 hi, UV colour);

// A prism along y from y0 to y1 whose cross-section in x and z is a
// circle (or an ellipse, radii rx and rz) of `sides` segments, radii
// possibly different at the two ends (a frustum or a cone). Smooth sides,
// flat caps (a cap of radius 0 is left out).
Mesh frustum(double rx0, double rz0, double rx1, double rz1, double y0, double y1, int sides, UV colour,
             bool capped = true);
inline Mesh cylinder(double r, double y0, double y1, int sides, UV colour)
{
    return frustum(r, r, r, r, y0, y1, sides, colour);
}

// An ellipsoid about the origin with radii r, smooth; texture u around y
// from 0 to 1, v from the bottom (0) to the top (1) when `mapped`.
Mesh ellipsoid(V3 r, int slices, int stacks, UV colour, bool mapped = false);

// A surface of revolution about y through profile points (radius, y),
// listed from bottom to top; smooth around, sharp between profile points
// only where `sharp` says so for that point.
Mesh lathe(const std::vector<std::pair<double, double>>& profile, int sides, UV colour);

// A flat quad in the z = 0 plane from (x0, y0) to (x1, y1) facing +z.
Mesh panel(double x0, double y0, double x1, double y1, UV colour);

// A rectangular frame (four bars) in the z = 0 plane: outer rectangle
// (x0, y0)..(x1, y1), bar width w, thickness d along z centred on 0.
Mesh frame(double x0, double y0, double x1, double y1, double w, double d, UV colour);

// A slab with bevelled front edges: width along x, height along y, depth
// along z (back at z = -depth / 2, front at +depth / 2), bevel b taken off
// the front rim. The menu's plates.
Mesh bevelledSlab(double width, double height, double depth, double b, UV face, UV rim);
