#include "headless/headless_platform.h"
#include "math/quaternion.h"
#include "scene/animation.h"
#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using namespace scenetest;

namespace {

std::string track(const std::string& kind, const std::vector<std::string>& samples)
{
    std::string out = "*CONTROL_" + kind + "_TRACK {\n";
    for (const std::string& s : samples)
        out += "*CONTROL_" + kind + "_SAMPLE " + s + "\n";
    return out + "}\n";
}

// The key cursors of the Scene under test, at 0 for each new one.
AnimationCursors Cursors;

std::unique_ptr<Scene> animated(const std::string& tracks, float dx = 0)
{
    Cursors = AnimationCursors{};
    return loadText(
        squareObject("Wreck", dx, face(0, 0, 1, 2), 1,
                     "*TM_ANIMATION {\n*NODE_NAME \"Wreck\"\n" + tracks + "}\n*MATERIAL_REF 0\n"));
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

// The world matrices of node 0, call by call, of the first `cycles` cycles:
// a cycle after the first starts with the call that reports the end.
std::vector<std::vector<Matrix4>> playCycles(Scene& scene, size_t cycles)
{
    std::vector<std::vector<Matrix4>> played(1);
    for (int call = 0; call < 500 && played.size() <= cycles; ++call) {
        scene.update(Cursors);
        if (scene.animationEnded) {
            scene.animationEnded = false;
            played.emplace_back();
        }
        played.back().push_back(scene.nodes[0].worldMatrix);
    }
    played.pop_back();
    return played;
}

} // namespace

TEST(Animation, TurnsBeyond314ArePlayedTheShortWayRound)
{
    ScratchDir dir;
    auto scene = animated(track("ROT", {"160 0 0 1 4.0"}));
    SceneNode& node = scene->nodes[0];
    for (int call = 0; call < 5; ++call)
        scene->update(Cursors);
    EXPECT_NEAR(node.rotationTrack.angles[0], 2.28f, 1e-6f);
    EXPECT_EQ(node.rotationTrack.axes[0].z, -1.0f);
    // At the end of the step the node is turned by the whole key.
    Quaternion q;
    setFromAxisAngle(q, 2.28f, 0, 0, -1);
    updateMatrix(q);
    expectMatrixNear(node.animationMatrix, q.rotation, 1e-4f);
}

// A node without tracks, and a rotation key of angle 0 (no turn, not a
// division by sin 0), stay where they are.
TEST(Animation, NodesThatDoNotMoveStayAtIdentity)
{
    ScratchDir dir;
    for (const std::string& tracks : {std::string(), track("ROT", {"160 0 0 1 0.0"})}) {
        SCOPED_TRACE(tracks);
        auto scene = animated(tracks, 10.0f);
        for (int call = 0; call < 7; ++call) {
            scene->update(Cursors);
            for (float v : scene->nodes[0].worldMatrix.m)
                ASSERT_TRUE(std::isfinite(v));
            expectMatrixNear(scene->nodes[0].worldMatrix, Matrix4());
        }
        expectMatrixNear(scene->nodes[0].animationMatrix, Matrix4());
        if (tracks.empty()) {
            EXPECT_FALSE(scene->animationEnded) << "nothing to play has no end";
        }
    }
}

// Scale steps go from the previous key's scale to the current one: the
// node reaches 2 and a key that keeps 2 keeps it there.
TEST(Animation, ScaleStepsReachEachKeyAndKeepAnUnchangedScale)
{
    ScratchDir dir;
    auto scene = animated(track("SCALE", {"0 1 1 1", "160 2 2 2", "320 2 2 2"}));
    SceneNode& node = scene->nodes[0];
    const float firstStep[] = {1.0f, 1.3f, 1.6f, 1.9f, 2.0f};
    for (float s : firstStep) {
        scene->update(Cursors);
        EXPECT_NEAR(node.worldMatrix.m[0], s, 1e-4f);
        EXPECT_NEAR(node.worldMatrix.m[10], s, 1e-4f);
    }
    for (int call = 0; call < 5; ++call) {
        scene->update(Cursors);
        EXPECT_NEAR(node.worldMatrix.m[5], 2.0f, 1e-4f) << "call " << call;
    }
}

TEST(Animation, OnlyTheFirstHundredNodesAnimate)
{
    ScratchDir dir;
    std::string text;
    for (int i = 0; i < MaxAnimatedNodes + 2; ++i)
        text += squareObject("N" + std::to_string(i), 0, face(0, 0, 1, 2), 1,
                             "*TM_ANIMATION {\n" + track("POS", {"160 0 10 0"}) + "}\n*MATERIAL_REF 0\n");
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), static_cast<size_t>(MaxAnimatedNodes + 2));
    scene->nodes[MaxAnimatedNodes].worldMatrix.m[13] = 42.0f;
    scene->animationTime = 0.6f;
    scene->update(Cursors);
    EXPECT_NEAR(scene->nodes[MaxAnimatedNodes - 1].worldMatrix.m[13], 6.0f, 1e-4f);
    EXPECT_EQ(scene->nodes[MaxAnimatedNodes].worldMatrix.m[13], 42.0f);
}

