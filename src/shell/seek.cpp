#include "shell/seek.h"

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "scenes/dispatcher.h"
#include "scenes/state.h"
#include "shell/offline_run.h"
#include "timeline/clock.h"

namespace kelvorin {

namespace {

std::vector<DemoState> snapshots;  // snapshots[i]: the state before frame i * SNAPSHOT_SPACING
DemoState maker;                   // the silent run's state, before frame made
uint64_t made = 0;
DemoState live;                 // the playing demo's, while the silent run has the globals
std::vector<Chapter> chapters;  // as far as the silent run has gone

// How often the silent run looks at the clock.
const uint64_t FRAMES_BETWEEN_CLOCK_READINGS = 16;

void StepFrame(uint64_t k) { DrawUnseenFrameAt(FrameClock(k, SEEK_FPS)); }

// Before the silent run draws frame k: a new chapter where a scene that begins one takes over.
void NoteChapter(uint64_t k) {
    const Scene *scene = FindScene(numscene);
    if (k > LastSeekFrame() || !scene || !scene->chapter) return;
    if (chapters.empty() || chapters.back().scene != numscene)
        chapters.push_back({numscene, FrameClock(k, SEEK_FPS)});
}

}  // namespace

const std::vector<Chapter> &Chapters() { return chapters; }

uint64_t LastSeekFrame() { return FirstFrameAt(DEMO_LENGTH_MS, SEEK_FPS); }

void BeginSnapshots() {
    snapshots.assign(1, DemoState());
    SaveDemoState(snapshots[0]);
    maker = snapshots[0];
    made = 0;
    chapters.clear();
}

uint64_t MakeSnapshots(uint64_t until, uint32_t budgetMs) {
    if (snapshots.empty() || made >= until) return made;
    SaveDemoState(live);
    RestoreDemoState(maker);
    uint32_t start = platform->ticks();
    while (made < until) {
        NoteChapter(made);
        StepFrame(made++);
        if (made % SNAPSHOT_SPACING == 0 && made <= LastSeekFrame()) {
            snapshots.emplace_back();
            SaveDemoState(snapshots.back());
        }
        if (made % FRAMES_BETWEEN_CLOCK_READINGS == 0 && platform->ticks() - start >= budgetMs)
            break;
    }
    SaveDemoState(maker);
    RestoreDemoState(live);
    return made;
}

uint64_t ReplayTo(uint64_t frame) {
    if (snapshots.empty()) return 0;
    uint64_t before = made;
    uint64_t drawn = MakeSnapshots(frame, UINT32_MAX) - before;
    if (made == frame) {
        RestoreDemoState(maker);
        return drawn;
    }
    uint64_t nearest = std::min<uint64_t>(frame / SNAPSHOT_SPACING, snapshots.size() - 1);
    RestoreDemoState(snapshots[nearest]);
    for (uint64_t k = nearest * SNAPSHOT_SPACING; k < frame; k++, drawn++) StepFrame(k);
    return drawn;
}

}  // namespace kelvorin
