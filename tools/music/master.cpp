// Mastering: the finished mix made ready for playback and for encoding to AAC or a web format:
// DC removed, pile-ups turned down, the fade, a gain to -14 LUFS and a true-peak limiter.
#include <algorithm>
#include <cmath>
#include <vector>

#include "music/mix.h"

namespace kelvorin::music {

namespace {

constexpr double FADE_START = 187.6 * RATE;  // the last greetings leave the board at about 188.4 s
constexpr double FADE_END = 190.6 * RATE;    // silence from here to the end

// Video and streaming players play at about -14 LUFS and want a true peak of -1 dBTP or less;
// the ceiling leaves half a decibel for meters whose interpolation differs from ours.
constexpr double TARGET_LUFS = -14.0;
constexpr double CEILING_DBTP = -1.5;

// Removes DC and turns down the pile-ups. The ceiling sits just above a lone hard kick's peak, so
// the kicks pass untouched and only the moments where a boom or a crash lands on a kick are turned
// down (instant attack, 80 ms release) instead of setting the level of the whole track.
void RemoveDcAndPileUps() {
    const float ceiling = 1.1f, release = float(Decay(0.08));
    float xl = 0, xr = 0, yl = 0, yr = 0, env = 0;
    for (long n = 0; n < TOTAL; n++) {
        yl = mixL[n] - xl + 0.9995f * yl;
        xl = mixL[n];
        yr = mixR[n] - xr + 0.9995f * yr;
        xr = mixR[n];
        env = std::max(std::max(std::fabs(yl), std::fabs(yr)), env * release);
        const float g = env > ceiling ? ceiling / env : 1.0f;
        mixL[n] = yl * g;
        mixR[n] = yr * g;
    }
}

// The last notes ring out under a raised-cosine fade that ends in exact silence.
void Fade() {
    for (long n = long(FADE_START); n < TOTAL; n++) {
        const double g =
            n >= FADE_END ? 0.0
                          : 0.5 * (1.0 + std::cos(PI * (n - FADE_START) / (FADE_END - FADE_START)));
        mixL[n] = float(mixL[n] * g);
        mixR[n] = float(mixR[n] * g);
    }
}

struct Biquad {
    double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
    double Run(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// Integrated loudness in LUFS after ITU-R BS.1770-4 and EBU R128: K-weighting (a high shelf of
// +4 dB above about 1.7 kHz, then a high-pass at 38 Hz, at our rate), mean square over 400 ms
// blocks every 100 ms, an absolute gate at -70 LUFS and a relative gate 10 LU below the rest.
double IntegratedLoudness() {
    double k = std::tan(PI * 1681.974450955533 / RATE), q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0),
                 vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    const Biquad shelf{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
                       (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
                       (1.0 - k / q + k * k) / a0};
    k = std::tan(PI * 38.13547087602444 / RATE);
    q = 0.5003270373238773;
    a0 = 1.0 + k / q + k * k;
    const Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};

    // Sum of squares of both weighted channels per 100 ms.
    const long STEP = RATE / 10;
    std::vector<double> quarter(TOTAL / STEP, 0.0);
    for (const std::vector<float> *channel : {&mixL, &mixR}) {
        Biquad s = shelf, h = highPass;
        for (long n = 0; n < long(quarter.size()) * STEP; n++) {
            const double y = h.Run(s.Run((*channel)[n]));
            quarter[n / STEP] += y * y;
        }
    }
    std::vector<double> blocks;  // mean square of each 400 ms block
    for (size_t i = 3; i < quarter.size(); i++)
        blocks.push_back((quarter[i - 3] + quarter[i - 2] + quarter[i - 1] + quarter[i]) /
                         (4.0 * STEP));
    auto lufs = [](double power) { return -0.691 + 10.0 * std::log10(power); };
    auto gatedMean = [&](double gate) {
        double sum = 0;
        long count = 0;
        for (double z : blocks)
            if (z > 0 && lufs(z) > gate) sum += z, count++;
        return count ? sum / count : 0.0;
    };
    const double ungated = gatedMean(-70.0);
    if (ungated <= 0) return -HUGE_VAL;
    return lufs(gatedMean(std::max(-70.0, lufs(ungated) - 10.0)));
}

// The true peak of each frame over both channels: the largest of its samples and of the signal
// between them at a quarter, a half and three quarters of a frame, interpolated with a
// Hann-windowed sinc of 32 taps per phase. A point between samples is a weighted sum of the 32
// around it, so it is at most their largest magnitude times the sum of the weights' magnitudes:
// where that cannot pass `ceiling`, only the samples are measured, which tells the limiter the
// same (nothing to do there) at a fraction of the cost.
constexpr int REACH = 16;  // frames on each side that an interpolated value depends on

std::vector<float> TruePeaks(float ceiling) {
    float taps[3][2 * REACH], gain = 0;
    for (int p = 1; p <= 3; p++) {
        float sum = 0;
        for (int j = 0; j < 2 * REACH; j++) {
            const double t = p / 4.0 - (j - REACH + 1);  // from the tap's frame to the point
            taps[p - 1][j] =
                float(std::sin(PI * t) / (PI * t) * 0.5 * (1.0 + std::cos(PI * t / REACH)));
            sum += std::fabs(taps[p - 1][j]);
        }
        gain = std::max(gain, sum * 1.001f);  // a little over, for the rounding of the sums
    }
    std::vector<float> peak(TOTAL, 0.0f);
    // Block by block, from a copy that is silent beyond the track's ends: fixed-length loops that
    // the compiler turns into vector code.
    constexpr long BLOCK = 512;
    float in[BLOCK + 2 * REACH], y[BLOCK];  // in[i] holds frame n0 + i - REACH + 1
    for (const std::vector<float> *channel : {&mixL, &mixR}) {
        const std::vector<float> &x = *channel;
        for (long n0 = 0; n0 < TOTAL; n0 += BLOCK) {
            float largest = 0;
            for (long i = 0; i < BLOCK + 2 * REACH; i++) {
                const long n = n0 + i - REACH + 1;
                in[i] = n >= 0 && n < TOTAL ? x[n] : 0.0f;
                largest = std::max(largest, std::fabs(in[i]));
            }
            const long len = std::min(BLOCK, TOTAL - n0);
            for (long i = 0; i < len; i++)
                peak[n0 + i] = std::max(peak[n0 + i], std::fabs(in[i + REACH - 1]));
            if (largest * gain <= ceiling) continue;
            for (int p = 0; p < 3; p++) {
                std::fill(y, y + BLOCK, 0.0f);
                for (int j = 0; j < 2 * REACH; j++) {
                    const float tap = taps[p][j];
                    for (long i = 0; i < BLOCK; i++) y[i] += tap * in[i + j];
                }
                for (long i = 0; i < len; i++)
                    peak[n0 + i] = std::max(peak[n0 + i], std::fabs(y[i]));
            }
        }
    }
    return peak;
}

// Look-ahead limiter on the true peak, linked across the channels so the image stays put. Where a
// frame would pass the ceiling, the gain it needs holds over the interpolator's reach, is reached
// by a straight ramp over the 2 ms before it and recovers over about 60 ms after. Working on the
// whole track at once, it looks ahead without delaying anything: the beat grid stays in place.
// Returns false when nothing passed the ceiling.
bool LimitTruePeak(float ceiling) {
    const std::vector<float> peak = TruePeaks(ceiling);
    const long LOOKAHEAD = SecFrame(0.002);
    std::vector<float> gain(TOTAL, 1.0f);
    bool limited = false;
    for (long k = 0; k < TOTAL; k++) {
        if (peak[k] <= ceiling) continue;
        limited = true;
        const float need = ceiling / peak[k];
        for (long n = std::max(0L, k - REACH - LOOKAHEAD); n <= std::min(TOTAL - 1, k + REACH);
             n++) {
            const long before = k - REACH - n;  // frames before the hold begins
            const float g =
                before > 0 ? need + (1.0f - need) * float(before) / float(LOOKAHEAD) : need;
            gain[n] = std::min(gain[n], g);
        }
    }
    if (!limited) return false;
    const float recover = 1.0f - float(Decay(0.06));
    float g = 1.0f;
    for (long n = 0; n < TOTAL; n++) {
        g = std::min(gain[n], g + (1.0f - g) * recover);
        mixL[n] *= g;
        mixR[n] *= g;
    }
    return true;
}

}  // namespace

void Master() {
    RemoveDcAndPileUps();
    Fade();
    const double loudness = IntegratedLoudness();
    const float gain =
        std::isfinite(loudness) ? float(std::pow(10.0, (TARGET_LUFS - loudness) / 20.0)) : 1.0f;
    for (long n = 0; n < TOTAL; n++) {
        mixL[n] *= gain;
        mixR[n] *= gain;
    }
    // The gain ramps themselves can leave a sliver above the ceiling; a second pass takes it.
    const float ceiling = float(std::pow(10.0, CEILING_DBTP / 20.0));
    for (int pass = 0; pass < 3; pass++)
        if (!LimitTruePeak(ceiling)) break;
}

}  // namespace kelvorin::music
