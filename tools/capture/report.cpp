#include "capture/report.h"

#include <cstdio>
#include <vector>

#include "capture/flash.h"
#include "capture/progress.h"
#include "platform/platform.h"
#include "scenes/reduced_flashing.h"
#include "shell/offline_run.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

const char *const MEASURE_NAMES[FLASH_MEASURES] = {"general", "red", "own check"};

double Flashes(int transitions) { return transitions / 2.0; }

void PrintSecond(const FlashSecond &s) {
    // Where the WCAG measure found its worst: the general flashes, unless red ones are more.
    FlashMeasure wcag =
        s.transitions[RED_FLASH] > s.transitions[GENERAL_FLASH] ? RED_FLASH : GENERAL_FLASH;
    auto where = [&s](FlashMeasure m) { return s.where[m].empty() ? "-" : s.where[m].c_str(); };
    std::printf("%8ld %8.1f %4.1f  %-12s %4.1f  %s\n", s.second,
                Flashes(s.transitions[GENERAL_FLASH]), Flashes(s.transitions[RED_FLASH]),
                where(wcag), Flashes(s.transitions[OWN_CHECK]), where(OWN_CHECK));
}

void PrintReport(const CaptureOptions &o, const std::vector<FlashSecond> &seconds) {
    std::printf("# KELVORIN flash report: %dx%d, %ld fps, %ld to %ld ms, %s\n", o.width, o.height,
                o.fps, o.from, o.to, o.reducedFlashing ? "reduced flashing" : "default pictures");
    std::printf(
        "# the most flashes in any one second that ends within each second; more than %d fail.\n"
        "# WCAG 2.3.1 over a quarter of a 10-degree field: general and red flashes; our own\n"
        "# check over a third of the frame. %s\n",
        MOST_TRANSITIONS / 2, o.trace ? "Every second:" : "Only the seconds that fail:");
    std::printf("#  second  general  red  where         own  where\n");
    int failing = 0, byMeasure[FLASH_MEASURES] = {0, 0, 0};
    const FlashSecond *worst = nullptr;
    FlashMeasure worstMeasure = GENERAL_FLASH;
    for (const FlashSecond &s : seconds) {
        for (int m = 0; m < FLASH_MEASURES; m++) {
            byMeasure[m] += s.transitions[m] > MOST_TRANSITIONS;
            if (!worst || s.transitions[m] > worst->transitions[worstMeasure])
                worst = &s, worstMeasure = FlashMeasure(m);
        }
        failing += s.Fails();
        if (o.trace || s.Fails()) PrintSecond(s);
    }
    std::printf(
        "summary: %d of %zu seconds exceed %d flashes (WCAG 2.3.1: %d general, %d red; "
        "own check: %d)",
        failing, seconds.size(), MOST_TRANSITIONS / 2, byMeasure[GENERAL_FLASH],
        byMeasure[RED_FLASH], byMeasure[OWN_CHECK]);
    if (worst && worst->transitions[worstMeasure] > 0)
        std::printf("; the most: %.1f a second at %ld s, %s (%s)",
                    Flashes(worst->transitions[worstMeasure]), worst->second,
                    worst->where[worstMeasure].c_str(), MEASURE_NAMES[worstMeasure]);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int FlashReport(const CaptureOptions &o) {
    reducedFlashing = o.reducedFlashing;
    if (!OpenOfflineWindow(offscreenPlatform, o.width, o.height)) return 1;

    uint64_t first = FirstFrameAt((uint64_t)o.from, o.fps),
             end = FirstFrameAt((uint64_t)o.to + 1, o.fps);
    OfflineRun run(o.width, o.height, o.fps);
    run.Need(first, end - 1);
    run.SkimTo(first);
    FlashAnalysis analysis(o.width, o.height);
    std::vector<unsigned char> pixels((size_t)o.width * o.height * 3);
    StartProgress(end - first);
    while (run.Next() < end) {
        uint32_t clock = run.DrawNext();
        run.ReadBack(PIXELS_RGB, pixels.data());
        analysis.AddFrame(pixels.data(), clock);
        ShowProgress(run.Next() - first, clock);
    }
    double seconds = StopProgress();
    CloseDemoWindow();
    PrintReport(o, analysis.Seconds());
    std::fprintf(stderr, "kelvorin-capture: flash report: %llu frames measured in %.1f s\n",
                 (unsigned long long)(end - first), seconds);
    return 0;
}

}  // namespace kelvorin
