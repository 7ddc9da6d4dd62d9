// The demo's length: the music's, 191 s. The scenes run on past it (the greetings stay until the
// viewer quits), but the seek bar, the snapshots, a whole video and the music generator all end
// here.
#pragma once
#include <cstdint>

namespace kelvorin {

constexpr uint32_t DEMO_LENGTH_MS = 191000;

}  // namespace kelvorin
