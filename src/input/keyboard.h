#pragma once

// The keyboard as the game sees it: one record per Windows virtual-key code,
// refreshed once at the start of every frame before any screen runs.

// The virtual-key codes the game reads. Letters are their capital ASCII
// codes (0x41 'A' to 0x5A 'Z'), matched by key label whatever Shift and Caps
// Lock say.
enum : int {
    VK_CONTROL = 0x11,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
};

struct KeyState {
    bool down = false;    // down at this frame's poll
    bool pressed = false; // went down at this frame's poll: one frame per hold
    bool latched = false; // this hold's press was already reported
};

extern KeyState KeyTable[256];

// Reads the platform's snapshot and refreshes all 256 records; `addKeys`
// (the demo player's, say) may add keys to the snapshot first.
void pollKeyboard(void (*addKeys)(unsigned char keys[256]) = nullptr);

// Refreshes the table from a given snapshot (bit 7 of each byte = down).
void applyKeyboardSnapshot(const unsigned char keys[256]);

// 1 or 0. The code must lie in 0..255; the queries only read.
int isKeyDown(int vk);
int wasKeyPressed(int vk);
