#include "capture/video.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "assets/sound.h"
#include "capture/average.h"
#include "capture/ffmpeg.h"
#include "capture/frames.h"
#include "capture/progress.h"
#include "scenes/reduced_flashing.h"
#include "shell/window.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) { interrupted = 1; }

// The hand-over between the render loop and the writer thread: the loop fills one buffer
// while the writer sends the other down the pipe, so rendering and encoding overlap. Frames
// drawn larger or more often than they are sent are combined by the writer too, so that the
// filter overlaps the drawing of the next one.
std::mutex handoverMutex;
std::condition_variable handoverSignal;
const std::vector<unsigned char> *pending = nullptr;  // cleared once taken
bool closing = false;
bool writeFailed = false;

bool WriteAll(int fd, const std::vector<unsigned char> &frame) {
    for (size_t done = 0; done < frame.size();) {
        ssize_t n = write(fd, frame.data() + done, frame.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += (size_t)n;
    }
    return true;
}

// average is null for plain frames, which go down the pipe as drawn; otherwise every
// `subframes` drawn frames make one frame of the output size.
void WriteFrames(int fd, LinearAverage *average, int subframes, size_t outputBytes) {
    std::vector<unsigned char> output(average ? outputBytes : 0);
    std::unique_lock<std::mutex> lock(handoverMutex);
    for (;;) {
        handoverSignal.wait(lock, [] { return pending || closing; });
        if (!pending) return;
        const std::vector<unsigned char> &frame = *pending;
        bool failed = writeFailed;
        lock.unlock();
        if (!failed && !average) failed = !WriteAll(fd, frame);
        if (!failed && average) {
            average->Add(frame.data());
            if (average->Count() == subframes) {
                average->Finish(output.data());
                failed = !WriteAll(fd, output);
            }
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

// Whether a program of this name is on PATH, so that a missing ffmpeg is told before anything
// starts.
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
    std::fprintf(stderr,
                 "kelvorin-capture: warning: no music (Data/Sons_WAV.txt names no "
                 "readable file): the video is silent\n");
    return "";
}

// Renders frames 0 to end - 1 and sends those from first on; the run skims the frames before.
bool RenderFrames(const CaptureOptions &o, uint64_t first, uint64_t end, int pipe,
                  const std::string &partial) {
    FrameMaking m(o);
    size_t drawnBytes = (size_t)m.DrawnWidth() * m.DrawnHeight() * VIDEO_BYTES_PER_PIXEL;
    std::vector<unsigned char> buffers[2];
    for (auto &b : buffers) b.resize(drawnBytes);
    std::unique_ptr<LinearAverage> average;
    if (!m.Plain())
        average =
            std::make_unique<LinearAverage>(o.width, o.height, m.scale, VIDEO_BYTES_PER_PIXEL);
    std::thread writer(WriteFrames, pipe, average.get(), m.subframes,
                       (size_t)o.width * o.height * VIDEO_BYTES_PER_PIXEL);
    OfflineRun run = m.Run();
    run.Need(first * m.subframes, end * m.subframes - 1);
    StartProgress(end - first, partial);
    bool ok = true;
    int next = 0;
    run.SkimTo(first * m.subframes);
    for (uint64_t k = first; ok && k < end && !interrupted; k++) {
        for (int j = 0; ok && j < m.subframes && !interrupted; j++) {
            run.DrawNext();
            run.ReadBack(PIXELS_BGRA, buffers[next].data());
            ok = SendFrame(buffers[next]);
            next ^= 1;
        }
        ShowProgress(k + 1 - first, FrameClock(k, o.fps));
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
            return Refuse(std::string(program) +
                          " is not installed (none on PATH; install the ffmpeg package)");

    std::string error;
    if (!CheckDrawingLimits(FrameMaking(o), o.reducedFlashing, &error)) return Refuse(error);

    std::string music = FindMusic();
    long until = o.until;
    if (!music.empty()) {
        double seconds = 0;
        bool missing = false;
        if (!ProbeLength(music, &seconds, &missing, &error)) {
            if (missing) return Refuse(error + " (it comes with the ffmpeg package)");
            std::fprintf(stderr, "kelvorin-capture: warning: %s: the video is silent\n",
                         error.c_str());
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
    uint64_t first = FirstFrameAt((uint64_t)o.from, o.fps),
             end = FirstFrameAt((uint64_t)until, o.fps);
    VideoRequest request{o.video,
                         o.width,
                         o.height,
                         o.fps,
                         music,
                         (double)first / o.fps,
                         (double)(end - first) / o.fps,
                         o.upload,
                         o.lossless};
    std::signal(SIGPIPE, SIG_IGN);
    Encoder encoder;
    if (!StartEncoder(request, &encoder, &error))
        return Refuse(error + " (install the ffmpeg package)");
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);

    reducedFlashing = o.reducedFlashing;
    if (!OpenFrameWindow(FrameMaking(o))) {
        FinishEncoder(&encoder, o.video, false, &error);
        return 1;
    }
    bool rendered = RenderFrames(o, first, end, encoder.frames, encoder.partial);
    CloseDemoWindow();
    bool encoded = FinishEncoder(&encoder, o.video, rendered, &error);
    if (interrupted) return Refuse("interrupted; no video written");
    if (!encoded) return Refuse(error);
    if (!rendered) return Refuse("ffmpeg stopped taking frames; no video written");
    EndProgress(o.video, end - first, o.fps);
    return 0;
}

}  // namespace kelvorin
