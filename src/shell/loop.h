// The installation loop (--loop): when the demo's clock reaches the demo's length, the demo
// starts again from its first frame, exactly as at its first start: the clock at 0, the scene
// id, every scene value, the random generator and its pools, and what a frame leaves in the GL
// context as they were before the first frame; the afterglow of reduced flashing forgotten; the
// music from its beginning. Each pass of the demo then draws the frames of the first.
#pragma once
#include <cstdint>

namespace kelvorin {

extern bool loopDemo;  // set from the command line or the page before the demo starts

// Keeps the demo's state now as its start: call it once the first window is open, before the
// first frame (StartDemo does).
void KeepDemoStart();
// Puts the demo back to its start, restarts the afterglow and plays the music from its
// beginning.
void RestartDemo();
// The clock for the next frame: under loopDemo, counted from the start of the current pass of
// the demo, and restarting the demo when it reaches DEMO_LENGTH_MS; otherwise the clock given.
// On a synthetic clock the next pass begins exactly at the length, so that frame k + 191 x fps
// draws frame k; clocks wrap past 2^32 ms as they do.
uint32_t LoopClock(uint32_t clock);
// LoopClock on the wall clock (ReadDemoClock), for the frame loop: a pass that starts again
// counts from a reading taken once its music plays, as the first pass does.
uint32_t ReadLoopClock();

}  // namespace kelvorin
