#include "shell/platform.h"

#include <cstdio>
#include <string>

namespace kelvorin {

const Platform *platform = nullptr;

int ShowMessageBox(const char *text, const char *caption, unsigned style) {
    // One line per box, so that a viewer at a terminal (or on a machine without a display)
    // sees why the demo stopped.
    std::string line = text;
    for (char &c : line)
        if (c == '\n' || c == '\r') c = ' ';
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(stderr, "%s: %s\n", caption, line.c_str());
    std::fflush(stderr);
    if (!platform || !platform->messageBox) return IDFAILED;
    return platform->messageBox(text, caption, style);
}

uint32_t ReadDemoClock() {
    static bool started = false;
    static uint32_t origin = 0;
    uint32_t now = platform && platform->ticks ? platform->ticks() : 0;
    if (!started) {
        started = true;
        origin = now;
    }
    return now - origin;
}

}  // namespace kelvorin
