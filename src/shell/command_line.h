// The demo's command line: --reduced-flashing; --fullscreen or --window, which answer the start
// question ahead; --loop, which plays the demo over and over.
#pragma once

namespace kelvorin {

extern const char *const DEMO_USAGE;  // one line, for standard error

// Sets reducedFlashing, fullscreenMode with askStartQuestion, and loopDemo from the arguments
// after the program's name. False for anything else (and for --fullscreen with --window), which
// the program refuses with DEMO_USAGE and exit status 2.
bool ReadDemoArguments(int argc, char *const *argv);

}  // namespace kelvorin
