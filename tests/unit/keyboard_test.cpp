#include "headless/headless_platform.h"
#include "shell/keyboard.h"

#include <gtest/gtest.h>

TEST(Keyboard, EveryQueryAnswersZeroBeforeTheFirstPoll)
{
    for (int vk = 0; vk < 256; ++vk) {
        EXPECT_EQ(isKeyDown(vk), 0);
        EXPECT_EQ(wasKeyPressed(vk), 0);
    }
}

TEST(Keyboard, HoldReportsOnePressThenDownOnly)
{
    headless::reset();
    headless::setKey(VK_SPACE, true);
    pollKeyboard();
    EXPECT_EQ(wasKeyPressed(VK_SPACE), 1);
    EXPECT_EQ(wasKeyPressed(VK_SPACE), 1) << "asking twice in a frame gives the same answer";
    EXPECT_EQ(isKeyDown(VK_SPACE), 1);
    for (int frame = 0; frame < 5; ++frame) {
        pollKeyboard();
        EXPECT_EQ(wasKeyPressed(VK_SPACE), 0);
        EXPECT_EQ(isKeyDown(VK_SPACE), 1);
    }
    EXPECT_EQ(isKeyDown('W'), 0);
}

TEST(Keyboard, ReleaseAndPressAgainIsANewPress)
{
    headless::reset();
    headless::setKey('S', true);
    pollKeyboard();
    pollKeyboard();
    EXPECT_EQ(wasKeyPressed('S'), 0);

    headless::setKey('S', false);
    pollKeyboard();
    EXPECT_EQ(isKeyDown('S'), 0);
    EXPECT_EQ(wasKeyPressed('S'), 0);
    EXPECT_FALSE(KeyTable['S'].latched);

    headless::setKey('S', true);
    pollKeyboard();
    EXPECT_EQ(wasKeyPressed('S'), 1);
}

TEST(Keyboard, OnlyBitSevenCountsAsDown)
{
    unsigned char keys[256] = {};
    keys[VK_ESCAPE] = 0x01; // the toggle bit alone
    keys[VK_UP] = 0x81;
    applyKeyboardSnapshot(keys);
    EXPECT_EQ(isKeyDown(VK_ESCAPE), 0);
    EXPECT_EQ(isKeyDown(VK_UP), 1);
}

TEST(Keyboard, LosingTheFocusReleasesHeldKeys)
{
    headless::reset();
    headless::setKey(VK_LEFT, true);
    pollKeyboard();
    headless::setFocus(false);
    pollKeyboard();
    EXPECT_EQ(isKeyDown(VK_LEFT), 0);
    headless::setFocus(true);
    pollKeyboard();
    EXPECT_EQ(wasKeyPressed(VK_LEFT), 1) << "a key still held on return is a new press";
}
