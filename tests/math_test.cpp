#include "math/matrix4.h"

#include <gtest/gtest.h>

TEST(Matrix4, DefaultIsIdentity)
{
    Matrix4 m;
    EXPECT_EQ(m.m[0], 1.0f);
}
