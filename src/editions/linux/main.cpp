// The demo. Its inputs are the start question, Escape, F1, Data/ and the options of
// shell/command_line.h: --reduced-flashing, --fullscreen or --window, --loop.
#include <cstdio>

#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/frame_loop.h"

int main(int argc, char **argv) {
    if (!kelvorin::ReadDemoArguments(argc, argv)) {
        std::fprintf(stderr, "%s\n", kelvorin::DEMO_USAGE);
        return 2;
    }
    kelvorin::platform = &kelvorin::windowPlatform;
    return kelvorin::RunDemo();
}
