#include "headless/headless_platform.h"
#include "input/keyboard.h"

#include <gtest/gtest.h>

#include <string>

// One key over successive polls, as a script: held (H), up (.), or held
// while the window has lost the focus (h); and what the game sees at each
// poll. A hold is one press; a key still held when the focus comes back is
// a new one.
TEST(Keyboard, PressesAndHoldsOverSuccessivePolls)
{
    const struct {
        const char* polls;
        const char* down;
        const char* pressed;
    } cases[] = {
        {"HHHHHH", "111111", "100000"},
        {"HH.H", "1101", "1001"},
        {"HhH", "101", "101"},
        {"..H.", "0010", "0010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.polls);
        headless::reset();
        pollKeyboard();
        for (int vk = 0; vk < 256; ++vk)
            ASSERT_EQ(isKeyDown(vk) + wasKeyPressed(vk), 0) << vk;
        std::string down, pressed;
        for (const char* p = c.polls; *p; ++p) {
            headless::setFocus(*p != 'h');
            headless::setKey(VK_SPACE, *p != '.');
            pollKeyboard();
            down += std::to_string(isKeyDown(VK_SPACE));
            pressed += std::to_string(wasKeyPressed(VK_SPACE));
            EXPECT_EQ(wasKeyPressed(VK_SPACE), pressed.back() - '0') << "asking twice in a frame";
            EXPECT_EQ(isKeyDown('W'), 0) << "another key";
        }
        EXPECT_EQ(down, c.down);
        EXPECT_EQ(pressed, c.pressed);
    }
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
