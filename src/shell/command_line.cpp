#include "shell/command_line.h"

#include <cstring>

#include "scenes/reduced_flashing.h"
#include "shell/frame_loop.h"
#include "shell/loop.h"
#include "shell/window.h"

namespace kelvorin {

const char *const DEMO_USAGE =
    "usage: kelvorin [--reduced-flashing] [--fullscreen | --window] [--loop]";

bool ReadDemoArguments(int argc, char *const *argv) {
    bool fullscreen = false, window = false;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--reduced-flashing") == 0) reducedFlashing = true;
        else if (std::strcmp(argv[i], "--fullscreen") == 0) fullscreen = true;
        else if (std::strcmp(argv[i], "--window") == 0) window = true;
        else if (std::strcmp(argv[i], "--loop") == 0) loopDemo = true;
        else return false;
    }
    if (fullscreen && window) return false;
    if (fullscreen || window) {
        askStartQuestion = false;
        fullscreenMode = fullscreen;
    }
    return true;
}

}  // namespace kelvorin
