#include "level_data.h"
#include "materials.h"
#include "models.h"
#include "textures.h"
#include "world/level_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

// The ground, in map coordinates (z up), as a grid that follows the
// valley: rows across the valley, finer along the course than beyond it;
// columns set off from the course's centre line, close together near it
// and wide apart toward the edges. It covers x -3000..4500 and y
// -3000..11500 so the haze hides its rim. Split in two files along y, each
// in tiles.

namespace {

constexpr double West = -3000.0, East = 4500.0, South = -3000.0, North = 11500.0;
constexpr double FineFrom = -400.0, FineTo = 8700.0, RowStep = 60.0;
constexpr double SplitY = 4100.0;    // on a row, which both halves share
constexpr double TextureTile = 96.0; // units per repeat of the ground picture

std::vector<double> columns(double y);

V3 groundPoint(double x, double y) { return {x, y, groundHeight(x, y)}; }

// The height of the ground's triangles over (x, y) between rows y0 and y1,
// as groundTiles makes them: in each cell a b d and a d c, a and b on row
// y0 (groundHeight outside the cells).
double heightBetweenRows(double x, double y, double y0, double y1)
{
    auto within = [&](V3 a, V3 b, V3 c, double& h) {
        const double d = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
        const double l1 = ((b.y - c.y) * (x - c.x) + (c.x - b.x) * (y - c.y)) / d;
        const double l2 = ((c.y - a.y) * (x - c.x) + (a.x - c.x) * (y - c.y)) / d;
        const double l3 = 1.0 - l1 - l2;
        if (l1 < -1e-9 || l2 < -1e-9 || l3 < -1e-9)
            return false;
        h = l1 * a.z + l2 * b.z + l3 * c.z;
        return true;
    };
    const std::vector<double> xs0 = columns(y0), xs1 = columns(y1);
    for (size_t i = 0; i + 1 < xs0.size(); ++i) {
        const V3 a = groundPoint(xs0[i], y0), b = groundPoint(xs0[i + 1], y0);
        const V3 c = groundPoint(xs1[i], y1), d = groundPoint(xs1[i + 1], y1);
        double h = 0.0;
        if (within(a, b, d, h) || within(a, d, c, h))
            return h;
    }
    return groundHeight(x, y);
}

// Whether a row is needed between two rows RowStep apart: where the ground
// near the course bends (the plateau's slopes), for the road, and where the
// coarser cells would tilt a base's pad.
bool bendsBetween(double y)
{
    const double mid = y + RowStep / 2.0;
    auto bends = [&](double x0, double xMid, double x1) {
        const double straight = (groundHeight(x0, y) + groundHeight(x1, y + RowStep)) / 2.0;
        return std::fabs(groundHeight(xMid, mid) - straight) > 0.5;
    };
    for (double o = -45.0; o <= 45.0 + 1e-9; o += 15.0)
        if (bends(courseCentreX(y) + o, courseCentreX(mid) + o, courseCentreX(y + RowStep) + o))
            return true;
    // Under a base's own pad (23 units either side of its middle), the
    // cells must stay level.
    for (const layout::Point& base : layout::BasePlaces)
        for (double dx = -24.0; dx <= 24.0 + 1e-9; dx += 8.0)
            for (double dy = -24.0; dy <= 24.0 + 1e-9; dy += 8.0) {
                const double x = base.x + dx, py = base.y + dy;
                if (py >= y && py <= y + RowStep &&
                    std::fabs(heightBetweenRows(x, py, y, y + RowStep) - groundHeight(x, py)) > 0.5)
                    return true;
            }
    return false;
}

std::vector<double> rows()
{
    std::vector<double> r;
    for (int i = 0; i < 8; ++i)
        r.push_back(South + (FineFrom - South) * i / 8.0);
    for (double y = FineFrom; y < FineTo - 1e-9; y += RowStep) {
        r.push_back(y);
        if (bendsBetween(y))
            r.push_back(y + RowStep / 2.0);
    }
    for (int i = 0; i <= 8; ++i)
        r.push_back(FineTo + (North - FineTo) * i / 8.0);
    return r;
}

// Offsets from the centre line, then the two edges.
std::vector<double> columns(double y)
{
    // Out to 760 units either side the cells stay small enough for the
    // bases' level pads, even those the course does not pass.
    const double near[] = {-760, -690, -620, -560, -500, -440, -380, -320, -260, -205, -160};
    const int nearCount = int(sizeof(near) / sizeof(near[0]));
    std::vector<double> offsets;
    double c = courseCentreX(y);
    for (double f : {1.0, 0.55, 0.25})
        offsets.push_back(c - 760.0 + (West - (c - 760.0)) * f);
    for (double o : near)
        offsets.push_back(c + o);
    for (double o = -120.0; o <= 120.0 + 1e-9; o += 15.0)
        offsets.push_back(c + o);
    for (int i = nearCount - 1; i >= 0; --i)
        offsets.push_back(c - near[i]);
    for (double f : {0.25, 0.55, 1.0})
        offsets.push_back(c + 760.0 + (East - (c + 760.0)) * f);
    return offsets;
}

V3 groundNormal(double x, double y)
{
    const double e = 4.0;
    double dx = (groundHeight(x + e, y) - groundHeight(x - e, y)) / (2 * e);
    double dy = (groundHeight(x, y + e) - groundHeight(x, y - e)) / (2 * e);
    return normalized(V3{-dx, -dy, 1.0});
}

// The ground between two rows, in tiles of TileRows rows by a quarter of
// the columns, so the game can leave out the tiles outside its view; the
// tiles run across the valley, then along it, and each keeps the grid's
// triangles in their order.
constexpr size_t TileRows = 8, TileColumnBlocks = 4;

std::vector<Mesh> groundTiles(double yFrom, double yTo)
{
    std::vector<double> ys;
    for (double y : rows())
        if (y >= yFrom - 1e-9 && y <= yTo + 1e-9)
            ys.push_back(y);
    const size_t cols = columns(0).size();
    std::vector<V3> positions, normals;
    std::vector<UV> uvs;
    for (double y : ys)
        for (double x : columns(y)) {
            positions.push_back({x, y, groundHeight(x, y)});
            uvs.push_back({x / TextureTile, y / TextureTile});
            normals.push_back(groundNormal(x, y));
        }
    std::vector<Mesh> tiles;
    const size_t cells = cols - 1, blockWidth = (cells + TileColumnBlocks - 1) / TileColumnBlocks;
    for (size_t j0 = 0; j0 + 1 < ys.size(); j0 += TileRows) {
        const size_t j1 = std::min(j0 + TileRows, ys.size() - 1);
        for (size_t i0 = 0; i0 < cells; i0 += blockWidth) {
            const size_t i1 = std::min(i0 + blockWidth, cells), width = i1 - i0 + 1;
            Mesh m;
            for (size_t j = j0; j <= j1; ++j)
                for (size_t i = i0; i <= i1; ++i) {
                    m.addVertex(positions[j * cols + i]);
                    m.addTVertex(uvs[j * cols + i]);
                }
            auto at = [&](size_t j, size_t i) { return int((j - j0) * width + (i - i0)); };
            auto normal = [&](size_t j, size_t i) { return normals[j * cols + i]; };
            for (size_t j = j0; j < j1; ++j)
                for (size_t i = i0; i < i1; ++i) {
                    int a = at(j, i), b = at(j, i + 1), c = at(j + 1, i), d = at(j + 1, i + 1);
                    m.addFace({{a, b, d}, {a, b, d}, {normal(j, i), normal(j, i + 1), normal(j + 1, i + 1)}});
                    m.addFace({{a, d, c}, {a, d, c}, {normal(j, i), normal(j + 1, i + 1), normal(j + 1, i)}});
                }
            tiles.push_back(std::move(m));
        }
    }
    return tiles;
}

} // namespace

double drawnGroundHeight(double x, double y)
{
    static const std::vector<double> ys = rows();
    const auto above = std::upper_bound(ys.begin(), ys.end(), y);
    if (above == ys.begin() || above == ys.end())
        return groundHeight(x, y);
    return heightBetweenRows(x, y, *(above - 1), *above);
}

AseScene buildMap(int part)
{
    if (part != 1 && part != 2)
        throw std::out_of_range("map part");
    AseScene scene;
    int ground = scene.addMaterial(textureLit("Ground", GroundTexture, 0.75));
    const std::vector<Mesh> tiles = part == 1 ? groundTiles(South, SplitY) : groundTiles(SplitY, North);
    for (size_t t = 0; t < tiles.size(); ++t) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%02zu", part == 1 ? "GroundSouth" : "GroundNorth", t + 1);
        scene.addObject(name, tiles[t], ground);
    }
    return scene;
}
