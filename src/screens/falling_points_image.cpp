#include "screens/falling_points_image.h"

#include "game/level_teardown.h"
#include "math/matrix4.h"
#include "world/process_state.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The grid's rows run in z from -500 to 499.
constexpr int FirstRow = -500;
constexpr int RowCount = 1000;
// Each row's point for reading back sits in a cell of 4 by 4 pixels, clear
// of its neighbours' 3 by 3.
constexpr int Cell = 4;

// The rows GL drew, ranked from the nearest: a pixel shows the point of
// least rank that reaches it. Rows at the same depth and of the same colour
// share a rank (whichever of them was drawn first, the pixel looks the
// same). A pixel no point reached has rank NoRank, whose depth passes
// nothing.
constexpr uint16_t NoRank = RowCount;

// What the rows' depths and colours follow from, and whether there is a
// stencil buffer to draw the picture with.
struct View {
    Matrix4 projection, modelview;
    GLint viewport[4] = {0, 0, 0, 0};
    GLfloat fog[6] = {0, 0, 0, 0, 0, 0}; // on or off, density, colour
    GLint stencilBits = 0;
    bool operator==(const View& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

// Each grid row's rank (NoRank where GL drew no point), and each rank's
// depth (as glReadPixels gives GL_UNSIGNED_INT) and colour (RGBA bytes);
// NoRank's last.
struct Rows {
    bool tried = false; // for this view
    bool read = false;
    View view;
    uint16_t rank[RowCount] = {};
    uint32_t depths[RowCount + 1] = {};
    uint32_t colours[RowCount + 1] = {};
};

Rows& rows()
{
    static Rows r;
    return r;
}

View currentView()
{
    View v;
    glGetFloatv(GL_PROJECTION_MATRIX, v.projection.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, v.modelview.m);
    glGetIntegerv(GL_VIEWPORT, v.viewport);
    v.fog[0] = glIsEnabled(GL_FOG) ? 1.0f : 0.0f;
    glGetFloatv(GL_FOG_DENSITY, v.fog + 1);
    glGetFloatv(GL_FOG_COLOR, v.fog + 2);
    glGetIntegerv(GL_STENCIL_BITS, &v.stencilBits);
    return v;
}

// The state the points are drawn in after the helicopter: no texture,
// unlit, opaque, white and 3 pixels wide.
void setPointState()
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glPointSize(3.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
}

// The grid point of row z whose centre falls at the window position
// (wx, wy): the two equations of the clip coordinates solved for x and y.
bool gridPointAt(const Matrix4& clip, const GLint viewport[4], float z, float wx, float wy, float out[3])
{
    const float* c = clip.m;
    const float nx = (wx - static_cast<float>(viewport[0])) / static_cast<float>(viewport[2]) * 2.0f - 1.0f;
    const float ny = (wy - static_cast<float>(viewport[1])) / static_cast<float>(viewport[3]) * 2.0f - 1.0f;
    // (c0 - nx c3) x + (c4 - nx c7) y = nx (c11 z + c15) - (c8 z + c12), and so for y.
    const float a = c[0] - nx * c[3], b = c[4] - nx * c[7];
    const float e = nx * (c[11] * z + c[15]) - (c[8] * z + c[12]);
    const float d = c[1] - ny * c[3], f = c[5] - ny * c[7];
    const float g = ny * (c[11] * z + c[15]) - (c[9] * z + c[13]);
    const float det = a * f - b * d;
    if (std::fabs(det) < 1e-12f)
        return false;
    out[0] = (e * f - b * g) / det;
    out[1] = (a * g - e * d) / det;
    out[2] = z;
    const float w = c[3] * out[0] + c[7] * out[1] + c[11] * z + c[15];
    return w > 0.0f;
}

// The picture of a frame's points as the rows come, kept from frame to
// frame: the rank of the point that shows in each pixel (NoRank where none
// does), the pixels the points reach, and the frame's view.
struct Picture {
    std::vector<uint16_t> shown; // the rank of the point that shows in each pixel
    int left = 0, right = 0, bottom = 0, top = 0;
    Matrix4 clip;
    float scaleX = 0, offsetX = 0, scaleY = 0, offsetY = 0;
    int framebufferHeight = 0;
};

Picture& picture()
{
    static Picture p;
    return p;
}

// Puts the raster position, where the next image's lower left corner goes,
// at pixel (x, y) of the viewport.
void rasterAt(const GLint viewport[4], int x, int y)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, viewport[2], 0.0, viewport[3], -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2i(x, y);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// A normalised device coordinate to the window's, rounded as the software
// renderer's compiled code rounds it: in one fused multiply-add where the
// CPU has one.
#if defined(__x86_64__) || defined(__i386__)
const bool CpuFuses = __builtin_cpu_supports("fma");
__attribute__((target("fma"))) float fused(float a, float b, float c) { return __builtin_fmaf(a, b, c); }
#else
const bool CpuFuses = true;
float fused(float a, float b, float c) { return std::fma(a, b, c); }
#endif

// A whole row's worth (RowCount, used or not: a count the compiler knows,
// so it moves several at once).
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("fma")))
#endif
void fusedToWindow(float* coordinates, float scale, float offset)
{
    for (int j = 0; j < RowCount; ++j)
        coordinates[j] = fused(coordinates[j], scale, offset);
}

