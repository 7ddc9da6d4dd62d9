// Seeking on the offline renderer's synthetic clock (frame k at floor(k * 1000 / 60) ms): the
// demo's state is saved every SNAPSHOT_SPACING frames by a second, silent run of the demo from
// its start, and any frame is rebuilt from the nearest snapshot before it. The frames replayed
// for either are drawn and never presented; how they are drawn is the caller's (the browser
// has the GL layer skip drawing them, the tests draw them into a small view).
#pragma once
#include <cstdint>
#include <vector>

#include "assets/textures.h"
#include "timeline/length.h"

namespace kelvorin {

const long SEEK_FPS = 60;
const uint64_t SNAPSHOT_SPACING = 60;  // a snapshot a second

// Takes the demo's state now as the synthetic clock's start: call it right after the first
// window opened, before the first frame, and again to start over.
void BeginSnapshots();
// Runs the silent run on towards frame `until` for about budgetMs of wall time, keeping a
// snapshot a second up to the frame at DEMO_LENGTH_MS; the live state is put back afterwards.
// Returns the frame it has reached.
uint64_t MakeSnapshots(uint64_t until, uint32_t budgetMs);
// Puts the demo into the state before frame `frame`: the nearest snapshot at or before it (or
// the silent run's own state), then the frames between, running the silent run on to it first
// where it is behind. The next frame to draw is `frame`.
// Returns how many frames it drew to get there, the silent run's included.
uint64_t ReplayTo(uint64_t frame);
// The last frame that seeking reaches.
uint64_t LastSeekFrame();

// A chapter of the seek bar: a scene that begins one (scenes.h), from the first frame it draws
// on the synthetic clock to the next chapter's.
struct Chapter {
    int32_t scene;
    uint32_t start;  // ms
};
// The chapters that the silent run has passed, in order: every one of them once it has reached
// LastSeekFrame(). The timeline is only the scenes' own end-of-frame tests, so this is the one
// way to know it.
const std::vector<Chapter> &Chapters();

// Each texture's first use: the clock (ms) of the first frame drawn by a scene that binds it
// (Scene::textures), as far as the silent run has gone; NOT_USED where no scene has bound it by
// then. Once the run has reached LastSeekFrame(), the order in which the demo needs them.
const uint32_t NOT_USED = UINT32_MAX;
const uint32_t *TexturesFirstUse();

}  // namespace kelvorin
