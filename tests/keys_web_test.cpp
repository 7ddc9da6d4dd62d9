// The browser's key map, from the key event's key, code and location to Windows virtual-key
// codes. Plain C++, so it is tested here rather than in the browser.
#include <gtest/gtest.h>

#include "editions/web/keys_web.h"

using namespace kelvorin;

namespace {
const unsigned long STANDARD = 0, RIGHT = 2, KEYPAD = 3;
}

TEST(Keys, BrowserKeysByMeaning) {
    EXPECT_EQ(VirtualKeyFromDOM("Escape", "Escape", STANDARD), 27);
    EXPECT_EQ(VirtualKeyFromDOM("F1", "F1", STANDARD), 112);
    EXPECT_EQ(VirtualKeyFromDOM("F12", "F12", STANDARD), 123);
    EXPECT_EQ(VirtualKeyFromDOM("F24", "F24", STANDARD), 0x87);
    EXPECT_EQ(VirtualKeyFromDOM("F25", "F25", STANDARD), 0);
    EXPECT_EQ(VirtualKeyFromDOM("F", "KeyF", STANDARD),
              'F');  // Shift+f: a letter, not a function key
    EXPECT_EQ(VirtualKeyFromDOM("Fn", "Fn", STANDARD), 0);
    // Letters follow the layout, as Windows does: the key that types 'a' on AZERTY is A.
    EXPECT_EQ(VirtualKeyFromDOM("a", "KeyQ", STANDARD), 'A');
    EXPECT_EQ(VirtualKeyFromDOM("Z", "KeyZ", STANDARD), 'Z');
    EXPECT_EQ(VirtualKeyFromDOM("7", "Digit7", STANDARD), '7');
    EXPECT_EQ(VirtualKeyFromDOM("Enter", "Enter", STANDARD), 0x0D);
    EXPECT_EQ(VirtualKeyFromDOM(" ", "Space", STANDARD), 0x20);
    EXPECT_EQ(VirtualKeyFromDOM("ArrowLeft", "ArrowLeft", STANDARD), 0x25);
    EXPECT_EQ(VirtualKeyFromDOM("Meta", "MetaLeft", STANDARD), 0x5B);
    EXPECT_EQ(VirtualKeyFromDOM("Meta", "MetaRight", RIGHT), 0x5C);
    EXPECT_EQ(VirtualKeyFromDOM("Dead", "BracketLeft", STANDARD), 0xDB);
    EXPECT_EQ(VirtualKeyFromDOM("Unidentified", "", STANDARD), 0);
    EXPECT_EQ(VirtualKeyFromDOM("é", "Quote", STANDARD),
              0xDE);  // a letter outside A to Z: by position
    EXPECT_EQ(VirtualKeyFromDOM("é", "", STANDARD), 0);
}

TEST(Keys, BrowserKeysByPosition) {
    // The keypad's digits are keypad keys whatever they type; its Enter is Return.
    EXPECT_EQ(VirtualKeyFromDOM("0", "Numpad0", KEYPAD), 0x60);
    EXPECT_EQ(VirtualKeyFromDOM("9", "Numpad9", KEYPAD), 0x69);
    EXPECT_EQ(VirtualKeyFromDOM("Enter", "NumpadEnter", KEYPAD), 0x0D);
    EXPECT_EQ(VirtualKeyFromDOM("*", "NumpadMultiply", KEYPAD), 0x6A);
    // Punctuation goes by position, shifted or not and on any layout.
    EXPECT_EQ(VirtualKeyFromDOM(";", "Semicolon", STANDARD), 0xBA);
    EXPECT_EQ(VirtualKeyFromDOM(":", "Semicolon", STANDARD), 0xBA);
    EXPECT_EQ(VirtualKeyFromDOM("ö", "Semicolon", STANDARD), 0xBA);
    EXPECT_EQ(VirtualKeyFromDOM("'", "Quote", STANDARD), 0xDE);
    // On AZERTY the key at the US semicolon types m, and the digit row types symbols.
    EXPECT_EQ(VirtualKeyFromDOM("m", "Semicolon", STANDARD), 'M');
    EXPECT_EQ(VirtualKeyFromDOM("&", "Digit1", STANDARD), '1');
}
