#include "capture/video.h"

#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "assets/sound.h"
#include "capture/ffmpeg.h"
#include "capture/progress.h"
#include "platform/platform.h"
#include "scenes/reduced_flashing.h"
#include "shell/afterglow.h"
#include "shell/frame_loop.h"
#include "shell/render_state.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) { interrupted = 1; }

// The hand-over between the render loop and the writer thread: the loop fills one buffer
// while the writer sends the other down the pipe, so rendering and encoding overlap.
std::mutex handoverMutex;
std::condition_variable handoverSignal;
const std::vector<unsigned char> *pending = nullptr;  // cleared once written
bool closing = false;
bool writeFailed = false;

void WriteFrames(int fd) {
    std::unique_lock<std::mutex> lock(handoverMutex);
    for (;;) {
        handoverSignal.wait(lock, [] { return pending || closing; });
        if (!pending) return;
        const std::vector<unsigned char> &frame = *pending;
        bool failed = writeFailed;
        lock.unlock();
        for (size_t done = 0; !failed && done < frame.size();) {
            ssize_t n = write(fd, frame.data() + done, frame.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) failed = true;
            else done += (size_t)n;
        }
        lock.lock();
        writeFailed = failed;
        pending = nullptr;
        handoverSignal.notify_all();
    }
}

// Waits until the writer is done with the previous frame, then hands this one over.
// False once a write has failed (ffmpeg went away).
bool SendFrame(const std::vector<unsigned char> &frame) {
    std::unique_lock<std::mutex> lock(handoverMutex);
    handoverSignal.wait(lock, [] { return !pending; });
    if (writeFailed) return false;
    pending = &frame;
    handoverSignal.notify_all();
    return true;
}

void StopWriter(std::thread &writer) {
    {
        std::unique_lock<std::mutex> lock(handoverMutex);
        handoverSignal.wait(lock, [] { return !pending; });
        closing = true;
        handoverSignal.notify_all();
    }
    writer.join();
}

// Whether a program of this name is on PATH, so that a missing ffmpeg is told before anything starts.
bool OnPath(const char *name) {
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    for (size_t start = 0; start <= dirs.size();) {
        size_t colon = std::min(dirs.find(':', start), dirs.size());
        std::string dir = colon > start ? dirs.substr(start, colon - start) : ".";
        if (access((dir + "/" + name).c_str(), X_OK) == 0) return true;
        start = colon + 1;
    }
    return false;
}

int Refuse(const std::string &message) {
    std::fprintf(stderr, "kelvorin-capture: %s\n", message.c_str());
    return 2;
}

std::string Folder(const std::string &file) {
    size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : file.substr(0, slash);
}

// The music named first in the sound list, or empty with a warning: the video is then silent.
std::string FindMusic() {
    ReadSoundList("Data/Sons_WAV.txt");
    std::string music = soundNames[0];
    if (!music.empty() && access(music.c_str(), R_OK) == 0) return music;
    std::fprintf(stderr, "kelvorin-capture: warning: no music (Data/Sons_WAV.txt names no "
                         "readable file): the video is silent\n");
    return "";
}

// Renders frames 0 to end - 1 and sends those from first on. The frames before first only
// advance the scenes' state, so they are drawn into a tiny viewport, all but the last few,
// which give the first frame its afterglow.
bool RenderFrames(const CaptureOptions &o, uint64_t first, uint64_t end, int pipe) {
    std::vector<unsigned char> buffers[2];
    for (auto &b : buffers) b.resize((size_t)o.width * o.height * VIDEO_BYTES_PER_PIXEL);
    std::thread writer(WriteFrames, pipe);
    uint64_t fullSize = FirstFullSizeFrame(first, o.fps);
    if (fullSize > 0) UseSkimView(o.width, o.height);
    StartProgress(end - first);
    bool ok = true;
    int next = 0;
    for (uint64_t k = 0; ok && k < end && !interrupted; k++) {
        if (k == fullSize && fullSize > 0) ResizeView(o.width, o.height);
        uint32_t clock = FrameClock(k, o.fps);
        DrawFrameAt(clock);
        if (k < first) continue;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, o.width, o.height, GL_BGRA, GL_UNSIGNED_BYTE, buffers[next].data());
        ok = SendFrame(buffers[next]);
        next ^= 1;
        ShowProgress(k + 1 - first, clock);
    }
    StopWriter(writer);
    return ok && !writeFailed && !interrupted;
}

}  // namespace

int CaptureVideo(const CaptureOptions &o) {
    std::string folder = Folder(o.video);
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return Refuse("the folder " + folder + " does not exist");
    if (access(folder.c_str(), W_OK) != 0) return Refuse("cannot write into the folder " + folder);

    for (const char *program : {"ffmpeg", "ffprobe"})
        if (!OnPath(program))
            return Refuse(std::string(program) + " is not installed (none on PATH; install the ffmpeg package)");

    std::string music = FindMusic(), error;
    long until = o.until;
    if (!music.empty()) {
        double seconds = 0;
        bool missing = false;
        if (!ProbeLength(music, &seconds, &missing, &error)) {
            if (missing) return Refuse(error + " (it comes with the ffmpeg package)");
            std::fprintf(stderr, "kelvorin-capture: warning: %s: the video is silent\n", error.c_str());
            music.clear();
        } else if (until < 0) {
            until = (long)(seconds * 1000 + 0.999);
        }
    }
    if (until < 0) until = DEMO_LENGTH_MS;  // without music, the music's usual length
    if (until <= o.from)
        return Refuse("--from " + std::to_string(o.from) + " lies at or past the video's end (" +
                      std::to_string(until) + " ms)");

    // Frame k is shown at k / fps seconds of the video's time line, which the music shares:
    // the first frame's index fixes where the music starts.
    uint64_t first = FirstFrameAt((uint64_t)o.from, o.fps), end = FirstFrameAt((uint64_t)until, o.fps);
    VideoRequest request{o.video, o.width, o.height, o.fps, music,
                         (double)first / o.fps, (double)(end - first) / o.fps};
    std::signal(SIGPIPE, SIG_IGN);
    Encoder encoder;
    if (!StartEncoder(request, &encoder, &error))
        return Refuse(error + " (install the ffmpeg package)");
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);

    platform = &offscreenPlatform;
    reducedFlashing = o.reducedFlashing;
    if (!OpenDemoWindow("KELVORIN", o.width, o.height, 16, false)) {
        FinishEncoder(&encoder, o.video, false, &error);
        return 1;
    }
    bool rendered = RenderFrames(o, first, end, encoder.frames);
    CloseDemoWindow();
    bool encoded = FinishEncoder(&encoder, o.video, rendered, &error);
    if (interrupted) return Refuse("interrupted; no video written");
    if (!encoded) return Refuse(error);
    if (!rendered) return Refuse("ffmpeg stopped taking frames; no video written");
    EndProgress(o.video, end - first, o.fps);
    return 0;
}

}  // namespace kelvorin
