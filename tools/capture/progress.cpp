#include "capture/progress.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace kelvorin {

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point started, lastShown;
uint64_t total = 0;
bool onTerminal = false;
std::string output;

double Since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// "  12.3 MB": the output's size so far, or nothing while there is none.
std::string OutputSize() {
    struct stat info;
    if (output.empty() || stat(output.c_str(), &info) != 0) return "";
    char text[32];
    std::snprintf(text, sizeof text, "  %.1f MB", info.st_size / 1e6);
    return text;
}

}  // namespace

void StartProgress(uint64_t totalFrames, const std::string &file) {
    total = totalFrames;
    output = file;
    onTerminal = isatty(STDERR_FILENO);
    started = lastShown = Clock::now();
}

void ShowProgress(uint64_t done, uint32_t clock) {
    if (!onTerminal || (Since(lastShown) < 0.25 && done < total)) return;
    lastShown = Clock::now();
    double elapsed = Since(started), rate = elapsed > 0 ? done / elapsed : 0;
    long eta = rate > 0 ? (long)((total - done) / rate + 0.5) : 0;
    std::fprintf(stderr, "\rframe %llu/%llu  demo %.2f s  %.1f fps  ETA %ld:%02ld%s \033[K",
                 (unsigned long long)done, (unsigned long long)total, clock / 1000.0, rate,
                 eta / 60, eta % 60, OutputSize().c_str());
    std::fflush(stderr);
}

double StopProgress() {
    if (onTerminal) std::fputc('\n', stderr);
    return Since(started);
}

void EndProgress(const std::string &file, uint64_t done, long fps) {
    double elapsed = StopProgress(), length = (double)done / fps;
    std::fprintf(stderr,
                 "kelvorin-capture: %s: %llu frames, %.2f s of video in %.1f s (%.1f fps, %.2fx "
                 "real time)\n",
                 file.c_str(), (unsigned long long)done, length, elapsed,
                 elapsed > 0 ? done / elapsed : 0, elapsed > 0 ? length / elapsed : 0);
}

}  // namespace kelvorin
