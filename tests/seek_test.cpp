// Seeking rebuilds exactly the frame and the state that a straight run of the synthetic clock
// has, in every scene, backwards as well as forwards; making snapshots between the live
// frames leaves the live run as it was.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "offscreen_harness.h"
#include "scenes/dispatcher.h"
#include "scenes/state.h"
#include "shell/offline_run.h"
#include "shell/render_state.h"
#include "shell/seek.h"
#include "timeline/clock.h"

using namespace kelvorin;

namespace {

// One moment in each scene: lit balls, the cube fan blinking and with its bands, the title,
// the countdown and flash, the tunnel's sprites, the finale, the greetings' lit spiral.
const uint32_t MOMENTS[] = {5000, 9000, 17500, 27050, 36000, 48000, 56800, 66150, 100000, 135000};

struct Seen {
    std::vector<unsigned char> pixels;
    DemoState after;
};

// Plays frames 0 to the last moment's, each skimmed but the moments' own; between frames,
// makeEvery > 0 lets the snapshots advance that many frames at a time.
std::map<uint64_t, Seen> PlayStraight(uint64_t makeEvery) {
    std::map<uint64_t, Seen> seen;
    OfflineRun run(harness::WIDTH, harness::HEIGHT, SEEK_FPS);
    for (uint32_t ms : MOMENTS) {
        uint64_t k = FirstFrameAt(ms, SEEK_FPS);
        seen[k];
        run.Need(k, k);
    }
    for (uint64_t last = seen.rbegin()->first; run.Next() <= last;) {
        uint64_t k = run.Next();
        run.DrawNext();
        if (seen.count(k)) {
            seen[k].pixels = harness::ReadFrame();
            SaveDemoState(seen[k].after);
        }
        if (makeEvery && k % makeEvery == 0) MakeSnapshots(k + makeEvery, 0);
    }
    return seen;
}

}  // namespace

TEST(SeekTest, RebuildsEveryMomentAsAStraightRunDrawsIt) {
    ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
    DemoState start;
    SaveDemoState(start);
    BeginSnapshots();
    std::map<uint64_t, Seen> straight = PlayStraight(0);

    // Again from the start, with the snapshots made in between as the browser makes them.
    ASSERT_TRUE(RestoreDemoState(start));
    std::map<uint64_t, Seen> interleaved = PlayStraight(7);
    for (auto &[frame, seen] : straight) {
        EXPECT_TRUE(interleaved[frame].pixels == seen.pixels) << "frame " << frame;
        EXPECT_TRUE(interleaved[frame].after == seen.after) << "frame " << frame;
    }

    // Seeks from the last moment back to the first: the closing scene's light must not reach
    // the ball spiral's.
    for (auto it = straight.rbegin(); it != straight.rend(); ++it) {
        UseSkimView(harness::WIDTH, harness::HEIGHT);
        ReplayTo(it->first);
        ResizeView(harness::WIDTH, harness::HEIGHT);
        DrawFrameAt(FrameClock(it->first, SEEK_FPS));
        DemoState after;
        SaveDemoState(after);
        EXPECT_EQ(kelvorin::time, FrameClock(it->first, SEEK_FPS));
        EXPECT_TRUE(after == it->second.after) << "state after frame " << it->first;
        EXPECT_TRUE(harness::ReadFrame() == it->second.pixels) << "picture of frame " << it->first;
    }
}

TEST(SeekTest, RefusesAStateOfTheWrongSize) {
    ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
    DemoState state;
    SaveDemoState(state);
    t0s0 = 3;
    state.pop_back();
    EXPECT_FALSE(RestoreDemoState(state));
    EXPECT_EQ(t0s0, 3.0f);
}

TEST(SeekTest, ChaptersAreWhereAStraightRunChangesScene) {
    ASSERT_TRUE(harness::OpenOffscreen()) << "needs Data/ with the 23 pictures";
    UseSkimView(harness::WIDTH, harness::HEIGHT);
    BeginSnapshots();
    MakeSnapshots(LastSeekFrame() + 1, UINT32_MAX);
    std::vector<Chapter> chapters = Chapters();

    // The same frames straight through, the scene of each noted: a chapter begins wherever a
    // scene that begins one takes over from another.
    std::vector<Chapter> expected;
    int32_t last = -1;
    for (uint64_t k = 0; k <= LastSeekFrame(); k++) {
        int32_t scene = numscene;
        const Scene *entry = FindScene(scene);
        ASSERT_NE(entry, nullptr) << "scene " << scene << " at frame " << k;
        if (scene != last && entry->chapter && (expected.empty() || expected.back().scene != scene))
            expected.push_back({scene, FrameClock(k, SEEK_FPS)});
        last = scene;
        DrawFrameAt(FrameClock(k, SEEK_FPS));
    }
    ASSERT_EQ(chapters.size(), expected.size());
    for (size_t i = 0; i < chapters.size(); i++) {
        EXPECT_EQ(chapters[i].scene, expected[i].scene) << "chapter " << i;
        EXPECT_EQ(chapters[i].start, expected[i].start) << "chapter " << i;
    }
    // The flash stays in the countdown's chapter; the greetings are the last one.
    EXPECT_EQ(chapters.front().start, 0u);
    EXPECT_EQ(chapters.back().scene, 8);
    for (const Chapter &chapter : chapters) EXPECT_NE(chapter.scene, 45);

    // Starting over forgets them.
    BeginSnapshots();
    EXPECT_TRUE(Chapters().empty());
}
