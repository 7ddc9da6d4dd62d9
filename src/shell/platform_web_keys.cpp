#include <cstring>

#include "shell/keymap.h"

namespace kelvorin {

namespace {

struct Name {
    const char *name;
    int vk;
};

// Keys by their key value.
const Name namedKeys[] = {
    {"Backspace", 0x08}, {"Tab", 0x09},        {"Enter", 0x0D},      {"Shift", 0x10},
    {"Control", 0x11},   {"Alt", 0x12},        {"Pause", 0x13},      {"CapsLock", 0x14},
    {"Escape", 0x1B},    {" ", 0x20},          {"PageUp", 0x21},     {"PageDown", 0x22},
    {"End", 0x23},       {"Home", 0x24},       {"ArrowLeft", 0x25},  {"ArrowUp", 0x26},
    {"ArrowRight", 0x27}, {"ArrowDown", 0x28}, {"PrintScreen", 0x2C}, {"Insert", 0x2D},
    {"Delete", 0x2E},    {"Meta", 0x5B},       {"OS", 0x5B},         {"ContextMenu", 0x5D},
    {"NumLock", 0x90},   {"ScrollLock", 0x91},
};

// Keys by their physical position: the keypad's operators and the punctuation keys, which
// Windows names by where they sit on a US keyboard.
const Name positionedKeys[] = {
    {"NumpadMultiply", 0x6A}, {"NumpadAdd", 0x6B},    {"NumpadSubtract", 0x6D},
    {"NumpadDecimal", 0x6E},  {"NumpadDivide", 0x6F}, {"NumpadEnter", 0x0D},
    {"Semicolon", 0xBA},      {"Equal", 0xBB},        {"Comma", 0xBC},
    {"Minus", 0xBD},          {"Period", 0xBE},       {"Slash", 0xBF},
    {"Backquote", 0xC0},      {"BracketLeft", 0xDB},  {"Backslash", 0xDC},
    {"BracketRight", 0xDD},   {"Quote", 0xDE},
};

int Find(const Name *table, size_t count, const char *name) {
    for (size_t i = 0; i < count; i++)
        if (std::strcmp(table[i].name, name) == 0) return table[i].vk;
    return 0;
}

}  // namespace

int VirtualKeyFromDOM(const char *key, const char *code, unsigned long location) {
    const unsigned long KEYPAD = 3, RIGHT = 2;
    bool single = key[0] && !key[1];
    if (std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9' && !code[7])
        return 0x60 + (code[6] - '0');
    if (single && key[0] >= 'a' && key[0] <= 'z') return 'A' + (key[0] - 'a');
    if (single && key[0] >= 'A' && key[0] <= 'Z') return key[0];
    // The digit row by position: on some layouts its keys type symbols unshifted.
    if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && !code[6])
        return code[5];
    if (int vk = Find(positionedKeys, sizeof positionedKeys / sizeof *positionedKeys, code)) return vk;
    if (single && key[0] >= '0' && key[0] <= '9' && location != KEYPAD) return key[0];
    if (key[0] == 'F' && key[1] >= '1' && key[1] <= '9') {
        int n = key[1] - '0';
        if (key[2] >= '0' && key[2] <= '9' && !key[3]) n = n * 10 + (key[2] - '0');
        else if (key[2]) n = 0;
        if (n >= 1 && n <= 24) return 0x70 + (n - 1);
    }
    int vk = Find(namedKeys, sizeof namedKeys / sizeof *namedKeys, key);
    if (vk == 0x5B && location == RIGHT) return 0x5C;
    return vk;
}

}  // namespace kelvorin