void toWindow(float* coordinates, float scale, float offset)
{
    if (CpuFuses)
        fusedToWindow(coordinates, scale, offset);
    else
        for (int j = 0; j < RowCount; ++j)
            coordinates[j] = coordinates[j] * scale + offset;
}

// A window coordinate (never below 0 for a point GL keeps) snapped to 1/256
// of a pixel, halves rounded up.
int snapped(float window) { return static_cast<int>(window * 256.0f + 0.5f); }

// Where a point is nearer than the one already in the picture, it takes
// the pixel.
inline void cover(uint16_t* shown, uint16_t rank) { *shown = std::min(*shown, rank); }

// The same for a whole 3-pixel line of a point: where the CPU can, as one
// 4-pixel load, minimum and store, the fourth pixel kept as it was (the
// picture has room beyond its last pixel for it). Ranks fit a signed
// 16-bit minimum.
inline void coverLine(uint16_t* shown, uint16_t rank)
{
#if defined(__SSE2__)
    const __m128i ranks = _mm_set_epi16(0, 0, 0, 0, INT16_MAX, static_cast<int16_t>(rank),
                                        static_cast<int16_t>(rank), static_cast<int16_t>(rank));
    __m128i* at = reinterpret_cast<__m128i*>(shown);
    _mm_storel_epi64(at, _mm_min_epi16(_mm_loadl_epi64(at), ranks));
#else
    cover(shown, rank);
    cover(shown + 1, rank);
    cover(shown + 2, rank);
#endif
}

// Every pixel of the picture to NoRank, with room for coverLine's fourth
// pixel beyond the last.
void resetPicture(std::vector<uint16_t>& shown, size_t pixels)
{
    shown.resize(pixels + 4);
#if defined(__SSE2__)
    const __m128i none = _mm_set1_epi16(static_cast<int16_t>(NoRank));
    size_t k = 0;
    for (; k + 8 <= shown.size(); k += 8)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(shown.data() + k), none);
    std::fill(shown.begin() + static_cast<std::ptrdiff_t>(k), shown.end(), NoRank);
#else
    std::fill(shown.begin(), shown.end(), NoRank);
#endif
}

