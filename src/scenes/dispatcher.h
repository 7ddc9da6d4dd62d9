// The scene dispatcher: one scene id says which scene draws the frame.
#pragma once
#include <cstdint>

namespace kelvorin {

extern int32_t numscene;  // 0, 1, 2, 3, 4, 45, 5, 7, 8; written by the scenes' end-of-frame tests

// Clears the frame, loads the identity modelview and calls the current scene. Always true.
bool DrawFrame();

}  // namespace kelvorin
