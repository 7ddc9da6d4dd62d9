#include "capture/flash.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace kelvorin {

namespace {

const int GRID = 48;         // cells across and down
const int THIRD = GRID / 3;  // a 10-degree field, and our own check's window
const int FIELD_STEP = GRID / 12, WINDOW_STEP = GRID / 6;
const double GENERAL_CHANGE = 0.1, DARKER_BELOW = 0.8;
const double RED_SHARE = 0.8, RED_AMOUNT = 1.0 / 16, RED_SHIFT = 0.2;

struct Linear {
    float table[256];
    Linear() {
        for (int i = 0; i < 256; i++) {
            double c = i / 255.0;
            table[i] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
    }
};
const Linear LINEAR;

double Luminance(const double rgb[3]) {
    return 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
}

// A colour's place in CIE 1976 u'v', and whether it is a saturated red: red is at least 80 % of
// its light and, so that near-black does not count, exceeds green and blue together by 1/16.
struct Chroma {
    double u, v;
    bool red;
};

Chroma ChromaOf(const double rgb[3]) {
    double x = 0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2];
    double y = Luminance(rgb);
    double z = 0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2];
    double d = x + 15 * y + 3 * z, sum = rgb[0] + rgb[1] + rgb[2];
    bool red = sum > 0 && rgb[0] / sum >= RED_SHARE && rgb[0] - rgb[1] - rgb[2] > RED_AMOUNT;
    if (d <= 1e-9) return {0.1978, 0.4683, false};  // black: the white point's chromaticity
    return {4 * x / d, 9 * y / d, red};
}

// Runs of relative luminance: a transition when a run in one direction has changed by 0.1
// with its darker end below 0.8; a peak or a valley starts the next run.
struct Run {
    bool started = false, counted = false;
    double start = 0, last = 0;
    int direction = 0;

    bool Step(double y) {
        if (!started) {
            started = true;
            start = last = y;
            return false;
        }
        if (y == last) return false;
        int now = y > last ? 1 : -1;
        if (now != direction) {
            direction = now;
            start = last;
            counted = false;
        }
        last = y;
        if (counted || std::fabs(y - start) < GENERAL_CHANGE || std::min(y, start) >= DARKER_BELOW)
            return false;
        return counted = true;
    }
    // +1 or -1 while in a run that has made a transition, else 0.
    int Swing() const { return counted ? direction : 0; }
};

// Red transitions: from the colour of the last one, a move of more than 0.2 in u'v' to or from
// a saturated red. Without red on either side the starting point follows the colour.
struct RedRun {
    bool started = false;
    Chroma from{0, 0, false};
    int swing = 0;  // +1 after a transition to red, -1 after one from red

    void Step(const Chroma &c) {
        bool red = from.red || c.red;
        if (!started || !red) {
            started = true;
            from = c;
        } else if (std::hypot(c.u - from.u, c.v - from.v) > RED_SHIFT) {
            from = c;
            swing = c.red ? 1 : -1;
        }
    }
};

// The clocks of the transitions in the last second.
struct Recent {
    std::deque<uint32_t> clocks;

    int Count(bool now, uint32_t clock) {
        if (now) clocks.push_back(clock);
        while (!clocks.empty() && clock - clocks.front() >= 1000) clocks.pop_front();
        return int(clocks.size());
    }
};

const char *PartOfFrame(double across, double down) {
    static const char *const NAMES[3][3] = {{"top-left", "top", "top-right"},
                                            {"left", "centre", "right"},
                                            {"bottom-left", "bottom", "bottom-right"}};
    auto third = [](double f) { return f < 0.4 ? 0 : f > 0.6 ? 2 : 1; };
    return NAMES[third(down)][third(across)];
}

}  // namespace

bool FlashSecond::Fails() const {
    return std::any_of(transitions, transitions + FLASH_MEASURES,
                       [](int n) { return n > MOST_TRANSITIONS; });
}

struct FlashAnalysis::Cell {
    Run general;
    RedRun red;
};

// A square of cells: a WCAG field, or one of our own check's windows. A window has a run of
// its mean light; a field, for each kind of flash, the way its cells last swung together.
struct FlashAnalysis::Window {
    int column, row;  // of its lower left cell
    std::string name;
    Run run;
    int swing[2] = {0, 0};
    Recent transitions[2];
};

