#include "headless/headless_platform.h"
#include "math/matrix4.h"
#include "math/quaternion.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

TEST(Matrix4, GuardsOfInverseAndInvertDiffer)
{
    // det = 0.000004: below the guard of inverse, not zero for invert.
    Matrix4 small = diagonal(0.01f, 0.01f, 0.04f, 1.0f);
    Matrix4 copy = inverse(small);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(copy.m[i], small.m[i]);

    Matrix4 inverted = small;
    invert(inverted);
    EXPECT_NEAR(inverted.m[0], 100.0f, 1e-2f);
    EXPECT_NEAR(inverted.m[10], 25.0f, 1e-3f);

    // Exactly singular: both leave it alone.
    Matrix4 singular = diagonal(1.0f, 0.0f, 1.0f, 1.0f);
    Matrix4 kept = singular;
    invert(kept);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(kept.m[i], singular.m[i]);
        EXPECT_EQ(inverse(singular).m[i], singular.m[i]);
    }

    // Just above the guard, inverse does invert.
    Matrix4 enough = diagonal(0.01f, 0.01f, 0.06f, 1.0f);
    EXPECT_NEAR(inverse(enough).m[0], 100.0f, 1e-2f);
}

TEST(Matrix4, DeterminantsAndTranspose)
{
    EXPECT_FLOAT_EQ(determinant(diagonal(2, 3, 4, 5)), 120.0f);
    EXPECT_FLOAT_EQ(determinant3(diagonal(2, 3, 4, 5)), 24.0f);

    Matrix4 m;
    for (int i = 0; i < 16; ++i)
        m.m[i] = static_cast<float>(i * i % 7) - 2.0f * i;
    Matrix4 t = m;
    transpose(t);
    EXPECT_EQ(t.m[1], m.m[4]);
    EXPECT_EQ(t.m[14], m.m[11]);
    // The determinant does not change under transposition.
    EXPECT_NEAR(determinant(t), determinant(m), 1e-2f * std::abs(determinant(m)) + 1e-3f);
}

TEST(Matrix4, PointTransformsReadColumnsAndRows)
{
    Matrix4 m;
    for (int i = 0; i < 16; ++i)
        m.m[i] = static_cast<float>(i + 1);
    Vec4 origin{0, 0, 0, 7};
    Vec4 byColumns = transformPoint(m, origin);
    EXPECT_EQ(byColumns.x, 13.0f);
    EXPECT_EQ(byColumns.y, 14.0f);
    EXPECT_EQ(byColumns.z, 15.0f);
    EXPECT_EQ(byColumns.w, 1.0f);
    Vec4 byRows = transformPointByRows(m, origin);
    EXPECT_EQ(byRows.x, 4.0f);
    EXPECT_EQ(byRows.y, 8.0f);
    EXPECT_EQ(byRows.z, 12.0f);
    EXPECT_EQ(byRows.w, 1.0f);

    // By rows is by columns of the transpose.
    Vec4 p{1.5f, -2.0f, 0.25f, 0};
    Matrix4 t = m;
    transpose(t);
    Vec4 a = transformPointByRows(m, p);
    Vec4 b = transformPoint(t, p);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
    EXPECT_EQ(transformPoint(m, p).x, 1 * 1.5f + 5 * -2.0f + 9 * 0.25f + 13);
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

TEST(Vec3, CrossAndDot)
{
    Vec3 c = cross({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 1.0f);
    EXPECT_EQ(dot({1, 2, 3}, {4, -5, 6}), 12.0f);
}

TEST(Quaternion, AxisAngleOfZeroIsIdentity)
{
    Quaternion q;
    setFromAxisAngle(q, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(q.w, 1.0f);
    EXPECT_EQ(q.x, 0.0f);
    EXPECT_EQ(q.y, 0.0f);
    EXPECT_EQ(q.z, 0.0f);
    updateMatrix(q);
    expectIdentity(q.rotation, 0.0f);
}

TEST(Quaternion, NormalizeLeavesZeroAloneAndScalesOthers)
{
    Quaternion zero;
    normalize(zero);
    EXPECT_EQ(zero.w, 0.0f);
    EXPECT_EQ(zero.x, 0.0f);

    Quaternion q(0.0f, 3.0f, 0.0f, 4.0f);
    normalize(q);
    EXPECT_FLOAT_EQ(q.x, 0.6f);
    EXPECT_FLOAT_EQ(q.z, 0.8f);

    // A non-unit axis is corrected only by the final normalisation.
    Quaternion r;
    setFromAxisAngle(r, 1.0f, 0.0f, 10.0f, 0.0f);
    EXPECT_NEAR(r.w * r.w + r.y * r.y, 1.0f, 1e-6f);
    EXPECT_GT(r.y, r.w);
}

TEST(Quaternion, MatrixIsTheInverseRotation)
{
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

TEST(Quaternion, AssignmentKeepsTheTargetsMatrix)
{
    Quaternion turned;
    setFromAxisAngle(turned, 1.0f, 1, 0, 0);
    updateMatrix(turned);

    Quaternion target;
    target = turned;
    EXPECT_EQ(target.w, turned.w);
    EXPECT_EQ(target.x, turned.x);
    expectIdentity(target.rotation, 0.0f);
    updateMatrix(target);
    EXPECT_EQ(target.rotation.m[5], turned.rotation.m[5]);

    // Sum and scalar multiple start with the identity matrix.
    Quaternion sum = turned + turned;
    EXPECT_EQ(sum.x, 2 * turned.x);
    expectIdentity(sum.rotation, 0.0f);
    Quaternion half = 0.5f * turned;
    EXPECT_EQ(half.w, 0.5f * turned.w);
    expectIdentity(half.rotation, 0.0f);
}
