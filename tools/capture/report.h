// kelvorin-capture --flash-report: renders the demo on its synthetic clock and measures its
// flashes (flash.h), then prints every second that has too many, and a summary.
#pragma once
#include "capture/options.h"

namespace kelvorin {

// Returns the exit code: 0 whatever it found, 1 when the demo cannot start.
int FlashReport(const CaptureOptions &options);

}  // namespace kelvorin