// The part of the band of rows [bottom, top] that the rectangles reach,
// within columns [left, right]; an empty rectangle where they reach none.
PixelRect reachedIn(const std::vector<PixelRect>& rects, int left, int right, int bottom, int top)
{
    PixelRect in{right + 1, top + 1, left - 1, bottom - 1};
    for (const PixelRect& r : rects) {
        const PixelRect part{std::max(r.left, left), std::max(r.bottom, bottom), std::min(r.right, right),
                             std::min(r.top, top)};
        if (part.left > part.right || part.bottom > part.top)
            continue;
        in = {std::min(in.left, part.left), std::min(in.bottom, part.bottom), std::max(in.right, part.right),
              std::max(in.top, part.top)};
    }
    return in;
}

// Hands GL the picture's depths where `depthRects` reach, then its colours,
// from (left, bottom) to (right, top) of the viewport; `shown` has the
// viewport's width. Where the depths are drawn, those that fail their test
// mark the stencil buffer (cleared with the frame), and the colours go only
// where it is unmarked and a point shows (alpha above 0).
void drawImages(const GLint viewport[4], int left, int right, int bottom, int top, const uint16_t* shown,
                const std::vector<PixelRect>& depthRects)
{
    // In bands of rows, each made as it goes: Mesa copies each image it is
    // handed into a texture of the same size and holds on to what it
    // allocated for it, and the picture keeps only its ranks (2 bytes a
    // pixel).
    constexpr int Band = 64;
    const int width = viewport[2];
    static std::vector<uint32_t> band;
    band.resize(static_cast<size_t>(right - left + 1) * Band);
    auto drawImage = [&](GLenum format, GLenum type, const uint32_t* values, const PixelRect& part) {
        const int partWidth = part.right - part.left + 1;
        for (int y = part.bottom; y <= part.top; ++y) {
            const uint16_t* from = shown + static_cast<size_t>(y) * width + part.left;
            uint32_t* to = band.data() + static_cast<size_t>(y - part.bottom) * partWidth;
            for (int x = 0; x < partWidth; ++x)
                to[x] = values[from[x]];
        }
        rasterAt(viewport, part.left, part.bottom);
        glDrawPixels(partWidth, part.top - part.bottom + 1, format, type, band.data());
    };
    const Rows& r = rows();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                 GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0xff);

    // The depths, tested against what is drawn, where something drawn
    // before or after the points can meet them.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glStencilFunc(GL_ALWAYS, 1, 0xff);
    glStencilOp(GL_KEEP, GL_REPLACE, GL_KEEP);
    for (int row = bottom; row <= top; row += Band) {
        const PixelRect part = reachedIn(depthRects, left, right, row, std::min(row + Band - 1, top));
        if (part.left <= part.right)
            drawImage(GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, r.depths, part);
    }

    // The colours of the points that show.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_DEPTH_TEST);
    glStencilFunc(GL_EQUAL, 0, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    for (int row = bottom; row <= top; row += Band)
        drawImage(GL_RGBA, GL_UNSIGNED_BYTE, r.colours, {left, row, right, std::min(row + Band - 1, top)});

    glPopClientAttrib();
    glPopAttrib();
}

} // namespace

bool FallingPointsImageAllowed = true;

bool fallingPointsAsImage(int gridPoints) { return FallingPointsImageAllowed && gridPoints >= 200000; }

void releaseFallingPointsImage()
{
    Picture& pic = picture();
    if (pic.shown.capacity() == 0)
        return;
    std::vector<uint16_t>().swap(pic.shown);
    handBackFreedMemory();
}

