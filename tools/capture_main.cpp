// The offline renderer: plays the demo on the offscreen backend with a synthetic clock and
// writes chosen frames as PNG files. Frame k has clock floor(k * 1000 / fps) ms.
#include <GL/gl.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shell/demo.h"
#include "shell/platform.h"
#include "shell/window.h"
#include "timeline/dispatcher.h"

namespace {

const char *const USAGE =
    "usage: kelvorin-capture [--size WxH] [--fps N] [--at MS]... [--from MS --to MS]\n"
    "                        [--until MS] [--out DIR] [--trace]\n"
    "  --size WxH   frame size (default 800x600)\n"
    "  --fps N      frames per second of the synthetic clock (default 60)\n"
    "  --at MS      write the first frame whose clock is at least MS as frame-MS.png\n"
    "  --from MS --to MS  write every frame whose clock lies in [from, to] as frame-CLOCK.png\n"
    "  --until MS   stop after the first frame whose clock is at least MS\n"
    "               (default: the largest time asked for)\n"
    "  --out DIR    where the PNG files go (default .)\n"
    "  --trace      print CLOCK TEMPO SCENE for every frame\n"
    "Run it in the directory that holds Data/.\n";

struct Options {
    int width = 800, height = 600;
    long fps = 60;
    std::vector<long> at;
    long from = -1, to = -1;
    long until = -1;
    std::string out = ".";
    bool trace = false;
};

bool ParseNumber(const char *text, long max, long *value) {
    if (!text || !*text) return false;
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (errno || *end || v < 0 || v > max) return false;
    *value = v;
    return true;
}

bool ParseSize(const char *text, int *width, int *height) {
    if (!text) return false;
    const char *x = std::strchr(text, 'x');
    if (!x) return false;
    std::string w(text, x - text);
    long wv, hv;
    if (!ParseNumber(w.c_str(), 16384, &wv) || !ParseNumber(x + 1, 16384, &hv) || wv == 0 || hv == 0)
        return false;
    *width = (int)wv;
    *height = (int)hv;
    return true;
}

// Returns false with a message for a bad command line.
bool ParseOptions(int argc, char **argv, Options *o) {
    const long MAX_MS = 0xFFFFFFFFL;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char *next = i + 1 < argc ? argv[i + 1] : nullptr;
        long value;
        bool ok = true;
        if (arg == "--trace") {
            o->trace = true;
            continue;
        }
        if (arg == "--size") ok = ParseSize(next, &o->width, &o->height);
        else if (arg == "--fps") ok = ParseNumber(next, 100000, &o->fps) && o->fps > 0;
        else if (arg == "--at") ok = ParseNumber(next, MAX_MS, &value), o->at.push_back(value);
        else if (arg == "--from") ok = ParseNumber(next, MAX_MS, &o->from);
        else if (arg == "--to") ok = ParseNumber(next, MAX_MS, &o->to);
        else if (arg == "--until") ok = ParseNumber(next, MAX_MS, &o->until);
        else if (arg == "--out") ok = next && *next, o->out = next ? next : "";
        else {
            std::fprintf(stderr, "kelvorin-capture: unknown option %s\n", arg.c_str());
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "kelvorin-capture: bad or missing value for %s\n", arg.c_str());
            return false;
        }
        i++;
    }
    if ((o->from < 0) != (o->to < 0) || o->from > o->to) {
        std::fprintf(stderr, "kelvorin-capture: --from and --to go together, from <= to\n");
        return false;
    }
    if (o->until < 0) {
        for (long t : o->at) o->until = std::max(o->until, t);
        o->until = std::max(o->until, o->to);
    }
    if (o->until < 0) {
        std::fprintf(stderr, "kelvorin-capture: nothing to render: give --at, --from/--to or --until\n");
        return false;
    }
    return true;
}

// 8-bit RGB, top row first: GL's rows start at the bottom.
bool WritePNG(const std::string &path, int width, int height) {
    std::vector<unsigned char> pixels((size_t)width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = height - 1; row >= 0; row--)
        png_write_row(png, pixels.data() + (size_t)row * width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

std::string FrameName(const std::string &dir, long ms) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06ld.png", ms);
    return dir + "/" + name;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace kelvorin;
    Options o;
    if (!ParseOptions(argc, argv, &o)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    if (mkdir(o.out.c_str(), 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "kelvorin-capture: cannot create %s: %s\n", o.out.c_str(), std::strerror(errno));
        return 1;
    }
    platform = &offscreenPlatform;
    if (!OpenDemoWindow("KELVORIN", o.width, o.height, 16, false)) return 1;

    std::vector<bool> written(o.at.size(), false);
    int status = 0;
    for (uint64_t k = 0;; k++) {
        uint32_t clock = (uint32_t)(k * 1000 / (uint64_t)o.fps);
        previousTime = kelvorin::time;
        kelvorin::time = clock;
        tempo = (double)(uint32_t)(kelvorin::time - previousTime);
        int32_t scene = numscene;
        DrawFrame();
        platform->swapBuffers();
        if (o.trace) std::printf("%" PRIu32 " %.0f %" PRId32 "\n", kelvorin::time, tempo, scene);

        std::vector<std::string> names;
        for (size_t i = 0; i < o.at.size(); i++)
            if (!written[i] && clock >= (uint64_t)o.at[i]) {
                written[i] = true;
                names.push_back(FrameName(o.out, o.at[i]));
            }
        if (o.from >= 0 && clock >= (uint64_t)o.from && clock <= (uint64_t)o.to)
            names.push_back(FrameName(o.out, clock));
        for (const std::string &name : names)
            if (!WritePNG(name, o.width, o.height)) {
                std::fprintf(stderr, "kelvorin-capture: cannot write %s\n", name.c_str());
                status = 1;
            }
        if (status || clock >= (uint64_t)o.until) break;
    }
    std::fflush(stdout);
    CloseDemoWindow();
    return status;
}