FlashAnalysis::FlashAnalysis(int width, int height)
    : width(width),
      height(height),
      cellOfColumn(width),
      cellOfRow(height),
      cellLight(GRID * GRID * 3),
      cellPixels(GRID * GRID, 0),
      rowLight(GRID * 3),
      cells(GRID * GRID) {
    for (int x = 0; x < width; x++) cellOfColumn[x] = x * GRID / width;
    for (int y = 0; y < height; y++) cellOfRow[y] = y * GRID / height;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) cellPixels[cellOfRow[y] * GRID + cellOfColumn[x]]++;
    auto squares = [](std::vector<Window> &out, int step) {
        for (int row = 0; row + THIRD <= GRID; row += step)
            for (int column = 0; column + THIRD <= GRID; column += step) {
                Window w;
                w.column = column, w.row = row;
                double centre = THIRD / 2.0 / GRID;
                w.name =
                    PartOfFrame(double(column) / GRID + centre, 1 - double(row) / GRID - centre);
                out.push_back(w);
            }
    };
    squares(fields, FIELD_STEP);
    squares(windows, WINDOW_STEP);
    // Nearest the middle first: where windows tie, the report names the most central.
    auto offCentre = [](const Window &w) {
        return std::abs(2 * w.column + THIRD - GRID) + std::abs(2 * w.row + THIRD - GRID);
    };
    auto centralFirst = [&](const Window &a, const Window &b) {
        return offCentre(a) < offCentre(b);
    };
    std::stable_sort(fields.begin(), fields.end(), centralFirst);
    std::stable_sort(windows.begin(), windows.end(), centralFirst);
}

FlashAnalysis::~FlashAnalysis() = default;

void FlashAnalysis::AddFrame(const unsigned char *rgb, uint32_t clock) {
    std::fill(cellLight.begin(), cellLight.end(), 0.0);
    for (int y = 0; y < height; y++) {
        std::fill(rowLight.begin(), rowLight.end(), 0.0f);
        const unsigned char *p = rgb + size_t(y) * width * 3;
        for (int x = 0; x < width; x++, p += 3) {
            float *sum = &rowLight[cellOfColumn[x] * 3];
            sum[0] += LINEAR.table[p[0]];
            sum[1] += LINEAR.table[p[1]];
            sum[2] += LINEAR.table[p[2]];
        }
        double *row = &cellLight[cellOfRow[y] * GRID * 3];
        for (int i = 0; i < GRID * 3; i++) row[i] += rowLight[i];
    }

    long second = long(clock / 1000);
    if (seconds.empty() || seconds.back().second != second) {
        seconds.emplace_back();
        seconds.back().second = second;
    }
    FlashSecond &worst = seconds.back();
    auto note = [&worst](FlashMeasure measure, int transitions, const std::string &where) {
        if (transitions <= worst.transitions[measure]) return;
        worst.transitions[measure] = transitions;
        worst.where[measure] = where;
    };

    for (int i = 0; i < GRID * GRID; i++) {
        double light[3];
        for (int k = 0; k < 3; k++) light[k] = cellLight[i * 3 + k] / std::max(cellPixels[i], 1L);
        cells[i].general.Step(Luminance(light));
        cells[i].red.Step(ChromaOf(light));
    }
    // Flashes occur together where a quarter of a field more swings one way than the other:
    // cells that swing at random, as a moving pattern's do, cancel out. A field's transition
    // is a change of the way it swings.
    for (Window &f : fields)
        for (int m = 0; m < 2; m++) {
            int net = 0;
            for (int row = f.row; row < f.row + THIRD; row++)
                for (int column = f.column; column < f.column + THIRD; column++) {
                    const Cell &c = cells[row * GRID + column];
                    net += m == GENERAL_FLASH ? c.general.Swing() : c.red.swing;
                }
            int swing = net * 4 >= THIRD * THIRD ? 1 : net * 4 <= -THIRD * THIRD ? -1 : 0;
            bool turned = swing != 0 && swing != f.swing[m];
            if (turned) f.swing[m] = swing;
            note(FlashMeasure(m), f.transitions[m].Count(turned, clock), f.name);
        }
    for (Window &w : windows) {
        double light[3] = {0, 0, 0};
        long pixels = 0;
        for (int row = w.row; row < w.row + THIRD; row++)
            for (int column = w.column; column < w.column + THIRD; column++) {
                for (int k = 0; k < 3; k++) light[k] += cellLight[(row * GRID + column) * 3 + k];
                pixels += cellPixels[row * GRID + column];
            }
        for (double &c : light) c /= std::max(pixels, 1L);
        note(OWN_CHECK, w.transitions[0].Count(w.run.Step(Luminance(light)), clock), w.name);
    }
}

}  // namespace kelvorin
