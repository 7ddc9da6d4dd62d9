// Seeded noise, pitch and time conversions, the sine table, filter coefficients and envelopes.
#include "music/synth.h"

namespace kelvorin::music {

uint32_t noiseState = 0x4b454c56u;

float Noise() {
    noiseState ^= noiseState << 13;
    noiseState ^= noiseState >> 17;
    noiseState ^= noiseState << 5;
    return float(noiseState >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

long BeatFrame(double beat) { return std::lround(beat * BEAT); }
long SecFrame(double seconds) { return std::lround(seconds * RATE); }
double MidiHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

float sineTable[SINE_SIZE + 1];

void FillSineTable() {
    for (int k = 0; k <= SINE_SIZE; k++) sineTable[k] = float(std::sin(2 * PI * k / SINE_SIZE));
}

double Decay(double tau) { return std::exp(-1.0 / (tau * RATE)); }

void SvfSet(Svf &f, double hz, double q) {
    hz = std::clamp(hz, 20.0, 0.45 * RATE);
    const double g = std::tan(PI * hz / RATE);
    f.k = float(1.0 / q);
    f.a1 = float(1.0 / (1.0 + g * (g + f.k)));
    f.a2 = float(g * f.a1);
    f.a3 = float(g * f.a2);
}

float Adsr(double t, double a, double d, double s, double r, double hold) {
    auto held = [&](double u) {
        if (u < a) return u / a;
        return s + (1.0 - s) * std::exp(-(u - a) / d);
    };
    if (t < hold) return float(held(t));
    const double rel = (t - hold) / r;
    if (rel >= 1.0) return 0.0f;
    return float(held(hold) * (1.0 - rel) * (1.0 - rel));
}

}  // namespace kelvorin::music
