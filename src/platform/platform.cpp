#include "platform/platform.h"

#include <cstdio>
#include <string>

namespace kelvorin {

const Platform *platform = nullptr;

namespace {

// " (reason)" when the backend has one for its last failure, else "".
std::string TakeReason() {
    const char *reason = platform && platform->takeError ? platform->takeError() : "";
    return reason && *reason ? std::string(" (") + reason + ")" : std::string();
}

}  // namespace

int ShowMessageBox(const char *text, const char *caption, unsigned style) {
    // One line per box, so that a viewer at a terminal (or on a machine without a display)
    // sees why the demo stopped, and why the step before failed when the backend knows.
    std::string line = text;
    for (char &c : line)
        if (c == '\n' || c == '\r') c = ' ';
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(stderr, "%s: %s%s\n", caption, line.c_str(), TakeReason().c_str());
    std::fflush(stderr);
    if (!platform || !platform->messageBox) return IDFAILED;
    int answer = platform->messageBox(text, caption, style);
    std::string reason = TakeReason();
    if (answer == IDFAILED && !reason.empty()) {
        std::fprintf(stderr, "%s: box not shown%s\n", caption, reason.c_str());
        std::fflush(stderr);
    }
    return answer;
}

}  // namespace kelvorin
