#include "capture/options.h"

#include "capture/ffmpeg.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kelvorin {

const char *const CAPTURE_USAGE =
    "usage: kelvorin-capture [--size WxH] [--fps N] [--at MS]... [--from MS --to MS]\n"
    "                        [--until MS] [--out DIR] [--trace] [--reduced-flashing]\n"
    "                        [--supersample N] [--motion-blur N] [--loop]\n"
    "       kelvorin-capture --video FILE [--preset upload | --lossless] [--size WxH] [--fps N]\n"
    "                        [--from MS] [--until MS] [--supersample N] [--motion-blur N]\n"
    "                        [--reduced-flashing]\n"
    "       kelvorin-capture --flash-report [--size WxH] [--fps N] [--from MS] [--to MS]\n"
    "                        [--trace] [--reduced-flashing]\n"
    "       kelvorin-capture --timeline [--json]\n"
    "  --size WxH   frame size (default 800x600, 1024x768 for --video and --flash-report,\n"
    "               2880x2160 for --preset upload)\n"
    "  --fps N      frames per second of the synthetic clock (default 60)\n"
    "  --at MS      write the first frame whose clock is at least MS as frame-MS.png; MS up\n"
    "               to 50 days (4320000000): past 2^32 ms the demo's clock wraps, as the\n"
    "               running demo's does, and the frame is the one it shows then\n"
    "  --from MS --to MS  write every frame whose clock lies in [from, to] as frame-CLOCK.png\n"
    "  --until MS   stop after the first frame whose clock is at least MS\n"
    "               (default: the largest time asked for)\n"
    "  --out DIR    where the PNG files go (default .)\n"
    "  --loop       start the demo again at its length, as kelvorin --loop does: each pass\n"
    "               draws the frames of the first\n"
    "  --trace      print CLOCK TEMPO SCENE for every frame drawn; with --flash-report, a line\n"
    "               for every second, not only for those that flash too often\n"
    "  --video FILE encode the demo with its music through ffmpeg, in BT.709 colours; the name's\n"
    "               extension picks the container (.mp4, .mkv: H.264 and AAC; .webm: VP9 and\n"
    "               Opus). The video starts at --from (default 0) and ends at --until (default:\n"
    "               the music's end)\n"
    "  --preset upload  what video sites ask for: H.264 High, a closed GOP of half a second,\n"
    "               AAC-LC at 48 kHz and 384 kbit/s, in an .mp4 or .mov file\n"
    "  --lossless   an archive in an .mkv file: FFV1 in RGB, whose frames decode to the PNG\n"
    "               frames byte for byte, and the music as FLAC\n"
    "  --supersample N  draw each frame at N times the size (1 to 8) and filter it down, in\n"
    "               linear light: smooth edges\n"
    "  --motion-blur N  each frame the mean of N frames (1 to 16) on a clock N times faster,\n"
    "               in linear light: the motion of the time the frame lasts\n"
    "  --flash-report  measure the flashes of the frames from --from (default 0) to --to\n"
    "               (default: the music's end) and print every second with more than three\n"
    "  --reduced-flashing  the demo as its reduced-flashing mode draws it\n"
    "  --timeline   print the demo's length, its scenes, the chapters of the seek bar (each\n"
    "               scene's first frame on the 60 fps clock) and each picture's first use, the\n"
    "               first frame of a scene that binds it (- for none); --json prints them as JSON\n"
    "Run it in the directory that holds Data/; installed, it reads the installed Data/.\n";

namespace {

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
    if (!ParseNumber(w.c_str(), 16384, &wv) || !ParseNumber(x + 1, 16384, &hv) || wv == 0 ||
        hv == 0)
        return false;
    *width = (int)wv;
    *height = (int)hv;
    return true;
}

bool Refuse(const std::string &message) {
    std::fprintf(stderr, "kelvorin-capture: %s\n", message.c_str());
    return false;
}

// Supersampling and motion blur, for PNG frames and videos alike. The sub-frames of motion
// blur lie on the demo's millisecond clock, so they must be at least a millisecond apart.
bool CheckMastering(const CaptureOptions &o) {
    if (o.supersample < 1 || o.supersample > MOST_SUPERSAMPLE)
        return Refuse("--supersample takes 1 to " + std::to_string(MOST_SUPERSAMPLE));
    if (o.motionBlur < 1 || o.motionBlur > MOST_SUBFRAMES)
        return Refuse("--motion-blur takes 1 to " + std::to_string(MOST_SUBFRAMES) + " frames");
    if (o.fps * o.motionBlur > SUBFRAMES_A_SECOND)
        return Refuse("--motion-blur " + std::to_string(o.motionBlur) + " at " +
                      std::to_string(o.fps) +
                      " fps asks for frames closer than the demo's clock of 1 ms; at most " +
                      std::to_string(SUBFRAMES_A_SECOND) + " frames a second in all");
    return true;
}