void readFallingPointRows()
{
    Rows& r = rows();
    const View view = currentView();
    if (r.tried && r.view == view)
        return;
    r.tried = true;
    r.view = view;
    r.read = false;
    const GLint* vp = view.viewport;
    const int perLine = vp[2] / Cell;
    if (perLine < 1 || (RowCount + perLine - 1) / perLine * Cell > vp[3] || view.stencilBits <= 0)
        return;
    const Matrix4 clip = view.projection * view.modelview;

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT);
    setPointState();
    clearPicture(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    std::vector<float> corners;
    std::vector<int> drawnRows;
    for (int k = 0; k < RowCount; ++k) {
        const float wx = static_cast<float>(vp[0] + k % perLine * Cell + 2);
        const float wy = static_cast<float>(vp[1] + k / perLine * Cell + 2);
        float p[3];
        // At the centre of the pixel at (wx, wy), which the point covers
        // whichever way GL snaps.
        if (!gridPointAt(clip, vp, static_cast<float>(FirstRow + k), wx + 0.5f, wy + 0.5f, p))
            continue;
        corners.insert(corners.end(), p, p + 3);
        drawnRows.push_back(k);
    }
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT | GL_CLIENT_PIXEL_STORE_BIT);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, corners.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(drawnRows.size()));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    const int lines = (RowCount + perLine - 1) / perLine * Cell;
    std::vector<uint32_t> colours(static_cast<size_t>(vp[2]) * lines), depths(colours.size());
    glReadPixels(vp[0], vp[1], vp[2], lines, GL_RGBA, GL_UNSIGNED_BYTE, colours.data());
    glReadPixels(vp[0], vp[1], vp[2], lines, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, depths.data());
    glPopClientAttrib();
    glPopAttrib();

    struct Drawn {
        uint32_t depth, colour;
        int row;
    };
    std::vector<Drawn> drawn;
    for (int k : drawnRows) {
        const size_t at = static_cast<size_t>(k / perLine * Cell + 2) * vp[2] + k % perLine * Cell + 2;
        // A point GL dropped (at or before the near plane) leaves the
        // cleared depth.
        if (depths[at] != 0xffffffffu)
            drawn.push_back({depths[at], colours[at], k});
    }
    std::stable_sort(drawn.begin(), drawn.end(),
                     [](const Drawn& a, const Drawn& b) { return a.depth < b.depth; });
    std::fill(std::begin(r.rank), std::end(r.rank), NoRank);
    std::fill(std::begin(r.depths), std::end(r.depths), 0xffffffffu);
    std::fill(std::begin(r.colours), std::end(r.colours), 0u);
    int ranks = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (i > 0 && drawn[i].depth == drawn[i - 1].depth) {
            // Two rows at one depth: the pixel goes to whichever was drawn
            // first, which a rank cannot tell unless they look the same.
            if (drawn[i].colour != drawn[i - 1].colour)
                return;
        } else if (reinterpret_cast<const uint8_t*>(&drawn[i].colour)[3] == 0) {
            return; // the colours' pass draws only where alpha is above 0
        } else {
            r.depths[ranks] = drawn[i].depth;
            r.colours[ranks] = drawn[i].colour;
            ++ranks;
        }
        r.rank[drawn[i].row] = static_cast<uint16_t>(ranks - 1);
    }
    r.read = true;
    // Mesa compiles its code for the two image draws, and makes its
    // textures for them, at their first use: two images of the whole
    // viewport now, with no point in them, rather than in the first frame
    // with many points.
    const std::vector<uint16_t> none(static_cast<size_t>(vp[2]) * vp[3], NoRank);
    drawImages(vp, 0, vp[2] - 1, 0, vp[3] - 1, none.data(), {{0, 0, vp[2] - 1, vp[3] - 1}});
}

bool beginFallingPointsImage()
{
    Rows& r = rows();
    if (!r.read || !(currentView() == r.view))
        return false;
    const GLint* vp = r.view.viewport;
    Picture& pic = picture();
    resetPicture(pic.shown, static_cast<size_t>(vp[2]) * vp[3]);
    pic.left = vp[2], pic.right = -1, pic.bottom = vp[3], pic.top = -1;
    pic.clip = r.view.projection * r.view.modelview;
    // The renderer counts its rows from the top of the framebuffer.
    pic.framebufferHeight = Process.DrawableHeight;
    pic.scaleX = static_cast<float>(vp[2]) * 0.5f;
    pic.offsetX = static_cast<float>(vp[0]) + pic.scaleX;
    pic.scaleY = static_cast<float>(vp[3]) * -0.5f;
    pic.offsetY = static_cast<float>(pic.framebufferHeight) - (static_cast<float>(vp[1]) - pic.scaleY);
    return true;
}

