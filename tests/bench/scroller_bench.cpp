// How long the greetings board takes to find its dots for one frame (70 columns x 5 rows):
// straight from the scroll position, and by testing all 101 characters for every dot.
// Usage: scroller_bench [FRAMES]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../scroller_reference.h"

namespace {

template <typename Lookup>
double NanosecondsPerFrame(Lookup lookup, int frames, long *sink) {
    auto start = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; f++) {
        float scroll = 70.0f - f * (16.0f / 85);  // the text's pace at 60 frames a second
        for (float i = -10; i < 60; i++)
            for (int j = 0; j < 5; j++) *sink += lookup(i, j, scroll);
    }
    std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / frames;
}

}  // namespace

int main(int argc, char **argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 4000;  // 4000 frames: the text's whole pass
    if (frames <= 0) frames = 4000;
    long direct = 0, scan = 0;
    double directNs = NanosecondsPerFrame(kelvorin::ScrollerDots, frames, &direct);
    double scanNs = NanosecondsPerFrame(reference::ScrollerDotsByScan, frames, &scan);
    if (direct != scan) {
        std::fprintf(stderr, "scroller_bench: the two lookups disagree (%ld vs %ld dots)\n", direct,
                     scan);
        return 1;
    }
    std::printf(
        "scroller dots per frame: direct %.1f us, scan of every character %.1f us, ratio %.1f\n",
        directNs / 1000, scanNs / 1000, scanNs / directNs);
    return 0;
}
