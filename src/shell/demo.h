// The demo's shared clock and shell flags. Every scene animates from time and tempo.
#pragma once
#include <cstdint>

namespace kelvorin {

extern uint32_t time;          // demo clock, ms; read once per pass of the frame loop
extern uint32_t previousTime;  // the clock of the previous pass
extern double tempo;           // ms since the previous pass (unsigned difference)

extern bool fullscreenMode;          // starts true; the start question may clear it, F1 inverts it
extern bool windowActive;            // false while the window is minimised
extern unsigned char keyState[256];  // by Windows virtual-key code, 1 while down

enum { VK_ESCAPE = 27, VK_F1 = 112 };

// The whole program: start question, window, sound, frame loop, shutdown. Returns the exit code.
int RunDemo();

// RunDemo's parts after the start question, for a host that runs the passes itself (the browser
// runs one per animation frame). StartDemo opens the window at 800x600 in fullscreenMode, reads
// the sound list and starts the music; false when the window could not be opened (the reason
// was shown). DemoPass is one pass of the frame loop: clock, at most one event, the scene, the
// present and the F1 switch; false once the loop has ended (a quit, Escape, or a failed F1
// re-creation). EndDemo shuts down after the last pass and returns the exit code.
bool StartDemo();
bool DemoPass();
int EndDemo();

}  // namespace kelvorin
