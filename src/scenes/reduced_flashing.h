// The viewer's choice of a demo with less flashing: off by default, set by an edition before
// the demo starts. The scenes then draw their blinking stretches steadily, and the shell blends
// each new frame with the picture before it (shell/afterglow.h). The scenes' values advance the
// same way in either mode, so the choice can change between any two frames.
#pragma once

namespace kelvorin {

inline bool reducedFlashing = false;

}  // namespace kelvorin
