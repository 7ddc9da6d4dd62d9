// The offline renderer: plays the demo on the offscreen backend with a synthetic clock and
// writes chosen frames as PNG files, the whole demo as a video (video.cpp), or a report of its
// flashes (report.cpp).
// Frame k has clock floor(k * 1000 / fps) ms; frames.h says how supersampled and motion-blurred
// frames are made.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "capture/average.h"
#include "capture/frames.h"
#include "capture/options.h"
#include "capture/report.h"
#include "capture/timeline.h"
#include "capture/video.h"
#include "png/writer.h"
#include "scenes/dispatcher.h"
#include "scenes/reduced_flashing.h"
#include "shell/loop.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace {

// 8-bit RGB rows, bottom row first as GL reads them; the file's top row first.
bool WritePNG(const std::string &path, int width, int height, const unsigned char *pixels) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = kelvorin::WritePng(file, width, height, 3, pixels, kelvorin::ROWS_BOTTOM_FIRST);
    return std::fclose(file) == 0 && written;
}

std::string FrameName(const std::string &dir, long ms) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06ld.png", ms);
    return dir + "/" + name;
}

// Installed, the program sits in games/ and the demo's Data/ in share/kelvorin/ (the path below
// is relative to games/). It then plays from there, while a relative --out or --video still
// names a place under the directory it was started in. A build has nothing there, so it reads
// Data/ from the current directory, as the demo does.
bool UseInstalledData(std::initializer_list<std::string *> paths) {
    namespace fs = std::filesystem;
    std::error_code err;
    fs::path exe = fs::read_symlink("/proc/self/exe", err);
    if (err) return true;
    fs::path home = exe.parent_path() / KELVORIN_DATA_FROM_BIN;
    if (!fs::is_directory(home / "Data", err)) return true;
    for (std::string *path : paths) {
        if (path->empty()) continue;
        fs::path absolute = fs::absolute(*path, err);
        if (err) {
            std::fprintf(stderr, "kelvorin-capture: cannot resolve %s: %s\n", path->c_str(),
                         err.message().c_str());
            return false;
        }
        *path = absolute.string();
    }
    if (chdir(home.c_str()) != 0) {
        std::fprintf(stderr, "kelvorin-capture: cannot enter %s: %s\n", home.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace kelvorin;
    CaptureOptions o;
    if (!ParseCaptureOptions(argc, argv, &o)) {
        std::fputs(CAPTURE_USAGE, stderr);
        return 2;
    }
    if (!UseInstalledData({&o.out, &o.video})) return 1;
    if (!o.video.empty()) return CaptureVideo(o);
    if (o.flashReport) return FlashReport(o);
    if (o.timeline) return PrintTimeline(o.json);
    std::string error;
    FrameMaking m(o);
    if (!CheckDrawingLimits(m, o.reducedFlashing, &error)) {
        std::fprintf(stderr, "kelvorin-capture: %s\n", error.c_str());
        return 2;
    }
    if (mkdir(o.out.c_str(), 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "kelvorin-capture: cannot create %s: %s\n", o.out.c_str(),
                     std::strerror(errno));
        return 1;
    }
    reducedFlashing = o.reducedFlashing;
    if (!OpenFrameWindow(m)) return 1;
    loopDemo = o.loop;
    KeepDemoStart();

    // Plain frames keep their whole afterglow, as they always did; the others, which cost
    // scale x scale times as much to draw and subframes as many, take the lead-in.
    OfflineRun run = m.Run(m.Plain());
    for (long t : o.at) {
        uint64_t f = FirstFrameAt((uint64_t)t, o.fps) * m.subframes;
        run.Need(f, f + m.subframes - 1);
    }
    if (o.from >= 0)
        run.Need(FirstFrameAt((uint64_t)o.from, o.fps) * m.subframes,
                 FirstFrameAt((uint64_t)o.to + 1, o.fps) * m.subframes - 1);
    std::unique_ptr<LinearAverage> average;
    if (!m.Plain()) average = std::make_unique<LinearAverage>(o.width, o.height, m.scale, 3);
    std::vector<unsigned char> pixels((size_t)o.width * o.height * 3);
    std::vector<unsigned char> drawn(m.Plain() ? 0 : (size_t)m.DrawnWidth() * m.DrawnHeight() * 3);

    std::vector<bool> written(o.at.size(), false);
    int status = 0;
    for (uint64_t k = 0;; k++) {
        // Frames that nobody reads back are skimmed at once, without the loop's bookkeeping:
        // the run passes them as fast as the scene lets it (a day in takes seconds).
        if (!o.trace) {
            uint64_t ahead = FirstFrameAt((uint64_t)o.until, o.fps);
            for (size_t i = 0; i < o.at.size(); i++)
                if (!written[i]) ahead = std::min(ahead, FirstFrameAt((uint64_t)o.at[i], o.fps));
            if (o.from >= 0 && FrameMs(k, o.fps) <= (uint64_t)o.to)
                ahead = std::min(ahead, std::max(k, FirstFrameAt(o.from, o.fps)));
            k = std::max(k, ahead);
            run.SkimTo(k * m.subframes);
        }
        uint64_t ms = FrameMs(k, o.fps);
        std::vector<std::string> names;
        for (size_t i = 0; i < o.at.size(); i++)
            if (!written[i] && ms >= (uint64_t)o.at[i]) {
                written[i] = true;
                names.push_back(FrameName(o.out, o.at[i]));
            }
        if (o.from >= 0 && ms >= (uint64_t)o.from && ms <= (uint64_t)o.to)
            names.push_back(FrameName(o.out, long(ms)));

        for (int j = 0; j < m.subframes; j++) {
            int32_t scene = numscene;
            run.DrawNext();
            if (o.trace)
                std::printf("%" PRIu32 " %.0f %" PRId32 "\n", kelvorin::time, tempo, scene);
            if (names.empty()) continue;
            run.ReadBack(PIXELS_RGB, average ? drawn.data() : pixels.data());
            if (average) average->Add(drawn.data());
        }
        if (!names.empty() && average) average->Finish(pixels.data());

        for (const std::string &name : names)
            if (!WritePNG(name, o.width, o.height, pixels.data())) {
                std::fprintf(stderr, "kelvorin-capture: cannot write %s\n", name.c_str());
                status = 1;
            }
        if (status || ms >= (uint64_t)o.until) break;
    }
    std::fflush(stdout);
    CloseDemoWindow();
    return status;
}
