// What the browser's entry points set on the canvas backend beyond the platform interface.
#pragma once

namespace kelvorin {

// By default the canvas's drawing buffer follows the canvas's size on the page (in device
// pixels, the ratio capped at MAX_PIXEL_RATIO) and every change reaches the shell as a size
// event. A fixed canvas keeps the size the window was created with, takes no key or size
// events, and keeps its last frame readable after it is shown (for single frames).
void UseFixedCanvas(bool fixed);

}  // namespace kelvorin
