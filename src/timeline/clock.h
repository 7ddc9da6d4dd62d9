// The demo clock, by which every scene animates: time, and tempo, the delta since the previous
// frame. The live frame loop steps it with the wall clock; the offline renderer, the benchmark
// and the browser's single frames step it on a synthetic clock, on which frame k has clock
// floor(k * 1000 / fps) ms.
#pragma once
#include <cstdint>

namespace kelvorin {

extern uint32_t time;          // demo clock, ms; stepped once per frame
extern uint32_t previousTime;  // the clock of the previous frame
extern double tempo;           // ms since the previous frame (unsigned difference)

// One step of the clock to now: the previous reading kept, the delta taken as the unsigned
// 32-bit difference (the first step's delta is its own reading).
void StepClock(uint32_t now);

// The wall clock for the live loop: about 0 at its first reading, then milliseconds.
uint32_t ReadDemoClock();

// Frame k of the synthetic clock at fps frames a second: FrameMs since the run began, and the
// demo's clock, which wraps at 2^32 ms (49.7 days) as the live one does.
inline uint64_t FrameMs(uint64_t k, long fps) { return k * 1000 / (uint64_t)fps; }
inline uint32_t FrameClock(uint64_t k, long fps) { return (uint32_t)FrameMs(k, fps); }

// The first frame whose clock is at least ms: ceil(ms * fps / 1000).
inline uint64_t FirstFrameAt(uint64_t ms, long fps) { return (ms * (uint64_t)fps + 999) / 1000; }

}  // namespace kelvorin
