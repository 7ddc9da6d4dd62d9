// kelvorin-capture --timeline: runs the demo's timeline on the synthetic clock and prints what
// the viewer's player and the scripts need of it: the demo's length, every scene's name, the
// chapters of the seek bar, and each picture's first use (the browser edition makes them in
// that order). With --json, the same as one JSON object (the browser edition's timeline.json).
#pragma once

namespace kelvorin {

// Returns the exit code: 0, or 1 when the demo cannot start.
int PrintTimeline(bool json);

}  // namespace kelvorin
