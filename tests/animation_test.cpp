#include "headless/headless_platform.h"
#include "math/quaternion.h"
#include "scene/animation.h"
#include "scene_test_support.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace scenetest;

namespace {

std::string track(const std::string& kind, const std::vector<std::string>& samples)
{
    std::string out = "*CONTROL_" + kind + "_TRACK {\n";
    for (const std::string& s : samples)
        out += "*CONTROL_" + kind + "_SAMPLE " + s + "\n";
    return out + "}\n";
}

std::unique_ptr<Scene> animated(const std::string& tracks, float dx = 0)
{
    headless::makeContext(8, 8);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return loadText(
        squareObject("Wreck", dx, face(0, 0, 1, 2), 1,
                     "*TM_ANIMATION {\n*NODE_NAME \"Wreck\"\n" + tracks + "}\n*MATERIAL_REF 0\n"));
}

void expectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

} // namespace

TEST(Animation, PositionKeysPlayInFiveCallsAndThenEnd)
{
    ScratchDir dir;
    auto scene = animated(track("POS", {"0 0 0 0", "160 0 10 0"}));
    SceneNode& node = scene->nodes[0];
    const float expected[] = {0, 3, 6, 9, 10};
    for (float y : expected) {
        scene->update();
        EXPECT_NEAR(node.worldMatrix.m[13], y, 1e-4f);
        EXPECT_FALSE(scene->animationEnded);
    }
    // The step is complete: it is kept, the cursors move on and the time
    // starts over.
    EXPECT_NEAR(node.animationMatrix.m[13], 10.0f, 1e-4f);
    EXPECT_EQ(PositionKeyCursor[0], 2u);
    EXPECT_EQ(RotationKeyCursor[0], 1u);
    EXPECT_EQ(scene->animationTime, 0.0f);
    EXPECT_FALSE(scene->restartPending);

    scene->update();
    EXPECT_TRUE(scene->animationEnded);
    EXPECT_EQ(PositionKeyCursor[0], 0u);
    expectMatrixNear(node.animationMatrix, Matrix4());
    int depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST(Animation, TurnsBeyond314ArePlayedTheShortWayRound)
{
    ScratchDir dir;
    auto scene = animated(track("ROT", {"160 0 0 1 4.0"}));
    SceneNode& node = scene->nodes[0];
    for (int call = 0; call < 5; ++call)
        scene->update();
    EXPECT_NEAR(node.rotationTrack.angles[0], 2.28f, 1e-6f);
    EXPECT_EQ(node.rotationTrack.axes[0].z, -1.0f);
    // At the end of the step the node is turned by the whole key.
    Quaternion q;
    setFromAxisAngle(q, 2.28f, 0, 0, -1);
    updateMatrix(q);
    expectMatrixNear(node.animationMatrix, q.rotation, 1e-4f);
}

TEST(Animation, NodeWithoutTracksStaysAtIdentity)
{
    ScratchDir dir;
    auto scene = animated("", 10.0f);
    SceneNode& node = scene->nodes[0];
    for (int call = 0; call < 7; ++call) {
        scene->update();
        expectMatrixNear(node.worldMatrix, Matrix4());
    }
    expectMatrixNear(node.animationMatrix, Matrix4());
    EXPECT_FALSE(scene->animationEnded);
}

TEST(Animation, RotationKeyOfAngleZeroIsNoRotation)
{
    ScratchDir dir;
    auto scene = animated(track("ROT", {"160 0 0 1 0.0"}));
    for (int call = 0; call < 5; ++call) {
        scene->update();
        for (float v : scene->nodes[0].worldMatrix.m)
            ASSERT_TRUE(std::isfinite(v));
        expectMatrixNear(scene->nodes[0].worldMatrix, Matrix4());
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
        scene->update();
        EXPECT_NEAR(node.worldMatrix.m[0], s, 1e-4f);
        EXPECT_NEAR(node.worldMatrix.m[10], s, 1e-4f);
    }
    for (int call = 0; call < 5; ++call) {
        scene->update();
        EXPECT_NEAR(node.worldMatrix.m[5], 2.0f, 1e-4f) << "call " << call;
    }
}

TEST(Animation, OnlyTheFirstHundredNodesAnimate)
{
    headless::makeContext(8, 8);
    glMatrixMode(GL_MODELVIEW);
    ScratchDir dir;
    std::string text;
    for (int i = 0; i < MaxAnimatedNodes + 2; ++i)
        text += squareObject("N" + std::to_string(i), 0, face(0, 0, 1, 2), 1,
                             "*TM_ANIMATION {\n" + track("POS", {"160 0 10 0"}) + "}\n*MATERIAL_REF 0\n");
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), static_cast<size_t>(MaxAnimatedNodes + 2));
    scene->nodes[MaxAnimatedNodes].worldMatrix.m[13] = 42.0f;
    scene->animationTime = 0.6f;
    scene->update();
    EXPECT_NEAR(scene->nodes[MaxAnimatedNodes - 1].worldMatrix.m[13], 6.0f, 1e-4f);
    EXPECT_EQ(scene->nodes[MaxAnimatedNodes].worldMatrix.m[13], 42.0f);
}
