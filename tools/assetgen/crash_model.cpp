#include "heli_parts.h"
#include "materials.h"
#include "models.h"
#include "palette.h"
#include "random.h"
#include "shapes.h"

#include <cmath>

// An enemy helicopter breaking apart and falling, in the same frame as the
// helicopter model. The game plays one key step every five frames and
// accumulates the steps: each step turns a part about its pivot (the
// part's rest centre) and moves it, both in the node's frame, on top of
// all earlier steps. Key 0 is the rest pose and is never played.

namespace {

constexpr int Keys = 16;          // 15 steps of 5 frames: 1.25 seconds
constexpr int TicksPerKey = 800;  // 5 frames of 160 ticks
constexpr double Gravity = -0.09; // units per step squared

struct Part {
    const char* name;
    Mesh mesh;
    int material;
    V3 velocity; // units per step at the start
    V3 spinAxis;
    double spin; // radians per step, never 0 (a key of angle 0 is no turn)
};

V3 centreOf(const Mesh& m)
{
    V3 lo, hi;
    m.bounds(lo, hi);
    return (lo + hi) * 0.5;
}

// Keys that carry the part's pivot along a thrown path while it tumbles.
// The game composes each step as: pivot frame, move d, turn R, back out of
// the pivot frame, then all earlier steps; the pivot therefore lands at
// c + d + R (q - c), where q is where the earlier steps left it. Solving
// for d puts it on the path.
void throwPart(AseObject& o, V3 velocity, V3 axis, double spin)
{
    V3 c = o.tm.column(3);
    V3 q = c, value{};
    o.positionKeys.push_back({0, {}});
    o.rotationKeys.push_back({0, axis, spin});
    // The game builds a key's turn as the transpose of the usual matrix of
    // its axis and angle: it turns the other way about the axis.
    Affine turn = Affine::rotate(axis, -spin * 180.0 / Pi);
    for (int k = 1; k < Keys; ++k) {
        double t = k;
        V3 target = c + velocity * t + V3{0, 0.5 * Gravity * t * t, 0};
        V3 d = target - c - turn.vector(q - c);
        value = value + d;
        o.positionKeys.push_back({k * TicksPerKey, value});
        o.rotationKeys.push_back({k * TicksPerKey, axis, spin});
        q = target;
    }
}

} // namespace

AseScene buildDestroyHeli()
{
    AseScene scene;
    int paint = scene.addMaterial(paletteLit("WreckPaint", 0.9));
    int fire = scene.addMaterial(paletteUnlit("CrashFire", 0.25));
    Random r(4242);

    std::vector<Part> parts;
    Mesh cabin = heli::fuselage();
    cabin.append(heli::canopy());
    parts.push_back({"Cabin", cabin, paint, {0.0, 0.05, 0.02}, {0.3, 0.2, 1.0}, 0.22});
    Mesh boom = heli::tailBoom();
    boom.append(heli::tailRotor());
    parts.push_back({"Boom", boom, paint, {0.05, 0.12, 0.14}, {1.0, 0.1, 0.2}, 0.5});
    parts.push_back({"Skids", heli::skids(), paint, {-0.05, -0.04, -0.02}, {0.0, 0.3, 1.0}, 0.3});
    // The rotor flies apart blade by blade.
    Mesh rotor = heli::rotor();
    for (int b = 0; b < 4; ++b) {
        Mesh blade;
        double a = radians(45.0 + 90.0 * b);
        V3 out{std::cos(a), 0.0, -std::sin(a)};
        for (const Mesh::Face& f : rotor.faces) {
            V3 mid = (rotor.vertices[size_t(f.v[0])] + rotor.vertices[size_t(f.v[1])] +
                      rotor.vertices[size_t(f.v[2])]) *
                     (1.0 / 3.0);
            if (dot(mid - heli::RotorHub, out) > 0.3) {
                Mesh::Face g = f;
                for (int k = 0; k < 3; ++k) {
                    g.v[k] = blade.addVertex(rotor.vertices[size_t(f.v[k])]);
                    g.t[k] = blade.addTVertex(rotor.tvertices[size_t(f.t[k])]);
                }
                blade.addFace(g);
            }
        }
        static const char* names[4] = {"Blade0", "Blade1", "Blade2", "Blade3"};
        parts.push_back({names[b], blade, paint, out * 0.22 + V3{0, 0.1, 0}, {-out.z, 0.2, out.x}, 0.9});
    }
    // Debris from the cabin.
    for (int i = 0; i < 10; ++i) {
        double s = r.range(0.06, 0.14);
        Mesh chunk = box({-s, -s, -s}, {s, s, s}, paletteUV(i % 3 == 0 ? Colour::Charcoal : Colour::Olive));
        V3 at{r.range(-0.4, 0.4), r.range(-0.2, 0.5), r.range(-0.6, 0.6)};
        chunk.transform(Affine::translate(at));
        V3 dir = normalized(at + V3{0, 0.3, 0});
        static const char* names[10] = {"Chunk0", "Chunk1", "Chunk2", "Chunk3", "Chunk4",
                                        "Chunk5", "Chunk6", "Chunk7", "Chunk8", "Chunk9"};
        parts.push_back({names[i],
                         chunk,
                         paint,
                         dir * r.range(0.12, 0.25),
                         {r.range(-1, 1), 1.0, r.range(-1, 1)},
                         r.range(0.4, 1.0)});
    }
    // A fireball that rides with the cabin.
    Mesh ball = ellipsoid({0.55, 0.5, 0.7}, 10, 6, paletteUV(Colour::Orange));
    ball.append(ellipsoid({0.35, 0.32, 0.45}, 8, 5, paletteUV(Colour::Yellow)));
    ball.transform(Affine::translate(centreOf(cabin)));
    parts.push_back({"Fire", ball, fire, parts[0].velocity, parts[0].spinAxis, parts[0].spin});

    for (Part& p : parts) {
        AseObject& o = scene.addObject(p.name, p.mesh, p.material, Affine::translate(centreOf(p.mesh)));
        throwPart(o, p.velocity, p.spinAxis, p.spin);
    }
    // The fire turns about the cabin's pivot, not its own.
    AseObject& fireNode = scene.objects.back();
    fireNode.tm = scene.objects.front().tm;
    fireNode.positionKeys.clear();
    fireNode.rotationKeys.clear();
    throwPart(fireNode, parts[0].velocity, parts[0].spinAxis, parts[0].spin);
    scene.lastFrame = Keys * 5;
    return scene;
}
