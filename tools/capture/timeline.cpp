#include "capture/timeline.h"

#include <cinttypes>
#include <cstdio>

#include "platform/platform.h"
#include "scenes/dispatcher.h"
#include "shell/offline_run.h"
#include "shell/seek.h"
#include "shell/window.h"

namespace kelvorin {

namespace {

// The names are our own plain words: nothing in them needs escaping in JSON.
void PrintJson() {
    std::printf("{\"length\": %" PRIu32 ",\n \"scenes\": [", DEMO_LENGTH_MS);
    for (size_t i = 0; i < NUM_SCENES; i++)
        std::printf("%s{\"id\": %" PRId32 ", \"name\": \"%s\"}", i ? ", " : "", scenes[i].id,
                    scenes[i].name);
    std::printf("],\n \"chapters\": [");
    const std::vector<Chapter> &chapters = Chapters();
    for (size_t i = 0; i < chapters.size(); i++)
        std::printf("%s\n  {\"id\": %" PRId32 ", \"name\": \"%s\", \"start\": %" PRIu32 "}",
                    i ? "," : "", chapters[i].scene, FindScene(chapters[i].scene)->name,
                    chapters[i].start);
    std::printf("]}\n");
}

void PrintLines() {
    std::printf("length %" PRIu32 "\n", DEMO_LENGTH_MS);
    for (const Scene *scene = scenes; scene < scenes + NUM_SCENES; scene++)
        std::printf("scene %" PRId32 " %s\n", scene->id, scene->name);
    for (const Chapter &chapter : Chapters())
        std::printf("chapter %" PRIu32 " %" PRId32 " %s\n", chapter.start, chapter.scene,
                    FindScene(chapter.scene)->name);
}

}  // namespace

int PrintTimeline(bool json) {
    // The timeline does not depend on the picture: a tiny window keeps the run quick.
    if (!OpenOfflineWindow(offscreenPlatform, 16, 12)) return 1;
    BeginSnapshots();
    MakeSnapshots(LastSeekFrame() + 1, UINT32_MAX);
    if (json) PrintJson();
    else PrintLines();
    std::fflush(stdout);
    CloseDemoWindow();
    return 0;
}

}  // namespace kelvorin
