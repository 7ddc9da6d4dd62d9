#include "capture/ffmpeg.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char **environ;

namespace kelvorin {

namespace {

std::string Format(const char *format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A hidden name beside the final one that keeps its extension, so that ffmpeg picks the same
// container: out/demo.mp4 -> out/.demo.mp4.1234.part.mp4
std::string PartialName(const std::string &file) {
    size_t slash = file.rfind('/');
    std::string dir = slash == std::string::npos ? "" : file.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    return dir + "." + base + "." + std::to_string(getpid()) + ".part" + Extension(file);
}

// Runs a program found on PATH with the given descriptors as its standard input, output and
// error (-1: /dev/null). Returns its process id, or -1 with errno set.
pid_t Spawn(const std::vector<std::string> &args, int in, int out, int err) {
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int targets[3] = {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO};
    const int sources[3] = {in, out, err};
    for (int i = 0; i < 3; i++) {
        if (sources[i] >= 0) posix_spawn_file_actions_adddup2(&actions, sources[i], targets[i]);
        else
            posix_spawn_file_actions_addopen(&actions, targets[i], "/dev/null",
                                             i ? O_WRONLY : O_RDONLY, 0);
    }
    pid_t pid;
    int failure = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failure) {
        errno = failure;
        return -1;
    }
    return pid;
}

// The exit status of a finished child, or -1 when it was killed by a signal.
int Wait(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The last non-empty line of what a child wrote into this file.
std::string LastLine(int fd) {
    std::string text;
    char chunk[4096];
    ssize_t n;
    lseek(fd, 0, SEEK_SET);
    while ((n = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, (size_t)n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    size_t start = text.find_last_of("\r\n");
    return start == std::string::npos ? text : text.substr(start + 1);
}

// The BT.709 tags of a YUV video, as the encoder writes them into the stream and the muxer
// into the container.
const std::vector<std::string> BT709_TAGS = {"-colorspace", "bt709", "-color_primaries", "bt709",
                                             "-color_trc",  "bt709", "-color_range",     "tv"};

// The codecs for a request: FFV1 and FLAC for an archive, VP9 and Opus for WebM, H.264 and AAC
// elsewhere.
void AddCodecs(const VideoRequest &r, bool sound, std::vector<std::string> *args) {
    std::string ext = Extension(r.file);
    std::vector<std::string> codecs;
    if (r.lossless) {
        // Every frame a key frame with checksummed slices, as archives keep FFV1. The pixels
        // stay the RGB that was drawn, which is sRGB.
        codecs = {"-c:v",         "ffv1", "-level",           "3",     "-g",         "1",
                  "-slices",      "4",    "-slicecrc",        "1",     "-pix_fmt",   "bgr0",
                  "-colorspace",  "rgb",  "-color_primaries", "bt709", "-color_trc", "iec61966-2-1",
                  "-color_range", "pc"};
        if (sound) codecs.insert(codecs.end(), {"-c:a", "flac"});
    } else if (ext == ".webm") {
        codecs = {"-c:v",      "libvpx-vp9", "-crf",      "31", "-b:v",    "0",
                  "-deadline", "good",       "-cpu-used", "5",  "-row-mt", "1"};
        if (sound) codecs.insert(codecs.end(), {"-c:a", "libopus", "-b:a", "160k"});
    } else {
        // veryfast keeps the encoder beside the renderer on two cores; CRF 18 keeps the
        // picture at upload quality.
        codecs = {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18"};
        if (r.upload) {
            std::string gop = std::to_string(r.fps / 2 > 0 ? r.fps / 2 : 1);
            codecs.insert(codecs.end(),
                          {"-profile:v", "high", "-g", gop, "-bf", "2", "-flags", "+cgop"});
        }
        if (sound && r.upload)
            codecs.insert(codecs.end(), {"-c:a", "aac", "-profile:a", "aac_low", "-b:a", "384k",
                                         "-ar", "48000", "-ac", "2"});
        else if (sound) codecs.insert(codecs.end(), {"-c:a", "aac", "-b:a", "192k"});
        if (ext == ".mp4" || ext == ".mov")
            codecs.insert(codecs.end(), {"-movflags", "+faststart"});
    }
    args->insert(args->end(), codecs.begin(), codecs.end());
    if (!r.lossless) {
        args->insert(args->end(), {"-pix_fmt", "yuv420p"});
        args->insert(args->end(), BT709_TAGS.begin(), BT709_TAGS.end());
    }
}

}  // namespace

std::string Extension(const std::string &file) {
    size_t slash = file.rfind('/'), dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = file.substr(dot);
    for (char &c : ext) c = (char)std::tolower((unsigned char)c);
    return ext;
}

bool ProbeLength(const std::string &path, double *seconds, bool *missing, std::string *error) {
    *missing = false;
    int out[2];
    if (pipe(out) != 0) return *error = std::strerror(errno), false;
    pid_t pid = Spawn({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of",
                       "default=noprint_wrappers=1:nokey=1", path},
                      -1, out[1], -1);
    int spawnErrno = errno;
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        *missing = true;
        *error = std::string("cannot run ffprobe: ") + std::strerror(spawnErrno);
        return false;
    }
    std::string text;
    char chunk[256];
    ssize_t n;
    while ((n = read(out[0], chunk, sizeof chunk)) > 0) text.append(chunk, (size_t)n);
    close(out[0]);
    int status = Wait(pid);
    char *end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (status != 0 || end == text.c_str() || !(value > 0)) {
        *error = "ffprobe cannot read the length of " + path;
        return false;
    }
    *seconds = value;
    return true;
}

bool StartEncoder(const VideoRequest &r, Encoder *e, std::string *error) {
    e->partial = PartialName(r.file);
    // ffmpeg's messages go to an unlinked file, so that its last line can be quoted.
    char messagesName[] = "/tmp/kelvorin-ffmpeg-XXXXXX";
    e->messages = mkstemp(messagesName);
    if (e->messages < 0) return *error = std::strerror(errno), false;
    unlink(messagesName);
    int frames[2];
    if (pipe(frames) != 0) return *error = std::strerror(errno), false;
    fcntl(frames[1], F_SETFD, FD_CLOEXEC);
    fcntl(frames[1], F_SETPIPE_SZ, 1 << 20);  // fewer wake-ups per 3 MB frame

    std::vector<std::string> args = {
        "ffmpeg",      "-hide_banner",
        "-nostdin",    "-loglevel",
        "error",       "-y",
        "-f",          "rawvideo",
        "-pix_fmt",    "bgra",
        "-video_size", std::to_string(r.width) + "x" + std::to_string(r.height),
        "-framerate",  std::to_string(r.fps),
        "-i",          "pipe:0"};
    bool sound = !r.music.empty();
    // The music is cut at the video's first frame and padded with silence past its end.
    if (sound) args.insert(args.end(), {"-ss", Format("%.6f", r.musicStart), "-i", r.music});
    // GL rows come bottom first. The conversion to YUV is made here, with the matrix the tags
    // name: left to itself, ffmpeg would use BT.601's and tag nothing.
    args.insert(args.end(),
                {"-map", "0:v", "-vf",
                 r.lossless ? "vflip" : "vflip,scale=out_color_matrix=bt709:out_range=tv"});
    if (sound) args.insert(args.end(), {"-map", "1:a", "-af", "apad"});
    AddCodecs(r, sound, &args);
    args.insert(args.end(), {"-t", Format("%.6f", r.length), e->partial});

    e->pid = Spawn(args, frames[0], -1, e->messages);
    int spawnErrno = errno;
    close(frames[0]);
    if (e->pid < 0) {
        close(frames[1]);
        close(e->messages);
        *error = std::string("cannot run ffmpeg: ") + std::strerror(spawnErrno);
        return false;
    }
    e->frames = frames[1];
    return true;
}

bool FinishEncoder(Encoder *e, const std::string &file, bool success, std::string *error) {
    if (e->frames >= 0) close(e->frames);
    e->frames = -1;
    int status = Wait(e->pid);
    bool encoded = status == 0;
    if (!encoded) {
        std::string last = LastLine(e->messages);
        *error = status < 0 ? "ffmpeg was killed"
                            : "ffmpeg failed (exit code " + std::to_string(status) + ")";
        if (!last.empty()) *error += ": " + last;
    }
    close(e->messages);
    if (success && encoded && std::rename(e->partial.c_str(), file.c_str()) != 0) {
        *error = "cannot rename " + e->partial + " to " + file + ": " + std::strerror(errno);
        encoded = false;
    }
    if (!success || !encoded) unlink(e->partial.c_str());
    return encoded;
}

}  // namespace kelvorin
