#include "headless/headless_platform.h"
#include "math/matrix4.h"
#include "math/quaternion.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>

namespace {

Matrix4 rotationTranslation()
{
    // Built the way the game builds matrices: on the GL stack.
    Matrix4 m;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(12.5f, -3.0f, 40.0f);
    glRotatef(33.0f, 0.3f, 1.0f, -0.2f);
    glRotatef(-71.0f, 1.0f, 0.0f, 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.m);
    glPopMatrix();
    return m;
}

Matrix4 product(const Matrix4& a, const Matrix4& b)
{
    Matrix4 out;
    glPushMatrix();
    glLoadMatrixf(a.m);
    glMultMatrixf(b.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, out.m);
    glPopMatrix();
    return out;
}

void expectIdentity(const Matrix4& m, float tolerance)
{
    Matrix4 identity;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i], identity.m[i], tolerance) << "element " << i;
}

Matrix4 diagonal(float a, float b, float c, float d)
{
    Matrix4 m;
    m.m[0] = a;
    m.m[5] = b;
    m.m[10] = c;
    m.m[15] = d;
    return m;
}

} // namespace

TEST(Matrix4, InverseUndoesRotationAndTranslationThroughGl)
{
    headless::makeContext(8, 8);
    Matrix4 m = rotationTranslation();
    expectIdentity(product(inverse(m), m), 1e-5f);
    expectIdentity(product(m, inverse(m)), 1e-5f);

    Matrix4 inPlace = m;
    invert(inPlace);
    expectIdentity(product(inPlace, m), 1e-5f);
}

// inverse() leaves a matrix whose determinant is below 0.000005 as it is;
// invert() only an exactly singular one.
TEST(Matrix4, GuardsOfInverseAndInvertDiffer)
{
    const struct {
        Matrix4 m;
        bool inverseInverts, invertInverts;
    } cases[] = {
        {diagonal(0.01f, 0.01f, 0.04f, 1.0f), false, true}, // determinant 0.000004
        {diagonal(0.01f, 0.01f, 0.06f, 1.0f), true, true},
        {diagonal(0.01f, 0.0f, 1.0f, 1.0f), false, false}, // exactly singular
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m.m[10]);
        Matrix4 inverted = c.m;
        invert(inverted);
        for (auto [result, inverts] :
             {std::pair{inverse(c.m), c.inverseInverts}, {inverted, c.invertInverts}})
            for (int i = 0; i < 16; ++i)
                EXPECT_NEAR(result.m[i], inverts && i % 5 == 0 ? 1 / c.m.m[i] : c.m.m[i], 1e-3f) << i;
    }
}

