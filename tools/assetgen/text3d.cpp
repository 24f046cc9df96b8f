#include "text3d.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

std::string FontDirectory = "/usr/share/fonts/truetype/dejavu";

// Outlines are taken at 64 pixels to the em, unhinted: only their shape
// matters, scaled to the caption's size afterwards.
constexpr int PixelsPerEm = 64;

struct P2 {
    double x, y;
};
using Contour = std::vector<P2>;

struct Glyph {
    std::vector<Contour> contours; // in pixels
    double advance = 0.0;
    bool fillOnRight = true; // TrueType outlines: solid on the right of the direction of travel
};

class FontFace {
  public:
    explicit FontFace(const std::string& path)
    {
        if (FT_Init_FreeType(&library_) != 0)
            throw std::runtime_error("FreeType did not start");
        if (FT_New_Face(library_, path.c_str(), 0, &face_) != 0)
            throw std::runtime_error("cannot open font " + path);
        FT_Set_Pixel_Sizes(face_, 0, PixelsPerEm);
        capHeight_ = measureCapHeight();
    }
    ~FontFace()
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const Glyph& glyph(unsigned char c)
    {
        auto it = glyphs_.find(c);
        if (it != glyphs_.end())
            return it->second;
        return glyphs_.emplace(c, load(c)).first->second;
    }
    double capHeight() const { return capHeight_; }

