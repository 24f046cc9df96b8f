#include "scene/animation.h"

#include "math/quaternion.h"
#include "scene/scene.h"

#include <algorithm>
#include <cmath>

namespace {

// The rotation of the current step, from no rotation towards the key's
// rotation, by spherical interpolation over the fraction A of the step.
// The key is passed over when its time is 0.
// Writes r's components and matrix (assigning a quaternion would copy only
// the components).
void rotationStep(const Scene& scene, SceneNode& node, unsigned int& cursor, Quaternion& r)
{
    RotationTrack& track = node.rotationTrack;
    const unsigned int c = cursor;
    Vec3& axis = track.axes[c];
    Quaternion q0;
    setFromAxisAngle(q0, 0.0f, axis.x, axis.y, axis.z);
    // A turn of more than 3.14 is played the short way round, and the key
    // keeps the replacement.
    if (static_cast<double>(track.angles[c]) > 3.14) {
        track.angles[c] = static_cast<float>(6.28 - static_cast<double>(track.angles[c]));
        axis = {-axis.x, -axis.y, -axis.z};
    }
    const float theta = track.angles[c];
    Quaternion q1;
    setFromAxisAngle(q1, theta, axis.x, axis.y, axis.z);
    const float A = std::clamp(scene.animationTime, -1.0f, 1.0f);
    if (track.times[c] == 0.0f) {
        cursor += 1;
    } else if (theta != 0.0f) {
        // A key of angle 0 is no rotation (the components stay 0, which
        // gives the identity) instead of a division by sin 0.
        const float a = theta * A;
        r = std::sin(theta - a) * q0 + std::sin(a) * q1;
        const float s = std::sin(theta);
        r.w /= s;
        r.x /= s;
        r.y /= s;
        r.z /= s;
    }
    updateMatrix(r);
}

// The move of the current step, from the previous key's position towards
// this one's.
Matrix4 positionStep(const Scene& scene, const SceneNode& node, unsigned int& cursor)
{
    Matrix4 step;
    const KeyTrack& track = node.positionTrack;
    const unsigned int c = cursor;
    const float A = std::clamp(scene.animationTime, -1.0f, 1.0f);
    const Vec4 prev = c > 0 ? track.values[c - 1] : Vec4{0.0f, 0.0f, 0.0f, 1.0f};
    if (track.times[c] == 0.0f) {
        cursor += 1;
        return step;
    }
    step.m[12] = (track.values[c].x - prev.x) * A;
    step.m[13] = (track.values[c].y - prev.y) * A;
    step.m[14] = (track.values[c].z - prev.z) * A;
    return step;
}

// The scale of the current step relative to the previous key's scale, so
// that the accumulated matrix reaches each key's scale and a key that keeps
// the scale keeps the size. A previous scale of 0 counts as 1.
float scaleFactor(float value, float prev, float A)
{
    if (prev == 0.0f)
        prev = 1.0f;
    return 1.0f + (value / prev - 1.0f) * A;
}

Matrix4 scaleStep(const Scene& scene, const SceneNode& node, unsigned int& cursor)
{
    Matrix4 step;
    const KeyTrack& track = node.scaleTrack;
    const unsigned int c = cursor;
    const float A = std::min(scene.animationTime, 1.0f);
    const Vec4 prev = c > 0 ? track.values[c - 1] : Vec4{1.0f, 1.0f, 1.0f, 1.0f};
    if (track.times[c] == 0.0f) {
        cursor += 1;
        return step;
    }
    step.m[0] = scaleFactor(track.values[c].x, prev.x, A);
    step.m[5] = scaleFactor(track.values[c].y, prev.y, A);
    step.m[10] = scaleFactor(track.values[c].z, prev.z, A);
    return step;
}

} // namespace

Matrix4 steppedMatrix(const SceneNode& node, const Matrix4& position, const Matrix4& scale,
                      const Matrix4& rotation)
{
    return node.nodeMatrix * position * scale * rotation * inverse(node.nodeMatrix) * node.animationMatrix;
}

void Scene::update(AnimationCursors& cursors)
{
    const size_t animated = std::min<size_t>(nodes.size(), MaxAnimatedNodes);
    for (size_t i = 0; i < animated; ++i) {
        SceneNode& node = nodes[i];
        Quaternion rotation;
        Matrix4 position;
        Matrix4 scale;
        // The node's tracks play side by side, one key a step. A track whose
        // keys are used up holds its last key (no step) while another still
        // has keys; once all of them are used up, the node is put back where
        // its first keys start from and the animation counts as ended. The
        // cursors of absent tracks are left alone.
        const bool rotationLeft =
            node.rotationTrack.present && cursors.RotationKeyCursor[i] < node.rotationTrack.times.size();
        const bool positionLeft =
            node.positionTrack.present && cursors.PositionKeyCursor[i] < node.positionTrack.values.size();
        const bool scaleLeft =
            node.scaleTrack.present && cursors.ScaleKeyCursor[i] < node.scaleTrack.values.size();
        if (rotationLeft || positionLeft || scaleLeft) {
            if (rotationLeft)
                rotationStep(*this, node, cursors.RotationKeyCursor[i], rotation);
            if (positionLeft)
                position = positionStep(*this, node, cursors.PositionKeyCursor[i]);
            if (scaleLeft)
                scale = scaleStep(*this, node, cursors.ScaleKeyCursor[i]);
        } else if (node.rotationTrack.present || node.positionTrack.present || node.scaleTrack.present) {
            animationEnded = true;
            node.animationMatrix = Matrix4();
            if (node.rotationTrack.present)
                cursors.RotationKeyCursor[i] = 0;
            if (node.positionTrack.present)
                cursors.PositionKeyCursor[i] = 0;
            if (node.scaleTrack.present)
                cursors.ScaleKeyCursor[i] = 0;
        }

        node.worldMatrix = steppedMatrix(node, position, scale, rotation.rotation);
        if (animationTime > 1.0f || animationTime < -1.0f) {
            node.animationMatrix = node.worldMatrix;
            restartPending = true;
            cursors.RotationKeyCursor[i] += 1;
            cursors.PositionKeyCursor[i] += 1;
            // The scale keys move on with the others, so that each step
            // scales towards the next key rather than repeating one.
            cursors.ScaleKeyCursor[i] += 1;
        }
    }
    if (restartPending) {
        restartPending = false;
        animationTime = 0.0f;
    } else {
        animationTime = static_cast<float>(static_cast<double>(animationTime) + AnimationTimeStep);
    }
}