// The game's rules build their matrices on the CPU with the same operations
// that drawing issues to GL: on random chains of them the two must agree,
// and with rotatedAsGl's turns to the last bits.
TEST(Matrix4, CpuTransformsAgreeWithGl)
{
    headless::makeContext(8, 8);
    std::mt19937 random(20261207);
    auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); };
    auto expectAgree = [](const Matrix4& cpu, const Matrix4& asGl, const char* op, int chain) {
        float gl[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        for (int i = 0; i < 16; ++i) {
            ASSERT_NEAR(cpu.m[i], gl[i], 1e-5f * std::max(1.0f, std::abs(gl[i])))
                << op << " in chain " << chain << ", element " << i;
            ASSERT_NEAR(asGl.m[i], gl[i], 1e-6f * std::max(1.0f, std::abs(gl[i])))
                << op << " as GL in chain " << chain << ", element " << i;
        }
    };
    glMatrixMode(GL_MODELVIEW);
    for (int chain = 0; chain < 300; ++chain) {
        Matrix4 cpu;
        Matrix4 asGl;
        glLoadIdentity();
        for (int step = 0; step < 8; ++step) {
            switch (random() % 5) {
            case 0: {
                const float x = uniform(-500, 500), y = uniform(-50, 50), z = uniform(-8000, 8000);
                cpu = translated(cpu, x, y, z);
                asGl = translated(asGl, x, y, z);
                glTranslatef(x, y, z);
                expectAgree(cpu, asGl, "translate", chain);
                break;
            }
            case 1: {
                // Axis-aligned turns as the game makes them, and any others.
                const float angle = uniform(-720, 720);
                float axis[3] = {0, 0, 0};
                if (random() % 2)
                    axis[random() % 3] = 1.0f;
                else
                    axis[0] = uniform(-2, 2), axis[1] = uniform(-2, 2), axis[2] = uniform(-2, 2);
                cpu = rotated(cpu, angle, axis[0], axis[1], axis[2]);
                asGl = rotatedAsGl(asGl, angle, axis[0], axis[1], axis[2]);
                glRotatef(angle, axis[0], axis[1], axis[2]);
                expectAgree(cpu, asGl, "rotate", chain);
                break;
            }
            case 2: {
                const float s = uniform(0.2f, 3.0f);
                cpu = scaled(cpu, s, s * 0.5f, 2.0f);
                asGl = scaled(asGl, s, s * 0.5f, 2.0f);
                glScalef(s, s * 0.5f, 2.0f);
                expectAgree(cpu, asGl, "scale", chain);
                break;
            }
            case 3: {
                // An inverted placement, multiplied in as launch frames are.
                Matrix4 frame = inverse(rotated(translated(Matrix4(), uniform(-9, 9), 2, uniform(-900, 0)),
                                                uniform(-45, 45), 0, 1, 0));
                cpu = cpu * frame;
                asGl = asGl * frame;
                glMultMatrixf(frame.m);
                expectAgree(cpu, asGl, "multiply", chain);
                break;
            }
            default: {
                // A point through the matrix is the translation of the
                // matrix moved to that point.
                const Vec4 p{uniform(-10, 10), uniform(-10, 10), uniform(-10, 10), 1.0f};
                const Vec4 q = transformPoint(cpu, p);
                glPushMatrix();
                glTranslatef(p.x, p.y, p.z);
                float gl[16];
                glGetFloatv(GL_MODELVIEW_MATRIX, gl);
                glPopMatrix();
                const float tolerance =
                    1e-5f * std::max({1.0f, std::abs(gl[12]), std::abs(gl[13]), std::abs(gl[14])});
                ASSERT_NEAR(q.x, gl[12], tolerance) << "chain " << chain;
                ASSERT_NEAR(q.y, gl[13], tolerance) << "chain " << chain;
                ASSERT_NEAR(q.z, gl[14], tolerance) << "chain " << chain;
            }
            }
        }
    }
    // A zero axis turns nothing, in GL as here.
    glLoadIdentity();
    glRotatef(30, 0, 0, 0);
    expectAgree(rotated(Matrix4(), 30, 0, 0, 0), rotatedAsGl(Matrix4(), 30, 0, 0, 0), "zero axis", -1);
}

// The axis is used as given and only the final normalisation corrects a
// non-unit one; an angle of 0 is the identity, and a zero quaternion stays
// zero.
TEST(Quaternion, AxisAngleIsNormalisedAndItsMatrixIsTheInverseRotation)
{
    Quaternion none;
    setFromAxisAngle(none, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_TRUE(none.w == 1.0f && none.x == 0.0f && none.y == 0.0f && none.z == 0.0f);
    updateMatrix(none);
    expectIdentity(none.rotation, 0.0f);
    Quaternion zero;
    normalize(zero);
    EXPECT_TRUE(zero.w == 0.0f && zero.x == 0.0f);
    Quaternion r;
    setFromAxisAngle(r, 1.0f, 0.0f, 10.0f, 0.0f);
    EXPECT_NEAR(r.w * r.w + r.y * r.y, 1.0f, 1e-6f);
    EXPECT_GT(r.y, r.w);

    // 90 degrees about z: the usual matrix turns x to y; ours, its
    // transpose, turns x to -y.
    Quaternion q;
    setFromAxisAngle(q, 3.14159265f / 2, 0, 0, 1);
    updateMatrix(q);
    Vec4 turned = transformPoint(q.rotation, {1, 0, 0, 1});
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, -1.0f, 1e-6f);
    EXPECT_EQ(q.rotation.m[15], 1.0f);
    EXPECT_EQ(q.rotation.m[12], 0.0f);
}
