// The synthetic clock of the offline tools: frame k has clock floor(k * 1000 / fps) ms.
#pragma once
#include <cstdint>

#include "shell/demo.h"
#include "shell/platform.h"
#include "shell/render_state.h"
#include "timeline/dispatcher.h"

namespace kelvorin {

inline uint32_t FrameClock(uint64_t k, long fps) { return (uint32_t)(k * 1000 / (uint64_t)fps); }

// The first frame whose clock is at least ms: ceil(ms * fps / 1000).
inline uint64_t FirstFrameAt(uint64_t ms, long fps) { return (ms * (uint64_t)fps + 999) / 1000; }

// One pass of the frame loop at this clock: the delta from the previous pass, the scene, and
// the present, which ends the frame (unpresented frames pile up in the driver).
inline void DrawFrameAt(uint32_t clock) {
    previousTime = time;
    time = clock;
    tempo = (double)(uint32_t)(time - previousTime);
    DrawFrame();
    platform->swapBuffers();
}

// Frames drawn only to advance the scenes' state to a later clock go into a view 1/16 of the
// size: the scenes' values do not depend on the viewport.
inline void UseSkimView(int width, int height) {
    ResizeView(width / 16 > 0 ? width / 16 : 1, height / 16 > 0 ? height / 16 : 1);
}

}  // namespace kelvorin
