#include "shell/loop.h"

#include "assets/sound.h"
#include "scenes/state.h"
#include "shell/afterglow.h"
#include "timeline/clock.h"
#include "timeline/length.h"

namespace kelvorin {

bool loopDemo = false;

namespace {

DemoState start;
uint32_t passStart = 0;  // the clock at which the current pass of the demo began
bool restarted = false;  // whether the last LoopClock started the demo again

}  // namespace

void KeepDemoStart() {
    SaveDemoState(start);
    passStart = 0;
}

void RestartDemo() {
    RestoreDemoState(start);
    RestartAfterglow();
    PlaySample(0, 0, LOOP_OFF);
}

uint32_t LoopClock(uint32_t clock) {
    if (!loopDemo) return clock;
    uint32_t elapsed = clock - passStart;
    if (elapsed < DEMO_LENGTH_MS) return elapsed;
    RestartDemo();
    restarted = true;
    // The next pass begins where the last one ended; after a stall longer than a whole pass (a
    // suspended machine), at once.
    passStart = elapsed < 2 * DEMO_LENGTH_MS ? passStart + DEMO_LENGTH_MS : clock;
    return clock - passStart;
}

uint32_t ReadLoopClock() {
    restarted = false;
    uint32_t clock = LoopClock(ReadDemoClock());
    if (!restarted) return clock;
    // Loading the music again takes a moment: the pass counts from a reading taken once it
    // plays, as the first pass does, so that picture and music start together.
    passStart = ReadDemoClock();
    return 0;
}

}  // namespace kelvorin
