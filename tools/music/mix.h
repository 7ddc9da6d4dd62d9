// The mix that every voice adds itself into: the stereo buffers and the sends, where a voice
// sits, the ducking under the hard kicks, and the passes that finish the mix.
#pragma once
#include <vector>

#include "music/synth.h"

namespace kelvorin::music {

// The mix, built up voice by voice, and the mono sends that feed the echo and the reverb.
extern std::vector<float> mixL, mixR, revSend, dlySend;

// Kick level on each beat (0: none) and whether it is the hard kick that the bass and pads duck
// under. The kicks are planned first so that every ducked voice can follow them.
extern std::vector<float> kickLevel;
extern std::vector<char> kickHard;
extern std::vector<float> duckCurve;  // how deep the ducked parts dip, per frame after a hard kick

// Where a voice sits: left and right gains from an equal-power pan (centre gives `gain` on both
// sides) and its send levels to the reverb and the echo.
struct Place {
    float l, r, rev, dly;
};

Place At(float gain, float pan, float rev, float dly);

inline void Emit(long n, float x, const Place &p) {
    if (n < 0 || n >= TOTAL) return;
    mixL[n] += x * p.l;
    mixR[n] += x * p.r;
    revSend[n] += x * p.rev;
    dlySend[n] += x * p.dly;
}

inline void EmitStereo(long n, float l, float r, const Place &p) {
    if (n < 0 || n >= TOTAL) return;
    mixL[n] += l * p.l;
    mixR[n] += r * p.r;
    revSend[n] += 0.5f * (l + r) * p.rev;
    dlySend[n] += 0.5f * (l + r) * p.dly;
}

// Gain of the ducked parts at frame n: they dip under each hard kick and swell back within the
// beat, which leaves the low end to the kick on every beat.
inline float Duck(long n) {
    const long b = n / BEAT;
    if (n < 0 || b >= NUM_BEATS || !kickHard[b]) return 1.0f;
    return 1.0f - duckCurve[n - b * BEAT];
}

// Linear fade over the last 10 ms of a sound of `len` frames, so no voice ends with a click.
inline float Tail(long i, long len) { return std::min(1.0f, float(len - i) / (0.01f * RATE)); }

// Ping-pong echo of three sixteenths: left, then right, then left..., each repeat softer and
// darker. Runs before the reverb and sends a little of itself into it.
void Echo();

// A small stereo room: eight parallel combs into four all-passes per side, the right side's
// delays a little longer so the two sides decorrelate.
void Reverb();

// Masters the finished mix in place (master.cpp): removes DC, turns down the pile-ups, fades out
// to exact silence, then sets the level to -14 LUFS integrated and holds the true peak below
// -1.5 dBTP, full scale being 1.0.
void Master();

}  // namespace kelvorin::music
