#include "timeline/clock.h"

#include "platform/platform.h"

namespace kelvorin {

uint32_t time = 0;
uint32_t previousTime = 0;
double tempo = 0.0;

void StepClock(uint32_t now) {
    previousTime = time;
    time = now;
    tempo = (double)(uint32_t)(time - previousTime);
}

uint32_t ReadDemoClock() {
    static bool started = false;
    static uint32_t origin = 0;
    uint32_t now = platform && platform->ticks ? platform->ticks() : 0;
    if (!started) {
        started = true;
        origin = now;
    }
    return now - origin;
}

}  // namespace kelvorin
