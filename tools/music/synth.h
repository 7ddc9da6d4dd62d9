// The track's clock and the building blocks of every sound: seeded noise, a sine table,
// polyBLEP oscillators, a state-variable filter and an envelope.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "timeline/length.h"

namespace kelvorin::music {

constexpr int RATE = 44100;
constexpr long BEAT = 19845;  // frames per beat: 450 ms
// The track lasts as long as the demo (timeline/length.h), to the frame.
static_assert(int64_t(DEMO_LENGTH_MS) * RATE % 1000 == 0,
              "the demo's length is not a whole number of frames");
constexpr long TOTAL = long(int64_t(DEMO_LENGTH_MS) * RATE / 1000);
constexpr long NUM_BEATS = TOTAL / BEAT + 1;
constexpr double PI = 3.14159265358979323846;

// xorshift32: white noise in [-1, 1) from our own state, the same sequence on every run. Two
// draws never share an expression or an argument list, where C++ leaves their order to the
// compiler: each is named in a statement of its own.
float Noise();

long BeatFrame(double beat);
long SecFrame(double seconds);
double MidiHz(double midi);

// Sine of a phase in cycles from a table with linear interpolation: far cheaper than std::sin for
// the millions of oscillator frames, and exact enough (error below 1e-6).
constexpr int SINE_SIZE = 4096;
extern float sineTable[SINE_SIZE + 1];

void FillSineTable();

inline float Sine(double phase) {
    const double x = (phase - std::floor(phase)) * SINE_SIZE;
    const int k = std::min(int(x), SINE_SIZE - 1);
    const float f = float(x - k);
    return sineTable[k] + f * (sineTable[k + 1] - sineTable[k]);
}

// Per-frame factor of an exponential decay with time constant tau seconds: an envelope that is
// multiplied by it every frame falls as exp(-t / tau) without calling exp each time.
double Decay(double tau);

// Correction for the step of a saw or square at phase t, incr dt per frame (polyBLEP): takes
// the harsh aliasing out of the naive waveforms.
inline float Blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return float(t + t - t * t - 1.0);
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return float(t * t + t + t + 1.0);
    }
    return 0.0f;
}

inline float Saw(double &phase, double inc) {
    const float v = float(2.0 * phase - 1.0) - Blep(phase, inc);
    phase += inc;
    if (phase >= 1.0) phase -= 1.0;
    return v;
}

inline float Square(double &phase, double inc, double width) {
    float v = phase < width ? 1.0f : -1.0f;
    v += Blep(phase, inc);
    double down = phase + 1.0 - width;
    if (down >= 1.0) down -= 1.0;
    v -= Blep(down, inc);
    phase += inc;
    if (phase >= 1.0) phase -= 1.0;
    return v;
}

// State-variable filter in trapezoidal form: stays stable while its cutoff sweeps.
struct Svf {
    float ic1 = 0, ic2 = 0, a1 = 0, a2 = 0, a3 = 0, k = 1;
};

void SvfSet(Svf &f, double hz, double q);

enum SvfMode { LOW, BAND, HIGH };

inline float SvfRun(Svf &f, float v0, SvfMode mode) {
    const float v3 = v0 - f.ic2;
    const float v1 = f.a1 * f.ic1 + f.a2 * v3;
    const float v2 = f.ic2 + f.a2 * f.ic1 + f.a3 * v3;
    f.ic1 = 2 * v1 - f.ic1;
    f.ic2 = 2 * v2 - f.ic2;
    if (mode == LOW) return v2;
    if (mode == BAND) return v1;
    return v0 - f.k * v1 - v2;
}

// Attack-decay-sustain-release level t seconds into a note held for `hold` seconds; the decay
// falls exponentially towards the sustain level, the release curves down to 0 in r seconds.
float Adsr(double t, double a, double d, double s, double r, double hold);

}  // namespace kelvorin::music
