// Measurements for script/bench, on the offscreen backend:
//   kelvorin-bench scenes WxH [FROM UNTIL]
//                               the demo from 0 to 191 s at 60 fps; for each scene the frames
//                               it drew and its frame rate (glFinish after every frame, the
//                               first frames of each visit left out as warm-up). With FROM and
//                               UNTIL only frames in [FROM, UNTIL] ms count, and the earlier ones
//                               are skimmed as the offline renderer skims them (no lead-in: the
//                               benchmark draws without reduced flashing): a stretch to profile.
//   kelvorin-bench startup      OpenDemoWindow to the first finished frame: the window with its
//                               textures, the sound (the list read, the output opened and the
//                               music started) and the first frame; then the median of 5
//                               F1-style re-creations at 1024x768. The offscreen edition has no
//                               sound output, so its sound step reads the list and decodes no
//                               music: the desktop's decoding is not in these numbers.
// Run it in the directory that holds Data/.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "assets/sound.h"
#include "platform/platform.h"
#include "scenes/dispatcher.h"
#include "shell/offline_run.h"
#include "shell/window.h"
#include "timeline/clock.h"
#include "timeline/length.h"

namespace {

using namespace kelvorin;
using Clock = std::chrono::steady_clock;

const long FPS = 60;
const int WARM_UP_FRAMES = 10;  // of every visit: new textures and JIT-compiled state settle

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

bool Open(int width, int height) { return OpenOfflineWindow(offscreenPlatform, width, height); }

int Scenes(int width, int height, uint32_t from, uint32_t until) {
    if (!Open(width, height)) return 1;
    std::printf("renderer %s\n", (const char *)glGetString(GL_RENDERER));
    struct Tally {
        long frames = 0;
        double ms = 0;
    };
    std::map<int32_t, Tally> tallies;
    std::vector<int32_t> order;
    int32_t last = -1;
    int visitFrames = 0;
    uint64_t first = FirstFrameAt(from, FPS), end = FirstFrameAt(uint64_t(until) + 1, FPS);
    OfflineRun run(width, height, FPS);
    run.Need(first, end - 1);
    run.SkimTo(first);
    while (run.Next() < end) {
        int32_t scene = numscene;
        visitFrames = scene == last ? visitFrames + 1 : 0;
        last = scene;
        Clock::time_point start = Clock::now();
        run.DrawNext();
        glFinish();
        double ms = Ms(start);
        if (!tallies.count(scene)) order.push_back(scene);
        Tally &t = tallies[scene];
        if (visitFrames >= WARM_UP_FRAMES) t.frames++, t.ms += ms;
    }
    for (int32_t scene : order) {
        const Tally &t = tallies[scene];
        std::printf("scene %d %ld %.1f\n", scene, t.frames,
                    t.ms > 0 ? t.frames * 1000 / t.ms : 0.0);
    }
    CloseDemoWindow();
    return 0;
}

// A frame drawn and finished, as the first pass of the frame loop would.
void FirstFrame() {
    DrawFrameAt(0);
    glFinish();
}

int Startup() {
    Clock::time_point start = Clock::now();
    if (!Open(800, 600)) return 1;
    double window = Ms(start);
    ReadSoundList("Data/Sons_WAV.txt");
    InitSound();
    PlaySample(0, 0, LOOP_OFF);
    double sound = Ms(start) - window;
    FirstFrame();
    double total = Ms(start);
    std::printf("startup %.1f window %.1f sound %.1f frame %.1f\n", total, window, sound,
                total - window - sound);
    std::vector<double> recreations;
    for (int i = 0; i < 5; i++) {
        start = Clock::now();
        CloseDemoWindow();
        if (!Open(1024, 768)) return 1;
        FirstFrame();
        recreations.push_back(Ms(start));
    }
    std::sort(recreations.begin(), recreations.end());
    std::printf("recreate %.1f\n", recreations[recreations.size() / 2]);
    CloseSound();
    CloseDemoWindow();
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    int width, height;
    unsigned from = 0, until = DEMO_LENGTH_MS;
    if ((argc == 3 || argc == 5) && !std::strcmp(argv[1], "scenes") &&
        std::sscanf(argv[2], "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
        (argc == 3 ||
         (std::sscanf(argv[3], "%u", &from) == 1 && std::sscanf(argv[4], "%u", &until) == 1)))
        return Scenes(width, height, from, until);
    if (argc == 2 && !std::strcmp(argv[1], "startup")) return Startup();
    std::fputs("usage: kelvorin-bench scenes WxH [FROM UNTIL] | kelvorin-bench startup\n", stderr);
    return 2;
}
