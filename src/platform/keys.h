// Windows virtual-key codes, by Windows' own names: every backend reports its keys in them, and
// the shell's key state is indexed by them. Letters and the digit row are their ASCII capitals
// and digits ('A', '0').
//
// windows.h defines the same names as macros with the same values; a file that includes both
// includes this one first, so that the macros only stand in for equal numbers.
#pragma once

namespace kelvorin {

enum VirtualKey : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,  // Alt
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,  // Caps Lock
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,  // Page Up
    VK_NEXT = 0x22,   // Page Down
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SNAPSHOT = 0x2C,  // Print Screen
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,     // the context-menu key
    VK_NUMPAD0 = 0x60,  // to VK_NUMPAD9 = 0x69
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,  // to VK_F12 = 0x7B
    VK_F10 = 0x79,
    VK_F13 = 0x7C,  // to VK_F24 = 0x87
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    // The punctuation keys, named by where they sit on a US keyboard.
    VK_OEM_1 = 0xBA,  // ;:
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,  // /?
    VK_OEM_3 = 0xC0,  // `~
    VK_OEM_4 = 0xDB,  // [{
    VK_OEM_5 = 0xDC,  // backslash
    VK_OEM_6 = 0xDD,  // ]}
    VK_OEM_7 = 0xDE,  // '"
};

}  // namespace kelvorin