namespace {

// First the window coordinates of the whole row, in loops the compiler can
// run several points at once (with the step known, 1 at the densest
// spacing, and the row's window coordinates known to lie apart from the
// heights and the matrix), then each point GL keeps into the picture.
template <int Step> void addRow(float x, const float* __restrict heights, int count, int step)
{
    if constexpr (Step > 0)
        step = Step;
    if constexpr (Step == 1)
        count = RowCount;
    Picture& pic = picture();
    const Matrix4 clip = pic.clip;
    const float* __restrict c = clip.m;
    static float windowX[RowCount] = {}, windowY[RowCount] = {};
    static int kept[RowCount];
    for (int j = 0; j < count; ++j) {
        const float z = static_cast<float>(FirstRow + j * step), y = heights[j * step] + 300.0f;
        const float w = c[3] * x + c[7] * y + c[11] * z + c[15];
        const float cx = c[0] * x + c[4] * y + c[8] * z + c[12];
        const float cy = c[1] * x + c[5] * y + c[9] * z + c[13];
        // GL drops a point whose centre lies outside the view volume.
        kept[j] = (w > 0.0f) & (cx >= -w) & (cx <= w) & (cy >= -w) & (cy <= w);
        const float inverseW = 1.0f / w;
        windowX[j] = cx * inverseW;
        windowY[j] = cy * inverseW;
    }
    toWindow(windowX, pic.scaleX, pic.offsetX);
    toWindow(windowY, pic.scaleY, pic.offsetY);

    const Rows& r = rows();
    const GLint* vp = r.view.viewport;
    const int width = vp[2], height = vp[3];
    for (int j = 0; j < count; ++j) {
        const uint16_t rank = r.rank[j * step];
        if (!kept[j] || rank == NoRank)
            continue;
        // A 3-pixel point covers the pixel its snapped centre lies in and
        // the one on each side; a centre on a row's edge counts to the row
        // above it.
        const int x0 = (snapped(windowX[j]) >> 8) - 1 - vp[0];
        const int fromTop = ((snapped(windowY[j]) - 1) >> 8) - 1;
        const int y0 = pic.framebufferHeight - 3 - fromTop - vp[1];
        const int xa = std::max(x0, 0), xb = std::min(x0 + 3, width);
        const int ya = std::max(y0, 0), yb = std::min(y0 + 3, height);
        if (xa >= xb || ya >= yb)
            continue;
        pic.left = std::min(pic.left, xa), pic.right = std::max(pic.right, xb - 1);
        pic.bottom = std::min(pic.bottom, ya), pic.top = std::max(pic.top, yb - 1);
        uint16_t* shown = pic.shown.data() + static_cast<size_t>(ya) * width + xa;
        if (xb - xa == 3 && yb - ya == 3) { // the whole point inside the picture
            for (int line = 0; line < 3; ++line, shown += width)
                coverLine(shown, rank);
            continue;
        }
        for (int line = ya; line < yb; ++line, shown += width)
            for (int px = 0; px < xb - xa; ++px)
                cover(shown + px, rank);
    }
}

} // namespace

void addFallingPointsRow(float x, const float* heights, int count, int step)
{
    if (step == 1)
        addRow<1>(x, heights, count, 1);
    else
        addRow<0>(x, heights, count, step);
}

void endFallingPointsImage(const std::vector<PixelRect>& depthRects)
{
    const Picture& pic = picture();
    if (pic.right >= pic.left)
        drawImages(rows().view.viewport, pic.left, pic.right, pic.bottom, pic.top, pic.shown.data(),
                   depthRects);
}
