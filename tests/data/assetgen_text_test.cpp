// 3D lettering from glyph outlines.
#include "text3d.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

TextStyle solid()
{
    TextStyle s;
    s.capHeight = 2.0;
    s.depth = 0.5;
    return s;
}

double frontArea(const Mesh& m)
{
    double area = 0.0;
    for (const Mesh::Face& f : m.faces)
        if (f.n[0].z > 0.99)
            area += 0.5 * length(cross(m.vertices[size_t(f.v[1])] - m.vertices[size_t(f.v[0])],
                                       m.vertices[size_t(f.v[2])] - m.vertices[size_t(f.v[0])]));
    return area;
}

} // namespace

TEST(AssetgenText, ExtrudedLettersAreClosedSolids)
{
    // Every edge of a closed surface belongs to exactly two triangles, once
    // in each direction: holes, gaps or inside-out walls break that.
    TextStyle style = solid();
    for (Font font : {Font::Sans, Font::SansBold})
        for (int ch = 33; ch < 127; ++ch) {
            style.font = font;
            std::string text(1, char(ch));
            Mesh m = textMesh(text, style);
            ASSERT_FALSE(m.faces.empty()) << text;
            std::map<std::pair<int, int>, int> edges;
            for (const Mesh::Face& f : m.faces)
                for (int k = 0; k < 3; ++k)
                    ++edges[{f.v[k], f.v[(k + 1) % 3]}];
            for (const auto& [edge, count] : edges) {
                EXPECT_EQ(count, 1) << text;
                EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << text << ": an open edge";
            }
        }
}

TEST(AssetgenText, NormalsPointOutOfTheLetter)
{
    Mesh m = textMesh("Sa8", solid());
    for (const Mesh::Face& f : m.faces) {
        V3 geometric = m.faceNormal(f);
        for (const V3& n : f.n)
            EXPECT_GT(dot(geometric, n), 0.2); // smoothing may bend a normal, never turn it over
    }
}

TEST(AssetgenText, SizedByCapHeightAndPlacedByAlignment)
{
    TextStyle s = solid();
    Mesh h = textMesh("H", s);
    V3 lo, hi;
    h.bounds(lo, hi);
    EXPECT_NEAR(lo.y, 0.0, 0.01);
    EXPECT_NEAR(hi.y, 2.0, 0.01);
    EXPECT_NEAR(lo.z, -0.25, 1e-9);
    EXPECT_NEAR(hi.z, 0.25, 1e-9);

    s.align = Align::Centre;
    Mesh centred = textMesh("Exit", s);
    centred.bounds(lo, hi);
    EXPECT_NEAR(lo.x + hi.x, 0.0, 0.3);
    s.align = Align::Right;
    textMesh("Exit", s).bounds(lo, hi);
    EXPECT_LE(hi.x, 0.0 + 1e-9);
    EXPECT_NEAR(textWidth("Exit Exit", s), 2 * textWidth("Exit", s) + textWidth(" ", s), 1e-9);
}

TEST(AssetgenText, HolesStayOpenAndFlatLettersHaveOnlyAFront)
{
    TextStyle s = solid();
    s.depth = 0.0;
    Mesh o = textMesh("O", s);
    for (const Mesh::Face& f : o.faces)
        EXPECT_GT(f.n[0].z, 0.99);
    V3 lo, hi;
    o.bounds(lo, hi);
    // The counter of the O is not filled: the ring covers well under the box.
    EXPECT_LT(frontArea(o), 0.6 * (hi.x - lo.x) * (hi.y - lo.y));
    EXPECT_GT(frontArea(o), 0.2 * (hi.x - lo.x) * (hi.y - lo.y));
    // Blanks advance and add nothing.
    EXPECT_EQ(textMesh("O O", s).faces.size(), 2 * o.faces.size());
}

TEST(AssetgenText, MarkedLettersTakeTheirOwnColour)
{
    TextStyle s = solid();
    s.front = {0.1, 0.1};
    s.side = {0.3, 0.3};
    s.markedFront = {0.9, 0.9};
    s.marked = {0};
    Mesh m = textMesh("SI", s);
    int marked = 0;
    for (const Mesh::Face& f : m.faces)
        if (m.tvertices[size_t(f.t[0])].u == 0.9) {
            ++marked;
            EXPECT_LT(m.vertices[size_t(f.v[0])].x, textWidth("S", s) + 1e-9); // only the S
        }
    EXPECT_GT(marked, 0);
}
