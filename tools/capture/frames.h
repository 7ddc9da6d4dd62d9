// How each frame the offline renderer writes is made. Plainly, frame k is drawn at the output
// size on the synthetic clock and read back as drawn. Supersampled, it is drawn at `scale`
// times the size, its lines and points as many times wider (so that they keep their weight),
// and filtered down. With motion blur it is the mean of `subframes` drawings: drawn frames
// k * subframes to k * subframes + subframes - 1 of a clock that many times faster, a shutter
// open for the whole frame. Both average in linear light (average.h). Under reduced flashing
// the afterglow blends the drawn frames: at the drawn size, and on the faster clock by its
// tempo, so that it fades as much a second as at 60 fps.
#pragma once
#include <string>

#include "capture/options.h"
#include "shell/offline_run.h"

namespace kelvorin {

struct FrameMaking {
    int width, height;  // the output's
    long fps;
    int scale, subframes;

    explicit FrameMaking(const CaptureOptions &o)
        : width(o.width),
          height(o.height),
          fps(o.fps),
          scale(o.supersample),
          subframes(o.motionBlur) {}
    bool Plain() const { return scale == 1 && subframes == 1; }
    int DrawnWidth() const { return width * scale; }
    int DrawnHeight() const { return height * scale; }
    long DrawnFps() const { return fps * subframes; }
    // The run that draws the frames: at the drawn size, on the drawn clock.
    OfflineRun Run(bool wholeAfterglow = false) const {
        return OfflineRun(DrawnWidth(), DrawnHeight(), DrawnFps(), wholeAfterglow);
    }
};

// Whether this GL can draw frames of the drawn size: its largest viewport and renderbuffer,
// and under reduced flashing the afterglow's texture, read on a context opened for the purpose
// and closed again (the demo's own window is not touched). False with a one-line reason.
bool CheckDrawingLimits(const FrameMaking &m, bool reducedFlashing, std::string *error);

// Opens the demo's window at the drawn size, with lines and points widened by the scale.
bool OpenFrameWindow(const FrameMaking &m);

}  // namespace kelvorin
