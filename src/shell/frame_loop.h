// The frame loop: the demo's start-up after the start question, its passes and its shutdown.
#pragma once
#include <cstdint>

namespace kelvorin {

// The whole program: start question, window, sound, frame loop, shutdown. Returns the exit code.
// Without askStartQuestion (the command line answered it ahead), fullscreenMode stands as set.
int RunDemo();
extern bool askStartQuestion;

// RunDemo's parts after the start question, for a host that runs the passes itself (the browser
// runs one per animation frame). StartDemo opens the window at 800x600 in fullscreenMode, reads
// the sound list and starts the music; false when the window could not be opened (the reason
// was shown). DemoPass is one pass of the frame loop: clock, at most one event, the scene, the
// present and the F1 switch; false once the loop has ended (a quit, Escape, or a failed F1
// re-creation); under --loop, it starts the demo again at the demo's length (shell/loop.h).
// EndDemo shuts down after the last pass and returns the exit code.
bool StartDemo();
bool DemoPass();
int EndDemo();
// DemoPass with the clock given rather than read from the wall clock: the browser's demo clock
// follows what the viewer hears, and may be paused or moved by seeking.
bool DemoPassAt(uint32_t clock);

}  // namespace kelvorin