// A video runs from --from to --until; the PNG options have no meaning there. The preset and
// the archive each need a container that holds their codecs.
bool CheckVideoOptions(CaptureOptions *o, bool sizeGiven) {
    if (!o->at.empty() || o->to >= 0 || o->trace || o->out != "." || o->loop)
        return Refuse("--video goes with --size, --fps, --from and --until only");
    std::string ext = Extension(o->video);
    if (o->upload && o->lossless)
        return Refuse("--preset upload and --lossless exclude each other");
    if (o->upload && ext != ".mp4" && ext != ".mov")
        return Refuse(
            "--preset upload writes H.264 and AAC with the index first: name an .mp4 or .mov file");
    if (o->lossless && ext != ".mkv")
        return Refuse(
            "--lossless writes FFV1 and FLAC, which only Matroska holds: name an .mkv file");
    // H.264 in yuv420p halves the colour planes: both sides must be even.
    if (o->from > WRAP_MS || o->until > WRAP_MS)
        return Refuse("a video ends before the demo's clock wraps, at 4294967295 ms");
    if (!sizeGiven) o->width = o->upload ? 2880 : 1024, o->height = o->upload ? 2160 : 768;
    if (o->width % 2 || o->height % 2) return Refuse("a video's width and height must be even");
    if (o->from < 0) o->from = 0;
    if (o->until >= 0 && o->until <= o->from) return Refuse("--until must lie after --from");
    return true;
}

// A report covers --from to --to, whole frames, and writes no files.
bool CheckReportOptions(CaptureOptions *o, bool sizeGiven) {
    if (!o->video.empty() || !o->at.empty() || o->until >= 0 || o->out != "." || o->upload ||
        o->lossless || o->supersample != 1 || o->motionBlur != 1 || o->loop)
        return Refuse(
            "--flash-report goes with --size, --fps, --from, --to, --trace and "
            "--reduced-flashing only");
    if (!sizeGiven) o->width = 1024, o->height = 768;
    if (o->from < 0) o->from = 0;
    if (o->to < 0) o->to = DEMO_LENGTH_MS;
    if (o->from > o->to) return Refuse("--from must not lie after --to");
    if (o->to > WRAP_MS)
        return Refuse("a report ends before the demo's clock wraps, at 4294967295 ms");
    return true;
}

}  // namespace

bool ParseCaptureOptions(int argc, char **argv, CaptureOptions *o) {
    const long MAX_MS = LATEST_FRAME_MS;
    bool sizeGiven = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        const char *next = i + 1 < argc ? argv[i + 1] : nullptr;
        long value;
        bool ok = true;
        bool *flag = arg == "--trace"              ? &o->trace
                     : arg == "--flash-report"     ? &o->flashReport
                     : arg == "--reduced-flashing" ? &o->reducedFlashing
                     : arg == "--timeline"         ? &o->timeline
                     : arg == "--json"             ? &o->json
                     : arg == "--lossless"         ? &o->lossless
                     : arg == "--loop"             ? &o->loop
                                                   : nullptr;
        if (flag) {
            *flag = true;
            continue;
        }
        if (arg == "--size") ok = ParseSize(next, &o->width, &o->height), sizeGiven = true;
        else if (arg == "--fps") ok = ParseNumber(next, 100000, &o->fps) && o->fps > 0;
        else if (arg == "--at") ok = ParseNumber(next, MAX_MS, &value), o->at.push_back(value);
        else if (arg == "--from") ok = ParseNumber(next, MAX_MS, &o->from);
        else if (arg == "--to") ok = ParseNumber(next, MAX_MS, &o->to);
        else if (arg == "--until") ok = ParseNumber(next, MAX_MS, &o->until);
        else if (arg == "--out") ok = next && *next, o->out = next ? next : "";
        else if (arg == "--video") ok = next && *next, o->video = next ? next : "";
        else if (arg == "--supersample")
            ok = ParseNumber(next, 1000, &value), o->supersample = int(value);
        else if (arg == "--motion-blur")
            ok = ParseNumber(next, 1000, &value), o->motionBlur = int(value);
        else if (arg == "--preset") {
            if (next && std::strcmp(next, "upload") != 0)
                return Refuse(std::string("unknown preset ") + next + " (there is one: upload)");
            ok = next, o->upload = true;
        } else {
            std::fprintf(stderr, "kelvorin-capture: unknown option %s\n", arg.c_str());
            return false;
        }
        if (!ok) {
            std::fprintf(stderr, "kelvorin-capture: bad or missing value for %s\n", arg.c_str());
            return false;
        }
        i++;
    }
    if (o->json != (o->timeline && argc == 3) || (o->timeline && argc > 3))
        return Refuse("--timeline goes with --json only, and --json with --timeline");
    if (o->timeline) return true;
    if (o->flashReport) return CheckReportOptions(o, sizeGiven);
    if (!CheckMastering(*o)) return false;
    if (!o->video.empty()) return CheckVideoOptions(o, sizeGiven);
    if (o->upload || o->lossless) return Refuse("--preset and --lossless go with --video");
    if ((o->from < 0) != (o->to < 0) || o->from > o->to)
        return Refuse("--from and --to go together, from <= to");
    if (o->until < 0) {
        for (long t : o->at) o->until = std::max(o->until, t);
        o->until = std::max(o->until, o->to);
    }
    if (o->until < 0) return Refuse("nothing to render: give --at, --from/--to or --until");
    return true;
}

}  // namespace kelvorin