// Tracks of different lengths: those that end first hold their last key
// until all have ended, then the node starts over, and every cycle plays
// call for call like the first (a scale no longer grows 2, 4, 8...).
TEST(Animation, TracksOfDifferentLengthsRepeatTheFirstCycle)
{
    struct Case {
        const char* name;
        std::string tracks;
        size_t calls;                            // per cycle: five per step
        std::vector<std::pair<int, float>> last; // elements at the cycle's last call
    };
    const std::string turn = "0 0 1 0.5";
    const Case cases[] = {
        {"scale only", track("SCALE", {"160 1 1 1", "320 2 2 2"}), 10, {{0, 2.0f}, {10, 2.0f}}},
        {"three positions, two scales",
         track("POS", {"160 0 1 0", "320 0 2 0", "480 0 3 0"}) + track("SCALE", {"160 1 1 1", "320 2 2 2"}),
         15,
         {{5, 2.0f}, {13, 4.0f}}}, // the second move is scaled by 2
        {"two positions, three rotations",
         track("POS", {"160 1 0 0", "320 2 0 0"}) +
             track("ROT", {"160 " + turn, "320 " + turn, "480 " + turn}),
         15,
         {{0, std::cos(1.5f)}}},
        {"four positions, two rotations",
         track("POS", {"160 1 0 0", "320 2 0 0", "480 3 0 0", "640 4 0 0"}) +
             track("ROT", {"160 " + turn, "320 " + turn}),
         20,
         {{0, std::cos(1.0f)}, {12, 3.0f + std::cos(0.5f)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        auto scene = animated(c.tracks);
        const auto cycles = playCycles(*scene, 4);
        EXPECT_EQ(cycles.size(), 4u);
        if (cycles.empty())
            continue;
        for (size_t n = 0; n < cycles.size(); ++n) {
            EXPECT_EQ(cycles[n].size(), c.calls) << "cycle " << n;
            for (size_t call = 0; call < std::min(cycles[n].size(), cycles[0].size()); ++call)
                expectMatrixNear(cycles[n][call], cycles[0][call]);
        }
        for (auto [element, value] : c.last)
            EXPECT_NEAR(cycles[0].back().m[element], value, 1e-4f) << "element " << element;
    }
}

// The game's own keys: position and rotation tracks of one length whose
// first key has time 0. Both end together; the node starts over in the
// call after the last step, and from the second cycle on the passed-over
// first key takes the first call of the next step.
TEST(Animation, EqualPositionAndRotationTracksStartOverTogether)
{
    ScratchDir dir;
    auto scene = animated(track("POS", {"0 0 0 0", "160 0 0 10", "320 0 0 20"}) +
                          track("ROT", {"0 0 0 1 0.3", "160 0 0 1 0.3", "320 0 0 1 0.3"}));
    SceneNode& node = scene->nodes[0];
    const float firstCycle[] = {0, 3, 6, 9, 10, 10, 13, 16, 19, 20};
    const float laterCycles[] = {0, 0, 6, 9, 10, 10, 13, 16, 19, 20};
    for (int cycle = 0; cycle < 3; ++cycle) {
        for (int call = 0; call < 10; ++call) {
            scene->update(Cursors);
            SCOPED_TRACE("cycle " + std::to_string(cycle) + " call " + std::to_string(call));
            EXPECT_EQ(scene->animationEnded, cycle > 0 && call == 0);
            scene->animationEnded = false;
            EXPECT_NEAR(node.worldMatrix.m[14], (cycle == 0 ? firstCycle : laterCycles)[call], 1e-4f);
            EXPECT_EQ(Cursors.PositionKeyCursor[0], Cursors.RotationKeyCursor[0]);
            if (call == 4 || call == 9) {
                // A step complete: it is kept, and the time starts over.
                EXPECT_NEAR(node.worldMatrix.m[0], std::cos(call == 4 ? 0.3f : 0.6f), 1e-4f);
                EXPECT_NEAR(node.animationMatrix.m[14], firstCycle[call], 1e-4f);
                EXPECT_EQ(scene->animationTime, 0.0f);
                EXPECT_FALSE(scene->restartPending);
            }
        }
        EXPECT_EQ(Cursors.PositionKeyCursor[0], 3u);
        // The absent track's cursor moves on with each step and is never
        // put back.
        EXPECT_EQ(Cursors.ScaleKeyCursor[0], 2u * (cycle + 1));
    }
}

// A step's product on the CPU against GL's matrix stack, with the pivots
// and keys of the game's crash model through three cycles of its keys (and
// a growing scale, which it has no keys for): the pieces must fall where GL
// would have put them.
TEST(Animation, StepsAgreeWithGlOnTheCrashModel)
{
    AseText text;
    if (!text.readFile(KESTRAVA_DATA_DIR "/DestroyHeli(1).ASE"))
        GTEST_SKIP() << "the game data is not generated in " KESTRAVA_DATA_DIR;
    Scene crash;
    readAse(text, crash);
    headless::makeContext(8, 8);
    glMatrixMode(GL_MODELVIEW);
    for (const char* name : {"Cabin", "Boom", "Skids", "Blade1"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(crash.findNode(name), nullptr);
        SceneNode node = *crash.findNode(name);
        const KeyTrack& moves = node.positionTrack;
        const RotationTrack& turns = node.rotationTrack;
        ASSERT_GT(moves.values.size(), 2u);
        ASSERT_EQ(turns.angles.size(), moves.values.size());
        const Matrix4 nodeInverse = inverse(node.nodeMatrix);
        for (int step = 0; step < 3 * int(moves.values.size()); ++step) {
            const size_t k = step % moves.values.size();
            const Vec4 from = k > 0 ? moves.values[k - 1] : Vec4{0, 0, 0, 1};
            const Matrix4 position = translated(Matrix4(), moves.values[k].x - from.x,
                                                moves.values[k].y - from.y, moves.values[k].z - from.z);
            const Matrix4 scale = scaled(Matrix4(), 1.0f, 1.0f + 0.05f * step, 1.0f);
            Quaternion turn;
            setFromAxisAngle(turn, turns.angles[k], turns.axes[k].x, turns.axes[k].y, turns.axes[k].z);
            updateMatrix(turn);
            const Matrix4 rotation = turn.rotation;

            const Matrix4 cpu = steppedMatrix(node, position, scale, rotation);
            const Matrix4 previous = node.animationMatrix;
            glLoadMatrixf(node.nodeMatrix.m);
            for (const Matrix4* m : {&position, &scale, &rotation, &nodeInverse, &previous})
                glMultMatrixf(m->m);
            float gl[16];
            glGetFloatv(GL_MODELVIEW_MATRIX, gl);
            for (int i = 0; i < 16; ++i)
                ASSERT_NEAR(cpu.m[i], gl[i], 1e-6f * std::max(1.0f, std::abs(gl[i])))
                    << "step " << step << ", element " << i;
            node.animationMatrix = cpu;
        }
    }
}
