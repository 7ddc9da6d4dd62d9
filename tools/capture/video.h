// kelvorin-capture --video: renders the demo on its synthetic clock and pipes the frames to
// ffmpeg, which encodes them with the music from the sound list.
#pragma once
#include "capture/options.h"

namespace kelvorin {

// Returns the exit code: 0, 1 when the demo cannot start, 2 for bad input or a failing ffmpeg.
int CaptureVideo(const CaptureOptions &options);

}  // namespace kelvorin
