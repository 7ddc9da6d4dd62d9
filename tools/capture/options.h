// The offline renderer's command line.
#pragma once
#include <string>
#include <vector>

#include "timeline/length.h"

namespace kelvorin {

extern const char *const CAPTURE_USAGE;
struct CaptureOptions {
    int width = 800, height = 600;  // 1024x768 for a video unless --size says otherwise
    long fps = 60;
    std::vector<long> at;
    long from = -1, to = -1;
    long until = -1;
    std::string out = ".";
    bool trace = false;
    std::string video;  // the video file; empty when writing PNG frames
    bool flashReport = false;
    bool reducedFlashing = false;
    bool timeline = false;  // print the timeline instead (--timeline), as JSON with --json
    bool json = false;
};

// Fills the options from the command line. False after a one-line message on standard error.
bool ParseCaptureOptions(int argc, char **argv, CaptureOptions *o);

}  // namespace kelvorin
