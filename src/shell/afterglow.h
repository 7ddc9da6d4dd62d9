// With reduced flashing, each frame is blended with the picture shown before it, so that no
// large area can change brightness abruptly: the earlier picture keeps 4/5 of its weight per
// 60th of a second of demo time (a fifth of each new frame at 60 fps), and a change shows in
// full after a few tenths of a second instead of at once. A third of each new frame is not
// enough for the cloud tunnel, whose streaming clouds would still flash four times a second
// over a quarter of the view.
#pragma once
#include <cstdint>

namespace kelvorin {

// How many frames at 60 fps, drawn at full size after RestartAfterglow, bring the picture
// back to what it would have been without the restart: what came before them keeps
// (4/5)^25 of its weight, under one level of 8 bits (the rounding of each blend may still hold
// a still area up to two levels off).
constexpr int AFTERGLOW_FRAMES = 25;

// Call after the scene has drawn the frame and before it is presented: blends the previous
// picture over it and keeps the result. Does nothing without reduced flashing. A frame whose
// view differs in size from the previous one shows as drawn.
void DrawAfterglow();

// Forgets the previous picture: the next frame shows as drawn. For a jump in the timeline.
void RestartAfterglow();

// A new rendering context holds none of the old one's textures: the next frame makes the
// afterglow's texture afresh.
void ForgetAfterglowTexture();

}  // namespace kelvorin
