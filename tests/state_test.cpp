// The scene values' list (scenes/state.h) against a whole run: every value starts where the
// list says and changes only in frames of the scene that owns it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "offscreen_harness.h"
#include "scenes/state.h"
#include "timeline/random.h"

using harness::Frame;
using kelvorin::numscene;

namespace {

using StateTest = harness::OffscreenTest;

// A value's bytes, to see whether a frame changed it.
std::string Bytes(const void *at, size_t size) {
    return std::string(static_cast<const char *>(at), size);
}

struct Tracked {
    std::string name;
    const void *at;
    size_t size;
    std::set<int> owners;  // the scenes whose frames may change it
};

TEST_F(StateTest, EachValueMovesOnlyInItsOwnScenesFrames) {
    using namespace kelvorin;
    // Every scene value from its list, owned by its scene; the closing scene draws its spheres
    // around v0s2 too, and scene 4 hands its spin over to r0s45. The particle scenes draw
    // from the generator and their pools.
    std::vector<Tracked> tracked;
    for (size_t i = 0; i < NUM_SCENE_VALUES; i++) {
        const SceneValue &v = sceneValues[i];
        tracked.push_back({v.name, v.at, v.size, {v.scene}});
    }
    for (Tracked &v : tracked) {
        if (v.name == "v0s2") v.owners.insert(8);
        if (v.name == "r0s45") v.owners.insert(4);
    }
    tracked.push_back({"pool A", tab0s5, sizeof tab0s5, {5}});
    tracked.push_back({"pool C", tab0s7, sizeof tab0s7, {7}});
    tracked.push_back({"generator", &randState, sizeof randState, {5, 7}});
    // Start values: these five as the scenes begin them, every other value at 0.
    EXPECT_EQ(t0s0, 8.0f);
    EXPECT_EQ(a0s45, 1.0f);
    EXPECT_EQ(s0s7, 1e-7f);
    EXPECT_EQ(rota8, 70.0f);
    EXPECT_EQ(slide8, 7.0f);
    const std::set<std::string> nonZeroStart = {"t0s0",      "a0s45", "pool A", "pool C",
                                                "generator", "s0s7",  "rota8",  "slide8"};
    for (const Tracked &v : tracked) {
        if (!nonZeroStart.count(v.name)) {
            EXPECT_EQ(Bytes(v.at, v.size), std::string(v.size, '\0')) << v.name;
        }
    }
    glViewport(0, 0, 40, 30);  // values only: a small frame keeps the whole run quick

    std::vector<bool> moved(tracked.size(), false);
    std::vector<std::string> before(tracked.size());
    for (uint32_t t = 0; t <= 140000; t += 40) {
        int scene = numscene;
        for (size_t k = 0; k < tracked.size(); k++)
            before[k] = Bytes(tracked[k].at, tracked[k].size);
        Frame(t);
        for (size_t k = 0; k < tracked.size(); k++) {
            if (Bytes(tracked[k].at, tracked[k].size) == before[k]) continue;
            moved[k] = true;
            EXPECT_TRUE(tracked[k].owners.count(scene))
                << tracked[k].name << " changed in a frame of scene " << scene << " at " << t;
        }
    }
    // Every value moves at some time, but the swirl's centre, which stays at the origin.
    const std::set<std::string> constant = {"centre0s7", "centre1s7"};
    for (size_t k = 0; k < tracked.size(); k++)
        EXPECT_EQ(moved[k], !constant.count(tracked[k].name)) << tracked[k].name;
    EXPECT_EQ(numscene, 8);
}

}  // namespace
