// Flashes in a sequence of frames, by two measures:
//  - WCAG 2.3.1: a general flash is a pair of opposing changes of relative luminance of 0.1 or
//    more where the darker side is below 0.8; a red flash a pair of opposing changes to or from
//    a saturated red that move the colour more than 0.2 in CIE 1976 u'v'. Flashes count where
//    they occur together over a quarter of a 10-degree field (341x256 at 1024x768: a third of
//    the frame each way). The frame is measured in a grid of 48 x 48 cells, each cell's mean
//    light taken as one; the fields are squares of 16 x 16 cells, sliding by 4.
//  - Our own, stricter check: the mean relative luminance of every window of a third of the
//    frame's width and height, sliding by a sixth.
// A transition is a run of change in one direction: it counts once, when it has reached the
// size above. More than six transitions (three flashes) within one second fail.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kelvorin {

enum FlashMeasure { GENERAL_FLASH, RED_FLASH, OWN_CHECK, FLASH_MEASURES };

const int MOST_TRANSITIONS = 6;  // in any one second; one more fails

// By measure, the most transitions in any one second that ends within this second of the
// clock, and where they were, as a part of the frame ("top-left", "centre"...; empty when none).
struct FlashSecond {
    long second = 0;
    int transitions[FLASH_MEASURES] = {0, 0, 0};
    std::string where[FLASH_MEASURES];
    bool Fails() const;
};

class FlashAnalysis {
  public:
    FlashAnalysis(int width, int height);
    ~FlashAnalysis();
    // One frame of width x height 8-bit sRGB pixels, bottom row first as glReadPixels writes
    // them, at a clock after the previous frame's.
    void AddFrame(const unsigned char *rgb, uint32_t clock);
    // Every second that some frame fell into, in order.
    const std::vector<FlashSecond> &Seconds() const { return seconds; }

  private:
    struct Cell;
    struct Window;
    int width, height;
    std::vector<int> cellOfColumn, cellOfRow;
    std::vector<double> cellLight;  // linear R, G, B sums per cell
    std::vector<long> cellPixels;
    std::vector<float> rowLight;
    std::vector<Cell> cells;
    std::vector<Window> fields, windows;  // WCAG's fields, our own check's windows
    std::vector<FlashSecond> seconds;
};

}  // namespace kelvorin
