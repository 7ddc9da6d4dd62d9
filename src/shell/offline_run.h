// The demo played without a viewer, on the synthetic clock: frame k of a run at fps frames a
// second has clock floor(k * 1000 / fps) ms (timeline/clock.h). Whatever draws the demo outside
// the live loop plays it here: the offline renderer's pictures, video and flash report, the
// benchmark, the timeline, seeking, the browser's single frames and the tests. An edition or a
// tool supplies only its backend, and whatever its context needs before it opens.
//
// The skim rules. A frame that is read back is drawn at full size, and so, under reduced
// flashing, is its lead-in: the frames of its afterglow, AFTERGLOW_FRAMES at 60 fps before it,
// which must be drawn at its size to blend into it. Every other frame only moves the demo's
// state on, and goes into the skim view (UseSkimView). Nothing else in a picture depends on
// the frames drawn before it: only the afterglow reads the frame back. A scene that can step its
// state on without drawing (Scene::advance) does so for the frames it skims, but the last before
// a frame drawn at full size. The lead-in brings the afterglow within a level or two of 8 bits of
// what the whole run before it gives; a run that must match the whole run to the byte
// (kelvorin-capture's plain frames, which every other edition is compared with) draws every frame
// at full size under reduced flashing.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace kelvorin {

// Makes backend the platform in use and opens the demo's window on it, windowed, at width x
// height, with its render state. False after the reason was shown. CloseDemoWindow (window.h)
// closes it.
bool OpenOfflineWindow(const Platform &backend, int width, int height);

// A rendering context of width x height on backend, without the demo's window or render state
// (the random pools and textures are made once, by the window that draws): for reading the
// GL's limits, or drawing a picture of one's own. CloseBareContext releases what it made.
bool OpenBareContext(const Platform &backend, int width, int height, int colorBits);
void CloseBareContext();

// One frame at clock: the clock stepped, the scene drawn with its afterglow and presented, as
// a pass of the live loop without events. The present ends the frame (unpresented frames pile
// up in the driver).
void DrawFrameAt(uint32_t clock);
// One frame at clock that nobody sees: the clock stepped and the scene drawn, without the
// afterglow or a present. Seeking's silent run, and the tests' probes of single frames.
void DrawUnseenFrameAt(uint32_t clock);

// The first frame drawn at full size so that frame `first` can be read back: its lead-in's
// first under reduced flashing, else itself.
uint64_t FirstFullSizeFrame(uint64_t first, long fps);

enum PixelLayout { PIXELS_RGB, PIXELS_BGRA };
// The view's lower left width x height pixels as they are now, bottom row first, rows packed:
// 3 bytes a pixel for PIXELS_RGB, 4 for PIXELS_BGRA.
void ReadBackFrame(int width, int height, PixelLayout layout, unsigned char *pixels);

// A run's frames, in order from frame 0, each at the view that the skim rules give it.
class OfflineRun {
  public:
    // Frames of width x height, the window's size, at fps frames a second; with wholeAfterglow,
    // under reduced flashing, every frame before one read back is drawn at full size.
    OfflineRun(int width, int height, long fps, bool wholeAfterglow = false)
        : width(width), height(height), fps(fps), wholeAfterglow(wholeAfterglow) {}
    // Frames first to last (inclusive) will be read back.
    void Need(uint64_t first, uint64_t last);
    // Draws the frames from Next() up to `frame`, which is drawn next. The frames before the
    // lead-in only move the state on: where they go (now the skim view) is this step's alone.
    void SkimTo(uint64_t frame);
    // Draws frame Next() and moves on; returns its clock, which under loopDemo (shell/loop.h)
    // counts from the start of the current pass of the demo.
    uint32_t DrawNext();
    uint64_t Next() const { return next; }
    // Reads the frame just drawn back at its full size (ReadBackFrame).
    void ReadBack(PixelLayout layout, unsigned char *pixels) const;

  private:
    bool Wanted(uint64_t frame) const;  // whether frame is drawn at full size
    int width, height;
    long fps;
    bool wholeAfterglow;
    std::vector<uint64_t> from, to;  // the spans drawn at full size
    uint64_t next = 0;
    bool full = true;  // the window opens at full size
};

}  // namespace kelvorin
