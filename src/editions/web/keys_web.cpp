#include <cstring>

#include "editions/web/keys_web.h"
#include "platform/keys.h"

namespace kelvorin {

namespace {

struct Name {
    const char *name;
    int vk;
};

// clang-format off
// Keys by their key value.
const Name namedKeys[] = {
    {"Backspace", VK_BACK},        {"Tab", VK_TAB},               {"Enter", VK_RETURN},
    {"Shift", VK_SHIFT},           {"Control", VK_CONTROL},       {"Alt", VK_MENU},
    {"Pause", VK_PAUSE},           {"CapsLock", VK_CAPITAL},      {"Escape", VK_ESCAPE},
    {" ", VK_SPACE},               {"PageUp", VK_PRIOR},          {"PageDown", VK_NEXT},
    {"End", VK_END},               {"Home", VK_HOME},             {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},            {"ArrowRight", VK_RIGHT},      {"ArrowDown", VK_DOWN},
    {"PrintScreen", VK_SNAPSHOT},  {"Insert", VK_INSERT},         {"Delete", VK_DELETE},
    {"Meta", VK_LWIN},             {"OS", VK_LWIN},               {"ContextMenu", VK_APPS},
    {"NumLock", VK_NUMLOCK},       {"ScrollLock", VK_SCROLL},
};

// Keys by their physical position: the keypad's operators and the punctuation keys, which
// Windows names by where they sit on a US keyboard.
const Name positionedKeys[] = {
    {"NumpadMultiply", VK_MULTIPLY},  {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},  {"NumpadDecimal", VK_DECIMAL},
    {"NumpadDivide", VK_DIVIDE},      {"NumpadEnter", VK_RETURN},
    {"Semicolon", VK_OEM_1},          {"Equal", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA},          {"Minus", VK_OEM_MINUS},
    {"Period", VK_OEM_PERIOD},        {"Slash", VK_OEM_2},
    {"Backquote", VK_OEM_3},          {"BracketLeft", VK_OEM_4},
    {"Backslash", VK_OEM_5},          {"BracketRight", VK_OEM_6},
    {"Quote", VK_OEM_7},
};
// clang-format on

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
        return VK_NUMPAD0 + (code[6] - '0');
    if (single && key[0] >= 'a' && key[0] <= 'z') return 'A' + (key[0] - 'a');
    if (single && key[0] >= 'A' && key[0] <= 'Z') return key[0];
    // The digit row by position: on some layouts its keys type symbols unshifted.
    if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && !code[6])
        return code[5];
    if (int vk = Find(positionedKeys, sizeof positionedKeys / sizeof *positionedKeys, code))
        return vk;
    if (single && key[0] >= '0' && key[0] <= '9' && location != KEYPAD) return key[0];
    if (key[0] == 'F' && key[1] >= '1' && key[1] <= '9') {
        int n = key[1] - '0';
        if (key[2] >= '0' && key[2] <= '9' && !key[3]) n = n * 10 + (key[2] - '0');
        else if (key[2]) n = 0;
        if (n >= 1 && n <= 24) return VK_F1 + (n - 1);
    }
    int vk = Find(namedKeys, sizeof namedKeys / sizeof *namedKeys, key);
    if (vk == VK_LWIN && location == RIGHT) return VK_RWIN;
    return vk;
}

}  // namespace kelvorin
