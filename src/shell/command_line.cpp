#include "shell/command_line.h"

#include <cstring>

#include "scenes/reduced_flashing.h"

namespace kelvorin {

const char *const DEMO_USAGE = "usage: kelvorin [--reduced-flashing]";

bool ReadDemoArguments(int argc, char *const *argv) {
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--reduced-flashing") != 0) return false;
        reducedFlashing = true;
    }
    return true;
}

}  // namespace kelvorin
