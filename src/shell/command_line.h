// The demo's command line: none, or --reduced-flashing.
#pragma once

namespace kelvorin {

extern const char *const DEMO_USAGE;  // one line, for standard error

// Sets reducedFlashing from the arguments after the program's name. False for anything else,
// which the program refuses with DEMO_USAGE and exit status 2.
bool ReadDemoArguments(int argc, char *const *argv);

}  // namespace kelvorin
