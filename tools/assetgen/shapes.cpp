#include "shapes.h"

#include <cmath>

Mesh box(V3 lo, V3 hi, UV c)
{
    Mesh m;
    V3 p[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
               {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    m.quad(p[4], p[5], p[6], p[7], c); // +z
    m.quad(p[1], p[0], p[3], p[2], c); // -z
    m.quad(p[5], p[1], p[2], p[6], c); // +x
    m.quad(p[0], p[4], p[7], p[3], c); // -x
    m.quad(p[7], p[6], p[2], p[3], c); // +y
    m.quad(p[0], p[1], p[5], p[4], c); // -y
    return m;
}

Mesh frustum(double rx0, double rz0, double rx1, double rz1, double y0, double y1, int sides, UV c,
             bool capped)
{
    Mesh m;
    int t = m.addTVertex(c);
    double h = y1 - y0;
    std::vector<int> bottom, top;
    std::vector<V3> normals;
    for (int i = 0; i < sides; ++i) {
        double a = 2.0 * Pi * i / sides, ca = std::cos(a), sa = std::sin(a);
        bottom.push_back(m.addVertex({rx0 * ca, y0, rz0 * sa}));
        top.push_back(m.addVertex({rx1 * ca, y1, rz1 * sa}));
        // Normal of the slanted side of an elliptic frustum, approximately.
        double rx = 0.5 * (rx0 + rx1), rz = 0.5 * (rz0 + rz1);
        double dr = 0.5 * ((rx0 - rx1) + (rz0 - rz1));
        V3 radial = normalized(V3{ca / std::fmax(rx, 1e-9), 0, sa / std::fmax(rz, 1e-9)});
        normals.push_back(normalized(V3{radial.x * h, dr, radial.z * h}));
    }
    for (int i = 0; i < sides; ++i) {
        int j = (i + 1) % sides;
        m.addFace({{bottom[i], top[j], bottom[j]}, {t, t, t}, {normals[i], normals[j], normals[j]}});
        m.addFace({{bottom[i], top[i], top[j]}, {t, t, t}, {normals[i], normals[i], normals[j]}});
    }
    if (capped) {
        if (rx1 > 0 && rz1 > 0) {
            int centre = m.addVertex({0, y1, 0});
            for (int i = 0; i < sides; ++i)
                m.addFace(
                    {{centre, top[(i + 1) % sides], top[i]}, {t, t, t}, {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}});
        }
        if (rx0 > 0 && rz0 > 0) {
            int centre = m.addVertex({0, y0, 0});
            for (int i = 0; i < sides; ++i)
                m.addFace({{centre, bottom[i], bottom[(i + 1) % sides]},
                           {t, t, t},
                           {{0, -1, 0}, {0, -1, 0}, {0, -1, 0}}});
        }
    }
    return m;
}

Mesh ellipsoid(V3 r, int slices, int stacks, UV c, bool mapped)
{
    Mesh m;
    // A grid of (slices + 1) by (stacks + 1) points, seams doubled for the
    // texture coordinates.
    for (int j = 0; j <= stacks; ++j) {
        double phi = Pi * j / stacks - Pi / 2; // -90 at the bottom
        for (int i = 0; i <= slices; ++i) {
            double theta = 2.0 * Pi * i / slices;
            V3 unit{std::cos(phi) * std::cos(theta), std::sin(phi), -std::cos(phi) * std::sin(theta)};
            m.addVertex({unit.x * r.x, unit.y * r.y, unit.z * r.z});
            m.addTVertex(mapped ? UV{double(i) / slices, double(j) / stacks} : c);
        }
    }
    auto normalAt = [&](int idx) {
        V3 p = m.vertices[idx];
        return normalized(V3{p.x / (r.x * r.x), p.y / (r.y * r.y), p.z / (r.z * r.z)});
    };
    int row = slices + 1;
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            int a = j * row + i, b = a + 1, d = a + row, e = d + 1;
            if (j > 0)
                m.addFace({{a, b, e}, {a, b, e}, {normalAt(a), normalAt(b), normalAt(e)}});
            if (j < stacks - 1)
                m.addFace({{a, e, d}, {a, e, d}, {normalAt(a), normalAt(e), normalAt(d)}});
        }
    return m;
}

Mesh lathe(const std::vector<std::pair<double, double>>& profile, int sides, UV c)
{
    Mesh m;
    int t = m.addTVertex(c);
    size_t n = profile.size();
    // Profile normals from the neighbouring segments.
    std::vector<std::pair<double, double>> pn(n);
    for (size_t k = 0; k < n; ++k) {
        auto a = profile[k == 0 ? 0 : k - 1], b = profile[k + 1 < n ? k + 1 : n - 1];
        double dr = b.first - a.first, dy = b.second - a.second, l = std::hypot(dr, dy);
        pn[k] = l > 0 ? std::make_pair(dy / l, -dr / l) : std::make_pair(1.0, 0.0);
    }
    std::vector<std::vector<int>> ring(n);
    for (size_t k = 0; k < n; ++k)
        for (int i = 0; i < sides; ++i) {
            double a = 2.0 * Pi * i / sides;
            ring[k].push_back(m.addVertex(
                {profile[k].first * std::cos(a), profile[k].second, profile[k].first * std::sin(a)}));
        }
    auto normal = [&](size_t k, int i) {
        double a = 2.0 * Pi * i / sides;
        return normalized(V3{pn[k].first * std::cos(a), pn[k].second, pn[k].first * std::sin(a)});
    };
    for (size_t k = 0; k + 1 < n; ++k)
        for (int i = 0; i < sides; ++i) {
            int j = (i + 1) % sides;
            int a = ring[k][i], b = ring[k][j], d = ring[k + 1][i], e = ring[k + 1][j];
            if (profile[k].first > 0)
                m.addFace({{a, e, b}, {t, t, t}, {normal(k, i), normal(k + 1, j), normal(k, j)}});
            if (profile[k + 1].first > 0)
                m.addFace({{a, d, e}, {t, t, t}, {normal(k, i), normal(k + 1, i), normal(k + 1, j)}});
        }
    return m;
}

Mesh panel(double x0, double y0, double x1, double y1, UV c)
{
    Mesh m;
    m.quad({x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}, c);
    return m;
}

Mesh frame(double x0, double y0, double x1, double y1, double w, double d, UV c)
{
    Mesh m;
    double z0 = -d / 2, z1 = d / 2;
    m.append(box({x0, y0, z0}, {x1, y0 + w, z1}, c));
    m.append(box({x0, y1 - w, z0}, {x1, y1, z1}, c));
    m.append(box({x0, y0 + w, z0}, {x0 + w, y1 - w, z1}, c));
    m.append(box({x1 - w, y0 + w, z0}, {x1, y1 - w, z1}, c));
    return m;
}

Mesh bevelledSlab(double width, double height, double depth, double b, UV face, UV rim)
{
    Mesh m;
    double x = width / 2, y = height / 2, zf = depth / 2, zb = -depth / 2, zm = zf - b;
    // Front face, inset by the bevel.
    m.quad({-x + b, -y + b, zf}, {x - b, -y + b, zf}, {x - b, y - b, zf}, {-x + b, y - b, zf}, face);
    // Bevels.
    m.quad({-x, -y, zm}, {x, -y, zm}, {x - b, -y + b, zf}, {-x + b, -y + b, zf}, rim);
    m.quad({x, -y, zm}, {x, y, zm}, {x - b, y - b, zf}, {x - b, -y + b, zf}, rim);
    m.quad({x, y, zm}, {-x, y, zm}, {-x + b, y - b, zf}, {x - b, y - b, zf}, rim);
    m.quad({-x, y, zm}, {-x, -y, zm}, {-x + b, -y + b, zf}, {-x + b, y - b, zf}, rim);
    // Sides and back.
    m.quad({-x, -y, zb}, {x, -y, zb}, {x, -y, zm}, {-x, -y, zm}, rim);
    m.quad({x, -y, zb}, {x, y, zb}, {x, y, zm}, {x, -y, zm}, rim);
    m.quad({x, y, zb}, {-x, y, zb}, {-x, y, zm}, {x, y, zm}, rim);
    m.quad({-x, y, zb}, {-x, -y, zb}, {-x, -y, zm}, {-x, y, zm}, rim);
    m.quad({x, -y, zb}, {-x, -y, zb}, {-x, y, zb}, {x, y, zb}, rim);
    return m;
}
