// The first minute's timeline as the offline renderer plays it: every frame's scene id must
// follow the hand-over rules, whatever the frame rate.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TraceFrame {
    uint32_t clock;
    double tempo;
    int scene;
};

std::vector<TraceFrame> Trace(int fps, uint32_t until) {
    std::string command = std::string(KELVORIN_BUILD_DIR) +
                          "/kelvorin-capture --trace --size 64x48 --fps " + std::to_string(fps) +
                          " --until " + std::to_string(until);
    std::vector<TraceFrame> frames;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return frames;
    }
    TraceFrame f;
    unsigned long clock;
    while (std::fscanf(pipe, "%lu %lf %d", &clock, &f.tempo, &f.scene) == 3) {
        f.clock = uint32_t(clock);
        frames.push_back(f);
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return frames;
}

// The scene that draws the next frame, given the scene that drew this one and its clock.
int NextScene(int scene, uint32_t t) {
    switch (scene) {
    case 0:
        if (7000 < t && t < 8000) return 1;
        if (16000 < t && t < 17000) return 2;
        return t > 26500 ? 3 : 0;
    case 1: return t > 11000 ? 0 : 1;
    case 2: return t > 19000 ? 0 : 2;
    case 3: return t > 42500 ? 4 : 3;
    case 4: return t > 56500 ? 45 : 4;
    case 45: return t > 57500 ? 5 : 45;
    default: return scene;
    }
}

void ExpectTimeline(int fps) {
    SCOPED_TRACE(testing::Message() << fps << " fps");
    const uint32_t until = 59000;
    std::vector<TraceFrame> frames = Trace(fps, until);
    ASSERT_FALSE(frames.empty());
    EXPECT_GE(frames.back().clock, until);
    int expected = 0;
    for (size_t k = 0; k < frames.size(); k++) {
        const TraceFrame &f = frames[k];
        ASSERT_EQ(f.clock, uint32_t(uint64_t(k) * 1000 / fps)) << "frame " << k;
        ASSERT_EQ(f.scene, expected) << "frame " << k << " at " << f.clock << " ms";
        expected = NextScene(expected, f.clock);
    }
    EXPECT_EQ(frames.back().scene, 5) << "scene 5 takes over after 57.5 s";
}

bool HasClock(const std::vector<TraceFrame> &frames, uint32_t clock) {
    for (const TraceFrame &f : frames)
        if (f.clock == clock) return true;
    return false;
}

TEST(Timeline, SixtyFramesPerSecond) { ExpectTimeline(60); }

TEST(Timeline, FramesOnTheBoundariesMakeNoTransition) {
    for (int fps : {50, 100}) {
        ExpectTimeline(fps);
        // The run above must really have met every boundary exactly.
        std::vector<TraceFrame> frames = Trace(fps, 59000);
        for (uint32_t b : {7000u, 8000u, 11000u, 16000u, 19000u, 26500u, 42500u, 56500u, 57500u})
            EXPECT_TRUE(HasClock(frames, b)) << b << " ms at " << fps << " fps";
    }
}

TEST(Timeline, OddFrameRates) {
    for (int fps : {3, 7, 24}) ExpectTimeline(fps);
}

// Frames at whole seconds only: no frame lies strictly inside 7-8 s or 16-17 s, so both
// interludes are skipped and the plain thresholds are only delayed.
TEST(Timeline, OneFramePerSecondSkipsScenesOneAndTwo) {
    ExpectTimeline(1);
    std::vector<TraceFrame> frames = Trace(1, 59000);
    std::vector<int> order;
    for (const TraceFrame &f : frames)
        if (order.empty() || order.back() != f.scene) order.push_back(f.scene);
    EXPECT_EQ(order, (std::vector<int>{0, 3, 4, 45, 5}));
    for (const TraceFrame &f : frames) {
        if (f.clock == 27000) {
            EXPECT_EQ(f.scene, 0);
        }
        if (f.clock == 28000) {
            EXPECT_EQ(f.scene, 3);
        }
    }
}

}  // namespace