  private:
    Glyph load(unsigned char c)
    {
        Glyph g;
        if (FT_Load_Char(face_, c, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            return g;
        FT_GlyphSlot slot = face_->glyph;
        g.advance = slot->advance.x / 64.0;
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
            return g;
        g.fillOnRight = FT_Outline_Get_Orientation(&slot->outline) == FT_ORIENTATION_TRUETYPE;
        FT_Outline_Funcs funcs{};
        funcs.move_to = [](const FT_Vector* to, void* user) {
            auto* contours = static_cast<std::vector<Contour>*>(user);
            contours->push_back({{to->x / 64.0, to->y / 64.0}});
            return 0;
        };
        funcs.line_to = [](const FT_Vector* to, void* user) {
            static_cast<std::vector<Contour>*>(user)->back().push_back({to->x / 64.0, to->y / 64.0});
            return 0;
        };
        funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
            Contour& c = static_cast<std::vector<Contour>*>(user)->back();
            P2 p0 = c.back(), p1{control->x / 64.0, control->y / 64.0}, p2{to->x / 64.0, to->y / 64.0};
            int steps =
                segmentsFor(std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y));
            for (int i = 1; i <= steps; ++i) {
                double t = double(i) / steps, u = 1.0 - t;
                c.push_back({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                             u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
            }
            return 0;
        };
        funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
            Contour& c = static_cast<std::vector<Contour>*>(user)->back();
            P2 p0 = c.back(), p1{c1->x / 64.0, c1->y / 64.0}, p2{c2->x / 64.0, c2->y / 64.0},
               p3{to->x / 64.0, to->y / 64.0};
            int steps =
                segmentsFor(std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                            std::hypot(p3.x - p2.x, p3.y - p2.y));
            for (int i = 1; i <= steps; ++i) {
                double t = double(i) / steps, u = 1.0 - t;
                double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
                c.push_back(
                    {a * p0.x + b * p1.x + d * p2.x + e * p3.x, a * p0.y + b * p1.y + d * p2.y + e * p3.y});
            }
            return 0;
        };
        FT_Outline_Decompose(&slot->outline, &funcs, &g.contours);
        for (Contour& c : g.contours)
            tidy(c);
        std::erase_if(g.contours, [](const Contour& c) { return c.size() < 3; });
        return g;
    }

    // Enough segments that a curve looks round at the captions' sizes,
    // few enough to keep the face budget of a screen.
    static int segmentsFor(double length)
    {
        int n = int(std::ceil(length / 9.0));
        return n < 2 ? 2 : (n > 6 ? 6 : n);
    }

    // Drops repeated points, including the closing copy of the first one.
    static void tidy(Contour& c)
    {
        Contour out;
        for (P2 p : c)
            if (out.empty() || std::hypot(p.x - out.back().x, p.y - out.back().y) > 1e-6)
                out.push_back(p);
        while (out.size() > 1 &&
               std::hypot(out.front().x - out.back().x, out.front().y - out.back().y) <= 1e-6)
            out.pop_back();
        c = out;
    }

    double measureCapHeight()
    {
        if (FT_Load_Char(face_, 'H', FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            return PixelsPerEm * 0.73;
        FT_BBox box;
        FT_Outline_Get_CBox(&face_->glyph->outline, &box);
        return (box.yMax - box.yMin) / 64.0;
    }

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    double capHeight_ = 0.0;
    std::map<unsigned char, Glyph> glyphs_;
};

FontFace& fontFor(Font font)
{
    static std::map<Font, std::unique_ptr<FontFace>> faces;
    auto& slot = faces[font];
    if (!slot) {
        const char* file = font == Font::SansBold ? "/DejaVuSans-Bold.ttf" : "/DejaVuSans.ttf";
        slot = std::make_unique<FontFace>(FontDirectory + file);
    }
    return *slot;
}

// The GLU tessellator's output, collected as triangles of point indices.
struct TessVertex {
    GLdouble xyz[3];
    int index;
};

struct TessState {
    std::deque<TessVertex> vertices; // stable addresses for GLU
    std::vector<int> triangles;
    bool failed = false;
};

void GLAPIENTRY onBegin(GLenum, void*) {}
void GLAPIENTRY onEdgeFlag(GLboolean, void*) {} // its presence makes GLU emit plain triangles
void GLAPIENTRY onVertex(void* vertex, void* state)
{
    static_cast<TessState*>(state)->triangles.push_back(static_cast<TessVertex*>(vertex)->index);
}
void GLAPIENTRY onEnd(void*) {}
void GLAPIENTRY onCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* state)
{
    auto* s = static_cast<TessState*>(state);
    s->vertices.push_back({{coords[0], coords[1], coords[2]}, int(s->vertices.size())});
    *out = &s->vertices.back();
}
void GLAPIENTRY onError(GLenum, void* state) { static_cast<TessState*>(state)->failed = true; }

// Triangles filling the glyph (nonzero winding), counter-clockwise from +z.
void tessellate(const std::vector<Contour>& contours, std::vector<P2>& points, std::vector<int>& triangles)
{
    TessState state;
    for (const Contour& c : contours)
        for (P2 p : c)
            state.vertices.push_back({{p.x, p.y, 0.0}, int(state.vertices.size())});

    GLUtesselator* tess = gluNewTess();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(onBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(onEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(onVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(onEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(onCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(onError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessBeginPolygon(tess, &state);
    size_t next = 0;
    for (const Contour& c : contours) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < c.size(); ++i, ++next)
            gluTessVertex(tess, state.vertices[next].xyz, &state.vertices[next]);
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (state.failed)
        throw std::runtime_error("the tessellator refused a glyph");

    points.clear();
    for (const TessVertex& v : state.vertices)
        points.push_back({v.xyz[0], v.xyz[1]});
    triangles = state.triangles;
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        P2 a = points[triangles[i]], b = points[triangles[i + 1]], c = points[triangles[i + 2]];
        if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0.0)
            std::swap(triangles[i + 1], triangles[i + 2]);
    }
}

// Adds one glyph: scale maps font pixels to model units, (ox, 0) is the pen.
void addGlyph(Mesh& mesh, const Glyph& g, double scale, double ox, const TextStyle& style, UV front)
{
    if (g.contours.empty())
        return;
    double zf = style.depth * 0.5, zb = -style.depth * 0.5;
    auto at = [&](P2 p, double z) { return V3{ox + p.x * scale, p.y * scale, z}; };

    std::vector<P2> points;
    std::vector<int> tris;
    tessellate(g.contours, points, tris);
    int tFront = mesh.addTVertex(front), tSide = mesh.addTVertex(style.side);
    int frontBase = int(mesh.vertices.size());
    for (P2 p : points)
        mesh.addVertex(at(p, zf));
    int backBase = int(mesh.vertices.size());
    if (style.depth > 0.0)
        for (P2 p : points)
            mesh.addVertex(at(p, zb));
    if (style.depth <= 0.0) {
        // Flat lettering: the front face alone.
        for (size_t i = 0; i + 2 < tris.size(); i += 3) {
            Mesh::Face f;
            for (int k = 0; k < 3; ++k) {
                f.v[k] = frontBase + tris[i + size_t(k)];
                f.t[k] = tFront;
                f.n[k] = {0, 0, 1};
            }
            mesh.addFace(f);
        }
        return;
    }
    for (size_t i = 0; i + 2 < tris.size(); i += 3) {
        Mesh::Face f;
        Mesh::Face b;
        for (int k = 0; k < 3; ++k) {
            f.v[k] = frontBase + tris[i + k];
            f.t[k] = tFront;
            f.n[k] = {0, 0, 1};
            b.v[k] = backBase + tris[i + 2 - k];
            b.t[k] = tFront;
            b.n[k] = {0, 0, -1};
        }
        mesh.addFace(f);
        mesh.addFace(b);
    }

    // Side walls. The outward normal of an edge is on the side away from
    // the solid; neighbouring edges closer than 35 degrees share a normal.
    const double smoothCos = std::cos(radians(35.0));
    // The walls share the caps' vertices: the file gives every face corner
    // a normal of its own, so sharp and smooth edges need no copies. The
    // tessellator's list starts with the contour points in order.
    int offset = 0;
    for (const Contour& c : g.contours) {
        int n = int(c.size());
        std::vector<V3> edgeNormal(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            P2 a = c[size_t(i)], b = c[size_t((i + 1) % n)];
            double dx = b.x - a.x, dy = b.y - a.y;
            edgeNormal[size_t(i)] = g.fillOnRight ? normalized(V3{-dy, dx, 0}) : normalized(V3{dy, -dx, 0});
        }
        for (int i = 0; i < n; ++i) {
            int j = (i + 1) % n;
            V3 ni = edgeNormal[size_t(i)];
            V3 prev = edgeNormal[size_t((i + n - 1) % n)], next = edgeNormal[size_t(j)];
            V3 na = dot(prev, ni) > smoothCos ? normalized(prev + ni) : ni;
            V3 nb = dot(next, ni) > smoothCos ? normalized(next + ni) : ni;
            int a0 = frontBase + offset + i, b0 = frontBase + offset + j;
            int a1 = backBase + offset + i, b1 = backBase + offset + j;
            // Wind the quad so that its geometric normal points outward.
            V3 geometric = cross(mesh.vertices[size_t(b0)] - mesh.vertices[size_t(a0)],
                                 mesh.vertices[size_t(b1)] - mesh.vertices[size_t(a0)]);
            if (dot(geometric, ni) >= 0.0) {
                mesh.addFace({{a0, b0, b1}, {tSide, tSide, tSide}, {na, nb, nb}});
                mesh.addFace({{a0, b1, a1}, {tSide, tSide, tSide}, {na, nb, na}});
            } else {
                mesh.addFace({{a0, b1, b0}, {tSide, tSide, tSide}, {na, nb, nb}});
                mesh.addFace({{a0, a1, b1}, {tSide, tSide, tSide}, {na, na, nb}});
            }
        }
        offset += n;
    }
}

double scaleFor(FontFace& face, const TextStyle& style) { return style.capHeight / face.capHeight(); }

} // namespace

void setFontDirectory(const std::string& dir) { FontDirectory = dir; }

double textWidth(const std::string& text, const TextStyle& style)
{
    FontFace& face = fontFor(style.font);
    double scale = scaleFor(face, style), width = 0.0;
    for (unsigned char ch : text)
        width += face.glyph(ch).advance * scale + style.tracking * style.capHeight;
    if (!text.empty())
        width -= style.tracking * style.capHeight;
    return width;
}

Mesh textMesh(const std::string& text, const TextStyle& style)
{
    FontFace& face = fontFor(style.font);
    double scale = scaleFor(face, style);
    double width = textWidth(text, style);
    double pen = style.align == Align::Left ? 0.0 : (style.align == Align::Centre ? -width * 0.5 : -width);
    Mesh mesh;
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph& g = face.glyph(static_cast<unsigned char>(text[i]));
        bool marked = std::find(style.marked.begin(), style.marked.end(), int(i)) != style.marked.end();
        addGlyph(mesh, g, scale, pen, style, marked ? style.markedFront : style.front);
        pen += g.advance * scale + style.tracking * style.capHeight;
    }
    return mesh;
}

Mesh textBlock(const std::vector<std::string>& lines, const TextStyle& style, double lineSpacing)
{
    Mesh mesh;
    for (size_t i = 0; i < lines.size(); ++i)
        mesh.append(textMesh(lines[i], style),
                    Affine::translate({0, -double(i) * lineSpacing * style.capHeight, 0}));
    return mesh;
}
