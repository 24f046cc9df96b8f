#include "input/keyboard.h"

#include "input/platform.h"

#include <cstring>

KeyState KeyTable[256];

void applyKeyboardSnapshot(const unsigned char keys[256])
{
    for (int i = 0; i < 256; ++i) {
        KeyState& key = KeyTable[i];
        bool d = (keys[i] & 0x80) != 0;
        key.down = d;
        if (!d) {
            key.latched = false;
            key.pressed = false;
        } else if (key.latched) {
            key.pressed = false;
        } else {
            key.latched = true;
            key.pressed = true;
        }
    }
}

void pollKeyboard(void (*addKeys)(unsigned char keys[256]))
{
    uint8_t keys[256];
    std::memset(keys, 0, sizeof keys);
    platformKeyboardSnapshot(keys);
    if (addKeys)
        addKeys(keys);
    applyKeyboardSnapshot(keys);
}

int isKeyDown(int vk) { return KeyTable[vk].down ? 1 : 0; }

int wasKeyPressed(int vk) { return KeyTable[vk].pressed ? 1 : 0; }
