// Progress of a long capture on standard error: one updating line on a terminal, otherwise a
// single summary line at the end.
#pragma once
#include <cstdint>
#include <string>

namespace kelvorin {

// file, when not empty, is the output growing as frames are written: its size so far shows.
void StartProgress(uint64_t totalFrames, const std::string &file = "");
// Frames done so far and the demo clock of the last one; redraws at most 4 times a second.
void ShowProgress(uint64_t done, uint32_t clock);
// Ends the line on a terminal and returns the seconds since StartProgress.
double StopProgress();
// Stops, then always writes the summary: file, frames, time, speed.
void EndProgress(const std::string &file, uint64_t done, long fps);

}  // namespace kelvorin
