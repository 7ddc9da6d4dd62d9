// Drums: kick, snare, clap, hats, crash, noise swells and booms, from sines, noise and metal.
#include <cmath>

#include "music/instruments.h"
#include "music/mix.h"

namespace kelvorin::music {

namespace {

// The body of the kick, the snare and the boom: a sine whose pitch falls from base + sweep Hz
// towards base while it fades, sweep and level each multiplied by their decay every frame.
struct FallingSine {
    double base, sweep, level, kSweep, kLevel;
    double phase = 0;
    double Next() {
        phase += (base + sweep) / RATE;
        const double x = Sine(phase) * level;
        sweep *= kSweep;
        level *= kLevel;
        return x;
    }
};

}  // namespace

// Kick: a sine whose pitch falls fast from a thump to 44 Hz; the hard kick adds drive and a
// click, the soft one of the calm parts is rounder and quieter.
void Kick(long n0, float level, bool hard) {
    const Place p = At(level, 0, 0.02f, 0);
    const long len = long(0.36 * RATE);
    FallingSine body{44.0, hard ? 150.0 : 75.0, 1, Decay(0.028), Decay(0.095)};
    const double kClick = Decay(0.002);
    double click = 0.3;
    for (long i = 0; i < len; i++) {
        double x = body.Next() * std::min(1.0, i / 30.0);
        if (hard) x = std::tanh(1.5 * x) / std::tanh(1.5) + Noise() * click;
        click *= kClick;
        Emit(n0 + i, float(x) * Tail(i, len), p);
    }
}

// Snare: a short falling tone for the body and high-passed noise for the rattle.
void Snare(long n0, float level) {
    const Place p = At(level, 0, 0.22f, 0.03f);
    const long len = long(0.32 * RATE);
    Svf hp;
    SvfSet(hp, 1800, 0.7);
    FallingSine body{175.0, 70, 0.55, Decay(0.015), Decay(0.05)};
    const double kRattle = Decay(0.11);
    double rattle = 0.9;
    for (long i = 0; i < len; i++) {
        const double x = body.Next() + SvfRun(hp, Noise(), HIGH) * rattle;
        rattle *= kRattle;
        Emit(n0 + i, float(x) * Tail(i, len), p);
    }
}

// Clap: three quick bursts of band-passed noise and a short tail.
void Clap(long n0, float level) {
    const Place p = At(level, 0, 0.3f, 0.05f);
    const long len = long(0.35 * RATE);
    Svf bp;
    SvfSet(bp, 1200, 1.4);
    for (long i = 0; i < len; i++) {
        const double t = double(i) / RATE;
        const double env =
            t < 0.027 ? std::exp(-std::fmod(t, 0.009) / 0.0035) : std::exp(-(t - 0.027) / 0.1);
        Emit(n0 + i, SvfRun(bp, Noise(), BAND) * float(env) * 1.3f * Tail(i, len), p);
    }
}

namespace {

// Six detuned square waves: the metallic body of hats and cymbals.
const double METAL[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

float Metal(double *phase, double scale) {
    float m = 0;
    for (int k = 0; k < 6; k++) {
        phase[k] += METAL[k] * scale / RATE;
        if (phase[k] >= 1.0) phase[k] -= 1.0;
        m += phase[k] < 0.5 ? 1.0f : -1.0f;
    }
    return m / 6.0f;
}

}  // namespace

void Hat(long n0, float level, bool open, float pan) {
    const Place p =
        At(2.5f * level, pan, 0.08f, 0);  // 2.5: makes up for what the high-pass removes
    const long len = long((open ? 0.5 : 0.09) * RATE);
    const float k = float(Decay(open ? 0.16 : 0.028));
    Svf hp;
    SvfSet(hp, 7000, 0.8);
    double phase[6] = {0, 0, 0, 0, 0, 0};
    float env = 1;
    for (long i = 0; i < len; i++) {
        const float x = 0.5f * Metal(phase, 1.9) + 0.6f * Noise();
        Emit(n0 + i, SvfRun(hp, x, HIGH) * env * Tail(i, len), p);
        env *= k;
    }
}

// Crash cymbal: noise and metal, high-passed, decorrelated left and right.
void Crash(long n0, float level) {
    const Place p = At(level, 0, 0.3f, 0);
    const long len = long(3.2 * RATE);
    Svf hl, hr;
    SvfSet(hl, 4500, 0.7);
    SvfSet(hr, 4800, 0.7);
    double phase[6] = {0, 0, 0, 0, 0, 0};
    const double k = Decay(0.75);
    double decay = 1;
    for (long i = 0; i < len; i++, decay *= k) {
        const float env =
            float(decay * std::min(1.0, i / 88.0)) * std::min(1.0f, float(len - i) / (0.3f * RATE));
        const float m = 0.4f * Metal(phase, 2.7);
        const float l = SvfRun(hl, Noise() + m, HIGH) * env;
        const float r = SvfRun(hr, Noise() + m, HIGH) * env;
        EmitStereo(n0 + i, l, r, p);
    }
}

// Noise swell from n0 to n1: a band-pass sweeping from f0 to f1 Hz while the level rises with
// the given power of the progress (2: a riser; 4: a reversed cymbal that surges at the end).
void Swell(long n0, long n1, float level, double f0, double f1, double curve) {
    const Place p = At(level, 0, 0.35f, 0.1f);
    const long len = n1 - n0;
    Svf fl, fr;
    for (long i = 0; i < len; i++) {
        const double u = double(i) / len;
        if (i % 32 == 0) {
            const double f = f0 * std::pow(f1 / f0, u);
            SvfSet(fl, f, 1.2);
            SvfSet(fr, f * 1.03, 1.2);
        }
        const float env =
            float(std::pow(u, curve)) * std::min(1.0f, float(len - i) / (0.006f * RATE));
        // C++ leaves the order of the calls in an argument list to the compiler, so the two draws
        // are statements of their own: the right side's first, as the released track has them.
        const float noiseR = Noise();
        const float noiseL = Noise();
        EmitStereo(n0 + i, SvfRun(fl, noiseL, BAND) * env, SvfRun(fr, noiseR, BAND) * env, p);
    }
}

// Boom: a deep falling sine for impacts and section starts.
void Boom(long n0, float level) {
    const Place p = At(level, 0, 0.15f, 0);
    const long len = long(1.8 * RATE);
    FallingSine body{32.0, 45, 1, Decay(0.08), Decay(0.6)};
    for (long i = 0; i < len; i++)
        Emit(n0 + i, float(body.Next() * std::min(1.0, i / 40.0)) * Tail(i, len), p);
}

}  // namespace kelvorin::music
