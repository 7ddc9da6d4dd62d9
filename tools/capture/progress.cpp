#include "capture/progress.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace kelvorin {

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point started, lastShown;
uint64_t total = 0;
bool onTerminal = false;

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

}  // namespace

void StartProgress(uint64_t totalFrames) {
    total = totalFrames;
    onTerminal = isatty(STDERR_FILENO);
    started = lastShown = Clock::now();
}

void ShowProgress(uint64_t done, uint32_t clock) {
    if (!onTerminal || (Since(lastShown) < 0.25 && done < total)) return;
    lastShown = Clock::now();
    double elapsed = Since(started), rate = elapsed > 0 ? done / elapsed : 0;
    long eta = rate > 0 ? (long)((total - done) / rate + 0.5) : 0;
    std::fprintf(stderr, "\rframe %llu/%llu  demo %.2f s  %.1f fps  ETA %ld:%02ld \033[K",
                 (unsigned long long)done, (unsigned long long)total, clock / 1000.0, rate,
                 eta / 60, eta % 60);
    std::fflush(stderr);
}

double StopProgress() {
    if (onTerminal) std::fputc('\n', stderr);
    return Since(started);
}

void EndProgress(const std::string &file, uint64_t done, long fps) {
    double elapsed = StopProgress(), length = (double)done / fps;
    std::fprintf(stderr, "kelvorin-capture: %s: %llu frames, %.2f s of video in %.1f s (%.1f fps, %.2fx real time)\n",
                 file.c_str(), (unsigned long long)done, length, elapsed,
                 elapsed > 0 ? done / elapsed : 0, elapsed > 0 ? length / elapsed : 0);
}

}  // namespace kelvorin
