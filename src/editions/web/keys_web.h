// The browser's keys as Windows virtual-key codes, which the shell's key state is indexed by.
// Plain C++: the native tests check it too.
#pragma once

namespace kelvorin {

// The virtual-key code of a browser key event, from its key (the layout's meaning: letters,
// digits, named keys), its code (the physical key: punctuation and the keypad, where Windows
// too goes by position) and its location (2 for right-hand modifiers, 3 for the keypad).
// 0 for a key that has none.
int VirtualKeyFromDOM(const char *key, const char *code, unsigned long location);

}  // namespace kelvorin
