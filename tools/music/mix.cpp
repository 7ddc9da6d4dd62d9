// The mix buffers, the placement of a voice, and the send effects: a ping-pong echo and a small
// stereo reverb.
#include "music/mix.h"

#include <cmath>

namespace kelvorin::music {

std::vector<float> mixL, mixR, revSend, dlySend;
std::vector<float> kickLevel;
std::vector<char> kickHard;
std::vector<float> duckCurve;

Place At(float gain, float pan, float rev, float dly) {
    const double a = (pan + 1.0) * PI / 4.0;
    const double g = gain * std::sqrt(2.0);
    return {float(g * std::cos(a)), float(g * std::sin(a)), gain * rev, gain * dly};
}

namespace {

// Comb and all-pass filters of the reverb.
struct Comb {
    std::vector<float> buf;
    size_t i = 0;
    float store = 0;
};

struct Allpass {
    std::vector<float> buf;
    size_t i = 0;
};

inline float CombTick(Comb &c, float x) {
    const float y = c.buf[c.i];
    c.store = y * 0.75f + c.store * 0.25f;  // damping: the tail darkens as it decays
    c.buf[c.i] = x + c.store * 0.84f;
    if (++c.i == c.buf.size()) c.i = 0;
    return y;
}

inline float AllpassTick(Allpass &a, float x) {
    const float b = a.buf[a.i];
    a.buf[a.i] = x + b * 0.5f;
    if (++a.i == a.buf.size()) a.i = 0;
    return b - x;
}

}  // namespace

void Reverb() {
    const int COMBS[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int PASSES[4] = {556, 441, 341, 225};
    std::vector<Comb> cl(8), cr(8);
    std::vector<Allpass> al(4), ar(4);
    for (int k = 0; k < 8; k++) {
        cl[k].buf.assign(COMBS[k], 0.0f);
        cr[k].buf.assign(COMBS[k] + 23, 0.0f);
    }
    for (int k = 0; k < 4; k++) {
        al[k].buf.assign(PASSES[k], 0.0f);
        ar[k].buf.assign(PASSES[k] + 23, 0.0f);
    }
    for (long n = 0; n < TOTAL; n++) {
        const float in = revSend[n] * 0.015f;
        float l = 0, r = 0;
        for (int k = 0; k < 8; k++) {
            l += CombTick(cl[k], in);
            r += CombTick(cr[k], in);
        }
        for (int k = 0; k < 4; k++) {
            l = AllpassTick(al[k], l);
            r = AllpassTick(ar[k], r);
        }
        mixL[n] += 2.5f * l;
        mixR[n] += 2.5f * r;
    }
}

void Echo() {
    const size_t len = size_t(std::lround(0.75 * BEAT));
    std::vector<float> bl(len, 0.0f), br(len, 0.0f);
    float lpL = 0, lpR = 0;
    size_t i = 0;
    for (long n = 0; n < TOTAL; n++) {
        const float outL = bl[i], outR = br[i];
        lpL += 0.4f * (outL - lpL);
        lpR += 0.4f * (outR - lpR);
        bl[i] = dlySend[n] + 0.42f * lpR;
        br[i] = 0.42f * lpL;
        if (++i == len) i = 0;
        mixL[n] += 0.6f * outL;
        mixR[n] += 0.6f * outR;
        revSend[n] += 0.15f * (outL + outR);
    }
}

}  // namespace kelvorin::music
