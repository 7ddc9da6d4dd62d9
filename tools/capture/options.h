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
    bool loop = false;  // --loop: the demo starts again at its length, as kelvorin --loop does
    std::string video;  // the video file; empty when writing PNG frames
    bool flashReport = false;
    bool reducedFlashing = false;
    bool timeline = false;  // print the timeline instead (--timeline), as JSON with --json
    bool json = false;
    // Each frame drawn at supersample times the size and filtered down, and the mean of
    // motionBlur frames on a clock that many times faster (average.h).
    int supersample = 1, motionBlur = 1;
    bool upload = false;    // --preset upload: what video sites ask for (ffmpeg.h)
    bool lossless = false;  // --lossless: an archive whose frames decode to the PNG frames
};

// The latest moment --at, --from and --to reach: 50 days. The demo's clock is 32 bits of ms
// and wraps past WRAP_MS (49.7 days); a frame past it shows the clock modulo 2^32, as the
// running demo does. A video and a flash report end before it.
constexpr long LATEST_FRAME_MS = 50L * 24 * 3600 * 1000, WRAP_MS = 0xFFFFFFFFL;

// The most frames --motion-blur averages, and the finest step of the clock it may take them at.
constexpr long MOST_SUBFRAMES = 16, SUBFRAMES_A_SECOND = 1000;
constexpr long MOST_SUPERSAMPLE = 8;

// Fills the options from the command line. False after a one-line message on standard error.
bool ParseCaptureOptions(int argc, char **argv, CaptureOptions *o);

}  // namespace kelvorin
