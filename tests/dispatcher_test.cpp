// The timeline that the scenes' end-of-frame tests make, as the dispatcher runs it: a late
// frame moves on by one scene only.
#include <gtest/gtest.h>

#include "offscreen_harness.h"
#include "scenes/dispatcher.h"
#include "scenes/state.h"

using harness::Frame;
using kelvorin::numscene;

namespace {

using DispatcherTest = harness::OffscreenTest;

// A frame late enough to pass several thresholds moves on by one scene only.
TEST_F(DispatcherTest, ALateFrameMovesOnByOneSceneOnly) {
    Frame(0);
    Frame(30000);
    EXPECT_EQ(numscene, 3) << "the windows of scenes 1 and 2 were never met";
    Frame(60000);
    EXPECT_EQ(numscene, 4);
    Frame(60016);
    EXPECT_EQ(numscene, 45);
    EXPECT_EQ(kelvorin::r0s45, kelvorin::r0s4);
    Frame(60032);
    EXPECT_EQ(numscene, 5);
}

}  // namespace
