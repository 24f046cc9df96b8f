#include "icon.h"

#include "shot.h"

#include "headless/headless_platform.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The helicopter's nose comes toward the viewer on the right, the camera a
// little above it: the tail boom runs back into the picture and the rotor
// and skids both show.
constexpr float Yaw = 215.0f;
constexpr float Pitch = 28.0f;
// The rotor turned so that its blades cross the body at an angle instead
// of lying along the line of sight or across the whole picture.
constexpr float RotorTurn = 35.0f;
// A narrow field of view: a near-orthographic look that keeps the nose from
// swelling.
constexpr float FieldOfView = 30.0f;
constexpr float Margin = 1.0f / 32.0f;

// The square's pixels the helicopter covers, in normalised device
// coordinates; empty when it covers none.
struct Extent {
    float x0 = 1, y0 = 1, x1 = -1, y1 = -1;
    bool empty() const { return x1 < x0; }
};

std::vector<float> readDepth(int size)
{
    std::vector<float> depth(size_t(size) * size_t(size));
    glFinish();
    glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return depth;
}

Extent coveredExtent(const std::vector<float>& depth, int size)
{
    int x0 = size, y0 = size, x1 = -1, y1 = -1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (depth[size_t(y) * size_t(size) + size_t(x)] < 1.0f) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    Extent e;
    if (x1 < 0)
        return e;
    auto ndc = [size](int pixelEdge) { return 2.0f * float(pixelEdge) / float(size) - 1.0f; };
    e.x0 = ndc(x0);
    e.x1 = ndc(x1 + 1);
    e.y0 = ndc(y0);
    e.y1 = ndc(y1 + 1);
    return e;
}

// The perspective projection, with the picture then scaled by `scale`
// about the point (cx, cy) of the square (in normalised device
// coordinates), which moves to the centre.
void projection(float scale, float cx, float cy, double nearPlane, double farPlane)
{
    GLfloat fit[16] = {scale, 0, 0, 0, 0, scale, 0, 0, 0, 0, 1, 0, -scale * cx, -scale * cy, 0, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(fit);
    gluPerspective(FieldOfView, 1.0, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
}

// The projection in which the extent, measured under the plain
// perspective, fills the square but for the margins.
void fittedProjection(const Extent& e, double nearPlane, double farPlane)
{
    float scale = 2.0f * (1.0f - 2.0f * Margin) / std::max(e.x1 - e.x0, e.y1 - e.y0);
    projection(scale, 0.5f * (e.x0 + e.x1), 0.5f * (e.y0 + e.y1), nearPlane, farPlane);
}

void drawHeli(Scene* heli, const float centre[3], float distance)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0, 0, -distance);
    glRotatef(Pitch, 1, 0, 0);
    glRotatef(Yaw, 0, 1, 0);
    glTranslatef(-centre[0], -centre[1], -centre[2]);
    draw(heli);
}

// The weights of the source pixels that output pixel i of n covers, when
// `from` source pixels are averaged down to n.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> spans(int from, int n)
{
    std::vector<Span> out(static_cast<size_t>(n));
    double ratio = double(from) / double(n);
    for (int i = 0; i < n; ++i) {
        double lo = i * ratio, hi = (i + 1) * ratio;
        Span& s = out[size_t(i)];
        s.first = int(std::floor(lo));
        int last = std::min(from - 1, int(std::ceil(hi)) - 1);
        for (int k = s.first; k <= last; ++k)
            s.weights.push_back(std::min(hi, double(k + 1)) - std::max(lo, double(k)));
    }
    return out;
}

} // namespace

Image renderIcon(int size)
{
    startFrame(size, size, false, 0.0f, 0.0f, 0.0f);
    // An icon is seen up close: no haze between the camera and the model.
    glDisable(GL_FOG);
    Scene* heli = loadScene("HeroHeli.ASE");
    pivotTurn(heli->findNode("HeliRotor"), RotorTurn, 0, 1, 0);

    float centre[3];
    float radius = std::max(boundingSphere(*heli, centre), 1e-3f);
    // Far enough for the bounding sphere to lie inside the view cone.
    float distance = radius / std::sin(0.5f * FieldOfView * 3.14159265f / 180.0f);
    double nearPlane = std::max(0.01, double(distance - 1.5f * radius));
    double farPlane = distance + 1.5f * radius;

    // A first render finds where the helicopter falls; the second fills the
    // square with it.
    projection(1.0f, 0.0f, 0.0f, nearPlane, farPlane);
    drawHeli(heli, centre, distance);
    Extent extent = coveredExtent(readDepth(size), size);
    if (!extent.empty()) {
        fittedProjection(extent, nearPlane, farPlane);
        drawHeli(heli, centre, distance);
    }

    std::vector<float> depth = readDepth(size);
    int w = 0, h = 0;
    std::vector<uint8_t> colour = headless::readPixels(&w, &h);
    delete heli;
    Image image(size, size);
    // GL's rows run bottom up, the image's top down.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            size_t from = size_t(size - 1 - y) * size_t(size) + size_t(x);
            const uint8_t* p = &colour[from * 4];
            if (depth[from] < 1.0f)
                image.set(x, y, p[0], p[1], p[2], 255);
            else
                image.set(x, y, 0, 0, 0, 0);
        }
    return image;
}

Image downscale(const Image& source, int width, int height)
{
    std::vector<Span> across = spans(source.width, width), down = spans(source.height, height);
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const Span& sy = down[size_t(y)];
        for (int x = 0; x < width; ++x) {
            const Span& sx = across[size_t(x)];
            double r = 0, g = 0, b = 0, a = 0, area = 0;
            for (size_t j = 0; j < sy.weights.size(); ++j)
                for (size_t i = 0; i < sx.weights.size(); ++i) {
                    double w = sy.weights[j] * sx.weights[i];
                    const uint8_t* p = source.at(sx.first + int(i), sy.first + int(j));
                    double wa = w * p[3];
                    r += wa * p[0];
                    g += wa * p[1];
                    b += wa * p[2];
                    a += wa;
                    area += w;
                }
            if (a <= 0.0)
                out.set(x, y, 0, 0, 0, 0);
            else
                out.set(x, y, clampByte(r / a), clampByte(g / a), clampByte(b / a), clampByte(a / area));
        }
    }
    return out;
}

std::vector<int> parseIconSizes(const std::string& text)
{
    std::vector<int> sizes;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        size_t used = 0;
        int size = 0;
        try {
            size = std::stoi(item, &used);
        } catch (const std::exception&) {
            return {};
        }
        if (used != item.size() || size < 1 || size > IconRenderSize)
            return {};
        sizes.push_back(size);
    }
    return sizes;
}

bool writeIcons(const std::string& themeDir, const std::vector<int>& sizes)
{
    namespace fs = std::filesystem;
    Image large = renderIcon(IconRenderSize);
    for (int size : sizes) {
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        fs::path dir = fs::path(themeDir) / name / "apps";
        std::error_code ec;
        fs::create_directories(dir, ec);
        std::vector<uint8_t> png = encodePng(downscale(large, size, size));
        std::ofstream file(dir / "kestrava.png", std::ios::binary);
        file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
        if (!file.good()) {
            std::fprintf(stderr, "modelshot: cannot write %s\n", (dir / "kestrava.png").c_str());
            return false;
        }
    }
    return true;
}
