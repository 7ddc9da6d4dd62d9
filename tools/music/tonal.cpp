// Tonal instruments: bass, pads, lead, pluck, bell and chord stab.
#include <cmath>

#include "music/instruments.h"
#include "music/mix.h"

namespace kelvorin::music {

// Bass note: two slightly detuned saws through a resonant low-pass whose cutoff snaps open at
// the note's start, softly saturated; ducked under the kick.
void Bass(long n0, long hold, int midi, float level, double cutoff, double envAmt, double reso) {
    const Place p = At(level, 0, 0, 0);
    const long len = hold + long(0.015 * RATE);
    const double inc1 = MidiHz(midi) / RATE, inc2 = MidiHz(midi + 0.08) / RATE;
    double ph1 = 0, ph2 = 0.3;
    Svf f;
    for (long i = 0; i < len; i++) {
        const double t = double(i) / RATE;
        if (i % 16 == 0) SvfSet(f, cutoff + envAmt * std::exp(-t / 0.06), reso);
        const float x = 0.6f * Saw(ph1, inc1) + 0.45f * Saw(ph2, inc2);
        const float y = std::tanh(1.4f * SvfRun(f, x, LOW));
        float amp = std::min(1.0f, float(i) / (0.003f * RATE));
        if (i >= hold) amp *= 1.0f - float(i - hold) / float(len - hold);
        Emit(n0 + i, y * amp * Duck(n0 + i), p);
    }
}

// Pad chord from n0 to n1: three detuned saws per note spread across the stereo field, one slow
// low-pass per side whose cutoff moves from cut0 to cut1 Hz and breathes with a slow wave.
// Slow attack, long release; dips half as deep as the bass under the kick.
void Pad(long n0, long n1, const int *notes, int count, float level, double cut0, double cut1) {
    const Place p = At(level, 0, 0.45f, 0.05f);
    const double detune[3] = {-0.11, 0.0, 0.12};
    const float spreadL[3] = {0.9f, 0.6f, 0.25f}, spreadR[3] = {0.25f, 0.6f, 0.9f};
    double phase[4][3], inc[4][3];
    count = std::min(count, 4);
    for (int k = 0; k < count; k++) {
        for (int j = 0; j < 3; j++) {
            inc[k][j] = MidiHz(notes[k] + detune[j]) / RATE;
            phase[k][j] = 0.5 * (Noise() + 1.0f);
        }
    }
    const long hold = std::max(1L, n1 - n0);
    const long len = hold + long(1.3 * RATE);
    Svf fl, fr;
    float env = 0;
    for (long i = 0; i < len; i++) {
        const long n = n0 + i;
        if (n >= TOTAL) break;
        const double t = double(i) / RATE;
        if (i % 64 == 0) {
            const double u = std::min(1.0, double(i) / hold);
            const double cut =
                cut0 * std::pow(cut1 / cut0, u) * (1.0 + 0.25 * std::sin(2 * PI * 0.11 * n / RATE));
            SvfSet(fl, cut, 0.8);
            SvfSet(fr, cut * 1.05, 0.8);
        }
        float l = 0, r = 0;
        for (int k = 0; k < count; k++) {
            for (int j = 0; j < 3; j++) {
                const float s = Saw(phase[k][j], inc[k][j]);
                l += s * spreadL[j];
                r += s * spreadR[j];
            }
        }
        if (i % 16 == 0) env = Adsr(t, 0.6, 1.0, 0.8, 1.2, double(hold) / RATE);
        const float g = env * (0.5f + 0.5f * Duck(n));
        EmitStereo(n, SvfRun(fl, l, LOW) * g, SvfRun(fr, r, LOW) * g, p);
    }
}

// Lead note: two saws and a sub square with delayed vibrato through a low-pass that opens at the
// attack; echo and reverb give it space.
void Lead(long n0, long hold, int midi, float level, double bright) {
    const Place p = At(level, 0, 0.22f, 0.32f);
    const long len = hold + long(0.25 * RATE);
    const double base = MidiHz(midi) / RATE;
    double ph1 = 0, ph2 = 0.25, ph3 = 0;
    float env = 0;
    Svf f;
    for (long i = 0; i < len; i++) {
        const double t = double(i) / RATE;
        const double vib = t > 0.18 ? 0.13 * std::min(1.0, (t - 0.18) / 0.3) * Sine(5.3 * t) : 0.0;
        const double inc = base * (1.0 + vib * 0.05776);  // 0.05776 = ln 2 / 12: semitones to ratio
        if (i % 16 == 0) {
            SvfSet(f, bright * (0.6 + 1.4 * std::exp(-t / 0.22)), 1.1);
            env = Adsr(t, 0.005, 0.3, 0.7, 0.2, double(hold) / RATE);
        }
        const float x = 0.5f * Saw(ph1, inc) + 0.5f * Saw(ph2, inc * 1.0035) +
                        0.3f * Square(ph3, inc * 0.5, 0.5);
        Emit(n0 + i, SvfRun(f, x, LOW) * env, p);
    }
}

// Pluck: a short square-and-saw note with a fast closing filter, for arpeggios and stutters.
void Pluck(long n0, int midi, float level, float pan, double bright) {
    const Place p = At(2.0f * level, pan, 0.25f, 0.4f);  // 2: makes up for the closing filter
    const long len = long(0.5 * RATE);
    const double inc = MidiHz(midi) / RATE;
    double ph1 = 0, ph2 = 0.5;
    const float k = float(Decay(0.16));
    float decay = 1;
    Svf f;
    for (long i = 0; i < len; i++, decay *= k) {
        if (i % 16 == 0) SvfSet(f, 200.0 + bright * std::exp(-double(i) / (0.08 * RATE)), 1.5);
        const float x = 0.6f * Square(ph1, inc, 0.3) + 0.4f * Saw(ph2, inc * 1.003);
        const float env = decay * std::min(1.0f, i / 44.0f) * Tail(i, len);
        Emit(n0 + i, SvfRun(f, x, LOW) * env, p);
    }
}

// Bell: two-operator FM at ratio 3.5, its brightness fading faster than its level.
void Bell(long n0, int midi, float level, float pan) {
    const Place p = At(level, pan, 0.45f, 0.45f);
    const long len = long(2.4 * RATE);
    const double inc = MidiHz(midi) / RATE;
    const double kIndex = Decay(0.4), kAmp = Decay(0.8);
    double pc = 0, pm = 0, index = 2.5 / (2 * PI), amp = 1;  // index in cycles of phase
    for (long i = 0; i < len; i++) {
        pc += inc;
        pm += inc * 3.5;
        if (pc >= 1.0) pc -= 1.0;
        if (pm >= 1.0) pm -= 1.0;
        const double x = Sine(pc + index * Sine(pm));
        Emit(n0 + i, float(x * amp * std::min(1.0, i / 60.0)) * Tail(i, len), p);
        index *= kIndex;
        amp *= kAmp;
    }
}

// Stab: a bright chord hit whose filter closes within a tenth of a second.
void Stab(long n0, const int *notes, int count, float level) {
    const Place p = At(level, 0, 0.5f, 0.25f);
    const long len = long(1.0 * RATE);
    double phase[8], inc[8];
    count = std::min(count, 4);
    for (int k = 0; k < count; k++) {
        inc[2 * k] = MidiHz(notes[k] - 0.1) / RATE;
        inc[2 * k + 1] = MidiHz(notes[k] + 0.1) / RATE;
        phase[2 * k] = 0;
        phase[2 * k + 1] = 0.5;
    }
    Svf fl, fr;
    for (long i = 0; i < len; i++) {
        const double t = double(i) / RATE;
        if (i % 16 == 0) {
            const double cut = 600.0 + 6000.0 * std::exp(-t / 0.1);
            SvfSet(fl, cut, 0.9);
            SvfSet(fr, cut * 1.04, 0.9);
        }
        float l = 0, r = 0;
        for (int k = 0; k < count; k++) {
            l += Saw(phase[2 * k], inc[2 * k]);
            r += Saw(phase[2 * k + 1], inc[2 * k + 1]);
        }
        const float env = float(std::exp(-t / 0.3) * std::min(1.0, i / 60.0)) * Tail(i, len);
        EmitStereo(n0 + i, SvfRun(fl, l, LOW) * env, SvfRun(fr, r, LOW) * env, p);
    }
}

}  // namespace kelvorin::music
