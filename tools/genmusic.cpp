// kelvorin-genmusic OUTDIR: synthesises the demo's music into OUTDIR/kelvorin.wav (16-bit stereo
// PCM, 44100 Hz, 191 s) and writes the sound list OUTDIR/Sons_WAV.txt that names it.
//
// The track is in A minor at 133 1/3 BPM: one beat every 450 ms, exactly 19845 frames, the first
// at 0 ms, so the kick lands where the scenes pulse (demo clock mod 450 below 50). Its sections
// follow the scene timeline; docs/music.md lists them. Every sound is computed here from
// oscillators, filters and our own seeded noise; nothing reads the clock, so every build writes
// the same bytes.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace kelvorin {

constexpr int RATE = 44100;
constexpr long BEAT = 19845;                // frames per beat: 450 ms
constexpr long TOTAL = 191L * RATE;         // length of the track in frames
constexpr long NUM_BEATS = TOTAL / BEAT + 1;
constexpr double FADE_START = 187.6 * RATE; // the last greetings leave the board at about 188.4 s
constexpr double FADE_END = 190.6 * RATE;   // silence from here to the end
constexpr double PI = 3.14159265358979323846;

// The mix, built up voice by voice, and the mono sends that feed the echo and the reverb.
std::vector<float> mixL, mixR, revSend, dlySend;

// Kick level on each beat (0: none) and whether it is the hard kick that the bass and pads duck
// under. The kicks are planned first so that every ducked voice can follow them.
std::vector<float> kickLevel;
std::vector<char> kickHard;
std::vector<float> duckCurve; // how deep the ducked parts dip, per frame after a hard kick

uint32_t noiseState = 0x4b454c56u;

// xorshift32: white noise in [-1, 1) from our own state, the same sequence on every run.
float Noise() {
  noiseState ^= noiseState << 13;
  noiseState ^= noiseState >> 17;
  noiseState ^= noiseState << 5;
  return float(noiseState >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

long BeatFrame(double beat) { return std::lround(beat * BEAT); }
long SecFrame(double seconds) { return std::lround(seconds * RATE); }
double MidiHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// Sine of a phase in cycles from a table with linear interpolation: far cheaper than std::sin for
// the millions of oscillator frames, and exact enough (error below 1e-6).
constexpr int SINE_SIZE = 4096;
float sineTable[SINE_SIZE + 1];

void FillSineTable() {
  for (int k = 0; k <= SINE_SIZE; k++) sineTable[k] = float(std::sin(2 * PI * k / SINE_SIZE));
}

inline float Sine(double phase) {
  const double x = (phase - std::floor(phase)) * SINE_SIZE;
  const int k = std::min(int(x), SINE_SIZE - 1);
  const float f = float(x - k);
  return sineTable[k] + f * (sineTable[k + 1] - sineTable[k]);
}

// Per-frame factor of an exponential decay with time constant tau seconds: an envelope that is
// multiplied by it every frame falls as exp(-t / tau) without calling exp each time.
double Decay(double tau) { return std::exp(-1.0 / (tau * RATE)); }

// ---------------------------------------------------------------------------------------------
// Mixing

// Where a voice sits: left and right gains from an equal-power pan (centre gives `gain` on both
// sides) and its send levels to the reverb and the echo.
struct Place {
  float l, r, rev, dly;
};

Place At(float gain, float pan, float rev, float dly) {
  const double a = (pan + 1.0) * PI / 4.0;
  const double g = gain * std::sqrt(2.0);
  return {float(g * std::cos(a)), float(g * std::sin(a)), gain * rev, gain * dly};
}

void Emit(long n, float x, const Place& p) {
  if (n < 0 || n >= TOTAL) return;
  mixL[n] += x * p.l;
  mixR[n] += x * p.r;
  revSend[n] += x * p.rev;
  dlySend[n] += x * p.dly;
}

void EmitStereo(long n, float l, float r, const Place& p) {
  if (n < 0 || n >= TOTAL) return;
  mixL[n] += l * p.l;
  mixR[n] += r * p.r;
  revSend[n] += 0.5f * (l + r) * p.rev;
  dlySend[n] += 0.5f * (l + r) * p.dly;
}

// Gain of the ducked parts at frame n: they dip under each hard kick and swell back within the
// beat, which leaves the low end to the kick on every beat.
float Duck(long n) {
  const long b = n / BEAT;
  if (n < 0 || b >= NUM_BEATS || !kickHard[b]) return 1.0f;
  return 1.0f - duckCurve[n - b * BEAT];
}

// Linear fade over the last 10 ms of a sound of `len` frames, so no voice ends with a click.
float Tail(long i, long len) { return std::min(1.0f, float(len - i) / (0.01f * RATE)); }

// ---------------------------------------------------------------------------------------------
// Oscillators, filter and envelope

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

inline float Saw(double& phase, double inc) {
  const float v = float(2.0 * phase - 1.0) - Blep(phase, inc);
  phase += inc;
  if (phase >= 1.0) phase -= 1.0;
  return v;
}

inline float Square(double& phase, double inc, double width) {
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

void SvfSet(Svf& f, double hz, double q) {
  hz = std::clamp(hz, 20.0, 0.45 * RATE);
  const double g = std::tan(PI * hz / RATE);
  f.k = float(1.0 / q);
  f.a1 = float(1.0 / (1.0 + g * (g + f.k)));
  f.a2 = float(g * f.a1);
  f.a3 = float(g * f.a2);
}

enum SvfMode { LOW, BAND, HIGH };

inline float SvfRun(Svf& f, float v0, SvfMode mode) {
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

// ---------------------------------------------------------------------------------------------
// Drums

// Kick: a sine whose pitch falls fast from a thump to 44 Hz; the hard kick adds drive and a
// click, the soft one of the calm parts is rounder and quieter.
void Kick(long n0, float level, bool hard) {
  const Place p = At(level, 0, 0.02f, 0);
  const long len = long(0.36 * RATE);
  const double kSweep = Decay(0.028), kAmp = Decay(0.095), kClick = Decay(0.002);
  double phase = 0, sweep = hard ? 150.0 : 75.0, amp = 1, click = 0.3;
  for (long i = 0; i < len; i++) {
    phase += (44.0 + sweep) / RATE;
    double x = Sine(phase) * amp * std::min(1.0, i / 30.0);
    if (hard) x = std::tanh(1.5 * x) / std::tanh(1.5) + Noise() * click;
    sweep *= kSweep;
    amp *= kAmp;
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
  const double kSweep = Decay(0.015), kTone = Decay(0.05), kRattle = Decay(0.11);
  double phase = 0, sweep = 70, tone = 0.55, rattle = 0.9;
  for (long i = 0; i < len; i++) {
    phase += (175.0 + sweep) / RATE;
    const double x = Sine(phase) * tone + SvfRun(hp, Noise(), HIGH) * rattle;
    sweep *= kSweep;
    tone *= kTone;
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
    const double env = t < 0.027 ? std::exp(-std::fmod(t, 0.009) / 0.0035) : std::exp(-(t - 0.027) / 0.1);
    Emit(n0 + i, SvfRun(bp, Noise(), BAND) * float(env) * 1.3f * Tail(i, len), p);
  }
}

// Six detuned square waves: the metallic body of hats and cymbals.
const double METAL[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

float Metal(double* phase, double scale) {
  float m = 0;
  for (int k = 0; k < 6; k++) {
    phase[k] += METAL[k] * scale / RATE;
    if (phase[k] >= 1.0) phase[k] -= 1.0;
    m += phase[k] < 0.5 ? 1.0f : -1.0f;
  }
  return m / 6.0f;
}

void Hat(long n0, float level, bool open, float pan) {
  const Place p = At(2.5f * level, pan, 0.08f, 0); // 2.5: makes up for what the high-pass removes
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
    const float env = float(decay * std::min(1.0, i / 88.0)) * std::min(1.0f, float(len - i) / (0.3f * RATE));
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
    const float env = float(std::pow(u, curve)) * std::min(1.0f, float(len - i) / (0.006f * RATE));
    EmitStereo(n0 + i, SvfRun(fl, Noise(), BAND) * env, SvfRun(fr, Noise(), BAND) * env, p);
  }
}

// Boom: a deep falling sine for impacts and section starts.
void Boom(long n0, float level) {
  const Place p = At(level, 0, 0.15f, 0);
  const long len = long(1.8 * RATE);
  const double kSweep = Decay(0.08), kAmp = Decay(0.6);
  double phase = 0, sweep = 45, amp = 1;
  for (long i = 0; i < len; i++) {
    phase += (32.0 + sweep) / RATE;
    Emit(n0 + i, float(Sine(phase) * amp * std::min(1.0, i / 40.0)) * Tail(i, len), p);
    sweep *= kSweep;
    amp *= kAmp;
  }
}

// ---------------------------------------------------------------------------------------------
// Tonal instruments

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
void Pad(long n0, long n1, const int* notes, int count, float level, double cut0, double cut1) {
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
      const double cut = cut0 * std::pow(cut1 / cut0, u) * (1.0 + 0.25 * std::sin(2 * PI * 0.11 * n / RATE));
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
    const double inc = base * (1.0 + vib * 0.05776); // 0.05776 = ln 2 / 12: semitones to ratio
    if (i % 16 == 0) {
      SvfSet(f, bright * (0.6 + 1.4 * std::exp(-t / 0.22)), 1.1);
      env = Adsr(t, 0.005, 0.3, 0.7, 0.2, double(hold) / RATE);
    }
    const float x = 0.5f * Saw(ph1, inc) + 0.5f * Saw(ph2, inc * 1.0035) + 0.3f * Square(ph3, inc * 0.5, 0.5);
    Emit(n0 + i, SvfRun(f, x, LOW) * env, p);
  }
}

// Pluck: a short square-and-saw note with a fast closing filter, for arpeggios and stutters.
void Pluck(long n0, int midi, float level, float pan, double bright) {
  const Place p = At(2.0f * level, pan, 0.25f, 0.4f); // 2: makes up for the closing filter
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
  double pc = 0, pm = 0, index = 2.5 / (2 * PI), amp = 1; // index in cycles of phase
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
void Stab(long n0, const int* notes, int count, float level) {
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

// ---------------------------------------------------------------------------------------------
// Harmony and parts. Times are in beats from the start of the track.

// A chord: the bass root and four pad notes, voiced close so that the pads move smoothly.
struct Chord {
  int bass;
  int notes[4];
};

const Chord Am{33, {57, 60, 64, 69}};
const Chord F{29, {57, 60, 65, 69}};
const Chord C{36, {55, 60, 64, 67}};
const Chord G{31, {55, 59, 62, 67}};
const Chord Dm{38, {57, 62, 65, 69}};

struct Segment {
  double b0, b1;
  Chord chord;
  int transpose;
};

std::vector<Segment> harmony; // the chord track, in time order

// Chords from b0 on, each lasting its given number of beats.
void Chords(double b0, std::initializer_list<std::pair<Chord, double>> seq, int transpose = 0) {
  for (const auto& [chord, beats] : seq) {
    harmony.push_back({b0, b0 + beats, chord, transpose});
    b0 += beats;
  }
}

// A repeating progression from b0 to b1, `each` beats per chord.
void Cycle(double b0, double b1, double each, std::initializer_list<Chord> seq, int transpose = 0) {
  for (size_t k = 0; b0 < b1; k++, b0 += each)
    harmony.push_back({b0, std::min(b1, b0 + each), *(seq.begin() + k % seq.size()), transpose});
}

const Segment* ChordAt(double beat) {
  for (const Segment& s : harmony)
    if (beat >= s.b0 && beat < s.b1) return &s;
  return nullptr;
}

void Transposed(const Segment& s, int shift, int* out) {
  for (int k = 0; k < 4; k++) out[k] = s.chord.notes[k] + s.transpose + shift;
}

// Pads over the chord track from b0 to b1, cutoff sweeping from cut0 to cut1 over the range.
void PadPart(double b0, double b1, float level, double cut0, double cut1) {
  for (const Segment& s : harmony) {
    const double s0 = std::max(b0, s.b0), s1 = std::min(b1, s.b1);
    if (s1 <= s0) continue;
    const double c0 = cut0 * std::pow(cut1 / cut0, (s0 - b0) / (b1 - b0));
    const double c1 = cut0 * std::pow(cut1 / cut0, (s1 - b0) / (b1 - b0));
    int notes[4];
    Transposed(s, 0, notes);
    Pad(BeatFrame(s0), BeatFrame(s1), notes, 4, level, c0, c1);
  }
}

// Bass line from b0 to b1 on the chord roots, one character of `pattern` per sixteenth, repeating:
// 'x' the root, 'o' the octave above, '.' a rest. The cutoff moves from cut0 to cut1 Hz and
// swings by `wobble` (a fraction) over every two bars.
void BassPart(double b0, double b1, const char* pattern, float level, double cut0, double cut1, double reso,
              double wobble = 0.0) {
  const size_t plen = std::strlen(pattern);
  for (long step = 0;; step++) {
    const double beat = b0 + step * 0.25;
    if (beat >= b1 - 1e-9) break;
    const char c = pattern[step % plen];
    const Segment* s = ChordAt(beat);
    if (c == '.' || s == nullptr) continue;
    const double u = (beat - b0) / (b1 - b0);
    double cut = cut0 * std::pow(cut1 / cut0, u);
    cut *= 1.0 + wobble * std::sin(2 * PI * (beat - b0) / 8.0);
    const int midi = s->chord.bass + s->transpose + (c == 'o' ? 12 : 0);
    Bass(BeatFrame(beat), long(0.8 * BEAT / 4), midi, level, cut, 4.0 * cut, reso);
  }
}

enum Voice { PLUCK, BELL };

// Arpeggio over the chord track: every `step` beats the next index of `order` picks a chord note
// (index 4 and up: an octave higher), `octave` octaves up; alternately panned left and right.
void ArpPart(double b0, double b1, double step, std::initializer_list<int> order, int octave, float level,
             Voice voice, double bright = 2500) {
  for (long k = 0;; k++) {
    const double beat = b0 + k * step;
    if (beat >= b1 - 1e-9) break;
    const Segment* s = ChordAt(beat);
    if (s == nullptr) continue;
    const int idx = *(order.begin() + k % order.size());
    int notes[4];
    Transposed(*s, 12 * octave + 12 * (idx / 4), notes);
    const float pan = (k % 2) ? 0.55f : -0.55f;
    if (voice == PLUCK)
      Pluck(BeatFrame(beat), notes[idx % 4], level, pan, bright);
    else
      Bell(BeatFrame(beat), notes[idx % 4], level, pan * 0.7f);
  }
}

// Chord stutter: short pluck chords on every sixteenth from b0 to b1, the fan's blinking frames.
void Stutter(double b0, double b1, float level) {
  for (double beat = b0; beat < b1 - 1e-9; beat += 0.25) {
    const Segment* s = ChordAt(beat);
    if (s == nullptr) continue;
    int notes[4];
    Transposed(*s, 12, notes);
    for (int k = 0; k < 3; k++) Pluck(BeatFrame(beat), notes[k], level, (k - 1) * 0.5f, 3000);
  }
}

// A note of a written line: start and length in beats, MIDI pitch.
struct Note {
  double beat, len;
  int midi;
};

// Reads a line written one sixteenth per token from beat b0: a note name with its octave
// ("A4", "C#5") starts a note, "-" holds it, "." rests; "|" marks bars and takes no time.
std::vector<Note> ParseLine(double b0, const char* text, int transpose) {
  static const int PITCH[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
  std::vector<Note> line;
  bool sounding = false;
  double beat = b0;
  for (const char* c = text; *c;) {
    while (*c == ' ') c++;
    if (!*c) break;
    const char* start = c;
    while (*c && *c != ' ') c++;
    const std::string tok(start, c);
    if (tok == "|") continue;
    if (tok == "-") {
      if (sounding) line.back().len += 0.25;
    } else if (tok == ".") {
      sounding = false;
    } else if (tok[0] >= 'A' && tok[0] <= 'G') {
      size_t pos = 1;
      int pc = PITCH[tok[0] - 'A'];
      if (pos < tok.size() && tok[pos] == '#') pc++, pos++;
      const int octave = pos < tok.size() ? tok[pos] - '0' : 4;
      line.push_back({beat, 0.25, 12 * (octave + 1) + pc + transpose});
      sounding = true;
    }
    beat += 0.25;
  }
  return line;
}

void Melody(double b0, const char* text, int transpose, float level, double bright) {
  for (const Note& n : ParseLine(b0, text, transpose))
    Lead(BeatFrame(n.beat), BeatFrame(n.len) - long(0.02 * RATE), n.midi, level, bright);
}

void Bells(double b0, const char* text, int transpose, float level) {
  int k = 0;
  for (const Note& n : ParseLine(b0, text, transpose)) Bell(BeatFrame(n.beat), n.midi, level, (k++ % 2) ? 0.4f : -0.4f);
}

// Kicks on every beat from b0 to b1, their level moving from l0 to l1.
void Beats(long b0, long b1, float l0, float l1, bool hard) {
  for (long b = b0; b < b1 && b < NUM_BEATS; b++) {
    kickLevel[b] = l0 + (l1 - l0) * float(b - b0) / float(std::max(1L, b1 - b0 - 1));
    kickHard[b] = hard;
  }
}

// Snare or clap on the second and fourth beat of each bar counted from b0.
void Backbeat(long b0, long b1, float snare, float clap) {
  for (long b = b0 + 1; b < b1; b += 2) {
    if (snare > 0) Snare(BeatFrame(b), snare);
    if (clap > 0) Clap(BeatFrame(b), clap);
  }
}

// Closed hats on every sixteenth, the off-beat eighth accented; open hats on the off-beats.
void Hats(double b0, double b1, float level, float open) {
  static const float ACCENT[4] = {0.55f, 0.7f, 1.0f, 0.7f};
  int k = 0;
  for (double beat = b0; beat < b1 - 1e-9; beat += 0.25, k++) {
    if (open > 0 && k % 4 == 2)
      Hat(BeatFrame(beat), open, true, 0.15f);
    else
      Hat(BeatFrame(beat), level * ACCENT[k % 4], false, (k % 2) ? 0.3f : -0.2f);
  }
}

// Snare roll from b0 to b1, `per` hits per beat, rising from l0 to l1.
void Roll(double b0, double b1, int per, float l0, float l1) {
  const int hits = int(std::lround((b1 - b0) * per));
  for (int k = 0; k < hits; k++) Snare(BeatFrame(b0 + double(k) / per), l0 + (l1 - l0) * k / std::max(1, hits - 1));
}

// A countdown hit at `seconds`: chord stab an octave up, a boom, a clap and a snare.
void Hit(double seconds, float level) {
  const long n = SecFrame(seconds);
  const Segment* s = ChordAt(double(n) / BEAT);
  if (s == nullptr) return;
  int notes[4];
  Transposed(*s, 12, notes);
  Stab(n, notes, 4, 0.3f * level);
  Boom(n, 0.4f * level);
  Clap(n, 0.6f * level);
  Snare(n, 0.45f * level);
}

// ---------------------------------------------------------------------------------------------
// The arrangement

const char* const THEME_A =
    "A4 - - A4 - - E5 - - - D5 - C5 - B4 - | C5 - - - A4 - - - . . F4 - A4 - C5 - | "
    "G5 - - G5 - - E5 - - - D5 - C5 - E5 - | D5 - - - - - B4 - G4 - - - B4 - D5 -";
const char* const THEME_B =
    "E5 - - E5 - - A5 - - - G5 - E5 - C5 - | F5 - - - E5 - - - C5 - - - A4 - C5 - | "
    "E5 - - E5 - - G5 - - - E5 - D5 - C5 - | B4 - - - - - D5 - - - B4 - G4 - B4 -";
const char* const DRIVE =
    "E6 - - - - - - - C6 - - - B5 - A5 - | A5 - - - - - - - C6 - - - - - - - | "
    "G5 - - - - - - - E6 - - - D6 - C6 - | D6 - - - - - - - B5 - - - G5 - - -";
const char* const FINALE_A =
    "F5 - - - E5 - D5 - - - A4 - - - D5 - | C5 - - - - - A4 - C5 - F5 - - - E5 - | "
    "D5 - - - - - B4 - D5 - G5 - - - F5 - | E5 - - - - - - - C5 - - - A4 - - -";
const char* const FINALE_B =
    "A5 - - - G5 - F5 - - - D5 - - - F5 - | A5 - - - G5 - F5 - - - C5 - - - F5 - | "
    "G5 - - - F5 - D5 - - - B4 - D5 - G5 - | A5 - - - - - - - - - - - E5 - C5 -";
const char* const BELLS_LOGO =
    "E5 . G5 . C6 . G5 . B5 . G5 . E5 . G5 . D6 . C6 . G5 . E5 . C6 . . . . . . .";
const char* const BELLS_BALLS =
    "A5 . E5 . C6 . E5 . B5 . E5 . A5 C6 E6 A6 | C7 . . . A6 . . . F6 . . . C6 . . .";

std::string Join(const char* a, const char* b) { return std::string(a) + " | " + b; }

void Arrange() {
  const std::string themeAB = Join(THEME_A, THEME_B), finaleAB = Join(FINALE_A, FINALE_B);

  // Chord track: A minor i-VI-III-VII; the finale's own iv-VI-VII-i, lifted a tone at 115 s.
  Chords(0, {{Am, 8}, {F, 8}, {C, 8}, {G, 8}, {Am, 8}, {F, 8}, {C, 8}, {G, 3}}); // intro, 0-26.55 s
  Chords(59, {{Am, 8}, {F, 8}, {C, 8}, {G, 11}});                                  // build, cube fan
  Cycle(94, 126, 4, {Am, F, C, G});                                                // climax, countdown
  Chords(126, {{G, 2}});                                                           // release at the flash
  Cycle(128, 176, 4, {Am, F, C, G});                                               // tunnel
  Chords(176, {{Am, 3}});                                                          // breakdown
  Cycle(179, 243, 4, {Dm, F, G, Am});                                              // finale
  Chords(243, {{Dm, 4}, {F, 4}, {G, 5}});
  Cycle(256, 288, 4, {Dm, F, G, Am}, 2); // the camera flies: B minor
  Chords(288, {{Am, 1}}, 2);
  Cycle(289, 409, 4, {Am, F, C, G}); // outro under the greetings
  Chords(409, {{Am, 9}});

  // Kicks on every beat: soft in the calm parts, hard wherever the drums drive.
  Beats(0, 59, 0.35f, 0.55f, false);
  Beats(59, 126, 0.95f, 0.95f, true);
  Beats(126, 128, 0.5f, 0.5f, false);
  Beats(128, 177, 1.0f, 1.0f, true);
  Beats(179, 195, 0.5f, 0.6f, false);
  Beats(195, 289, 1.0f, 1.0f, true);
  Beats(289, 385, 0.9f, 0.9f, true);
  Beats(385, 418, 0.6f, 0.3f, false);
  for (long b = 0; b < NUM_BEATS; b++)
    if (kickLevel[b] > 0) Kick(b * BEAT, kickLevel[b], kickHard[b]);

  // Calm intro under the banner, with two interludes: the spinning logo and the ball spiral.
  PadPart(0, 59, 0.10f, 700, 1600);
  BassPart(16, 59, "x...", 0.18f, 180, 260, 0.9);
  ArpPart(8, 51, 0.5, {0, 2, 1, 3, 2, 1}, 0, 0.035f, PLUCK, 1400);
  Swell(BeatFrame(14), BeatFrame(16), 0.18f, 3000, 12000, 4);
  Crash(BeatFrame(16), 0.25f);
  Boom(BeatFrame(16), 0.4f);
  Bells(16, BELLS_LOGO, 0, 0.09f);
  Swell(BeatFrame(22.5), BeatFrame(24.5), 0.1f, 2000, 9000, 4);
  Swell(BeatFrame(34), BeatFrame(36), 0.18f, 3000, 12000, 4);
  Crash(BeatFrame(36), 0.22f);
  Bells(36, BELLS_BALLS, 0, 0.09f);
  Boom(BeatFrame(39), 0.45f); // the balls light up
  Swell(BeatFrame(51), BeatFrame(59), 0.25f, 300, 6000, 2);

  // Build-up under the cube fan; chord stutters while its frames blink.
  Crash(BeatFrame(59), 0.35f);
  PadPart(59, 94, 0.09f, 1200, 3500);
  Hats(59, 94, 0.12f, 0);
  Stutter(59, 63.25, 0.025f);
  Stutter(75, 79, 0.03f);
  Stutter(90, 94, 0.035f);
  BassPart(67, 94, ".xxx", 0.4f, 250, 1400, 1.5);
  ArpPart(67, 90, 0.5, {0, 1, 2, 3}, 0, 0.04f, PLUCK, 2000);
  Backbeat(75, 87, 0.4f, 0);
  Roll(87, 91, 2, 0.2f, 0.35f);
  Roll(91, 93, 4, 0.35f, 0.45f);
  Roll(93, 94, 8, 0.45f, 0.55f);
  Swell(BeatFrame(83), BeatFrame(94), 0.35f, 300, 9000, 2);

  // Climax: the title tumbles, then one hit per second with each countdown digit.
  Crash(BeatFrame(94), 0.5f);
  Boom(BeatFrame(94), 0.4f);
  PadPart(94, 126, 0.1f, 2500, 3500);
  Backbeat(94, 112, 0.35f, 0.4f); // the countdown hits take over from 50.4 s
  Hats(94, 112, 0.14f, 0.1f);
  Hats(112, 126, 0.1f, 0);
  BassPart(94, 126, ".xxo", 0.45f, 900, 1200, 2.0);
  Melody(94, THEME_A, 0, 0.3f, 2500);
  Melody(110, "A4 - - - - - - -", 0, 0.3f, 2500);
  ArpPart(110, 112, 0.25, {0, 1, 2, 3, 4, 3, 2, 1}, 1, 0.035f, PLUCK, 2500);
  for (int k = 0; k < 6; k++) Hit(50.5 + k, 0.7f + 0.06f * k);
  Swell(SecFrame(53.6), SecFrame(56.5), 0.3f, 400, 10000, 3);

  // Release at the white flash: drums stop, a white-noise swell into the tunnel.
  Hit(56.5, 1.1f);
  Crash(SecFrame(56.5), 0.6f);
  PadPart(126, 128, 0.12f, 3000, 5000);
  Swell(SecFrame(56.6), BeatFrame(128), 0.35f, 1500, 12000, 3);

  // Tunnel: full drive; an arpeggio joins when the light sprites start to rush at 65 s.
  Crash(BeatFrame(128), 0.6f);
  Boom(BeatFrame(128), 0.5f);
  PadPart(128, 176, 0.09f, 2500, 3500);
  Backbeat(128, 172, 0.35f, 0.45f);
  Hats(128, 176, 0.16f, 0.12f);
  BassPart(128, 176, ".xox", 0.48f, 700, 1100, 3.5, 0.5);
  Melody(128, themeAB.c_str(), 0, 0.3f, 3500);
  Melody(160, DRIVE, 0, 0.26f, 4000);
  ArpPart(144, 176, 0.25, {0, 1, 2, 3, 4, 3, 2, 1}, 1, 0.04f, PLUCK, 3500);
  Roll(172, 176, 4, 0.25f, 0.55f);
  Swell(BeatFrame(172), BeatFrame(176), 0.3f, 500, 10000, 2);

  // Breakdown as the tunnel fades: a last hit, the pad closing, a reversed cymbal into the finale.
  Crash(BeatFrame(176), 0.5f);
  Boom(BeatFrame(176), 0.7f);
  PadPart(176, 179, 0.13f, 2500, 500);
  Swell(BeatFrame(177), BeatFrame(179), 0.22f, 3000, 12000, 4);

  // Finale with its own theme: bells while the set zooms in, then the full groove.
  PadPart(179, 256, 0.1f, 900, 3000);
  ArpPart(179, 195, 0.5, {0, 1, 2, 3, 2, 1, 3, 2}, 0, 0.07f, BELL);
  BassPart(179, 195, "x...", 0.2f, 200, 300, 0.9);
  Hats(187, 195, 0.07f, 0);
  Crash(BeatFrame(195), 0.5f);
  Boom(BeatFrame(195), 0.4f);
  Backbeat(195, 248, 0, 0.45f);
  Hats(195, 256, 0.13f, 0.1f);
  BassPart(195, 256, ".xox", 0.45f, 500, 1400, 2.0);
  Melody(195, finaleAB.c_str(), 0, 0.3f, 3000);
  Melody(227, FINALE_A, 0, 0.26f, 3200);
  Melody(227, FINALE_A, 12, 0.11f, 3200);
  ArpPart(195, 243, 0.5, {0, 2, 1, 3}, 0, 0.035f, PLUCK, 2000);
  ArpPart(243, 256, 0.25, {0, 1, 2, 3}, 0, 0.04f, PLUCK, 2500);
  Roll(248, 252, 2, 0.2f, 0.3f);
  Roll(252, 255, 4, 0.3f, 0.45f);
  Roll(255, 256, 8, 0.45f, 0.55f);
  Swell(BeatFrame(244), BeatFrame(256), 0.35f, 300, 10000, 2);

  // The lift when the camera flies: up a tone, the theme doubled an octave higher.
  Crash(BeatFrame(256), 0.7f);
  Boom(BeatFrame(256), 0.6f);
  PadPart(256, 289, 0.1f, 3000, 4500);
  Backbeat(256, 289, 0.3f, 0.45f);
  Hats(256, 289, 0.15f, 0.12f);
  BassPart(256, 289, ".xox", 0.46f, 900, 1600, 2.5, 0.3);
  Melody(256, finaleAB.c_str(), 2, 0.28f, 3500);
  Melody(256, finaleAB.c_str(), 14, 0.12f, 3500);
  ArpPart(256, 288, 0.25, {0, 1, 2, 3, 4, 3, 2, 1}, 1, 0.035f, PLUCK, 3000);
  Swell(BeatFrame(285), BeatFrame(289), 0.25f, 800, 10000, 3);

  // Outro under the greetings: the main theme once more, then bells, then the parts fall away.
  Crash(BeatFrame(289), 0.5f);
  PadPart(289, 418, 0.1f, 2200, 900);
  Backbeat(289, 353, 0, 0.38f);
  Hats(289, 353, 0.12f, 0.09f);
  Hats(353, 385, 0.09f, 0);
  BassPart(289, 385, ".xxx", 0.38f, 700, 300, 1.5);
  Melody(289, themeAB.c_str(), 0, 0.24f, 1800);
  Bells(321, BELLS_LOGO, -12, 0.07f);
  Bells(337, BELLS_LOGO, -12, 0.07f);
  ArpPart(321, 401, 0.5, {0, 2, 1, 3, 2, 1}, 0, 0.035f, PLUCK, 1500);
  ArpPart(385, 409, 1.0, {0, 1, 2, 3}, 1, 0.06f, BELL);
  Bells(409, "A5 . . . E5 . . . C6 . . . B5 . . . A5 . . . . . . . E5 . . . . . . . A4", 0, 0.07f);
}

// ---------------------------------------------------------------------------------------------
// Effects and output

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

inline float CombTick(Comb& c, float x) {
  const float y = c.buf[c.i];
  c.store = y * 0.75f + c.store * 0.25f; // damping: the tail darkens as it decays
  c.buf[c.i] = x + c.store * 0.84f;
  if (++c.i == c.buf.size()) c.i = 0;
  return y;
}

inline float AllpassTick(Allpass& a, float x) {
  const float b = a.buf[a.i];
  a.buf[a.i] = x + b * 0.5f;
  if (++a.i == a.buf.size()) a.i = 0;
  return b - x;
}

// A small stereo room: eight parallel combs into four all-passes per side, the right side's
// delays a little longer so the two sides decorrelate.
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

// Ping-pong echo of three sixteenths: left, then right, then left..., each repeat softer and
// darker. Runs before the reverb and sends a little of itself into it.
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

void PutLE(std::FILE* f, uint32_t v, int bytes) {
  for (int k = 0; k < bytes; k++) std::fputc(int((v >> (8 * k)) & 0xff), f);
}

// Removes DC, limits the pile-ups, normalises the peak to -1 dBFS, fades out to exact silence and
// writes the WAV file into f, which it closes.
bool WriteWav(std::FILE* f) {
  // The limiter's ceiling sits just above a lone hard kick's peak, so the kicks pass untouched and
  // only the moments where a boom or a crash lands on a kick are turned down (instant attack,
  // 80 ms release) instead of setting the level of the whole track.
  const float ceiling = 1.1f, release = float(Decay(0.08));
  float xl = 0, xr = 0, yl = 0, yr = 0, env = 0, peak = 0;
  for (long n = 0; n < TOTAL; n++) {
    yl = mixL[n] - xl + 0.9995f * yl;
    xl = mixL[n];
    yr = mixR[n] - xr + 0.9995f * yr;
    xr = mixR[n];
    env = std::max(std::max(std::fabs(yl), std::fabs(yr)), env * release);
    const float g = env > ceiling ? ceiling / env : 1.0f;
    mixL[n] = yl * g;
    mixR[n] = yr * g;
    peak = std::max(peak, std::max(std::fabs(mixL[n]), std::fabs(mixR[n])));
  }
  const float scale = peak > 0 ? 0.891f * 32767.0f / peak : 0.0f;

  const uint32_t dataBytes = uint32_t(TOTAL) * 4;
  std::fputs("RIFF", f);
  PutLE(f, 36 + dataBytes, 4);
  std::fputs("WAVEfmt ", f);
  PutLE(f, 16, 4);        // plain PCM format chunk
  PutLE(f, 1, 2);         // PCM
  PutLE(f, 2, 2);         // stereo
  PutLE(f, RATE, 4);      // frames per second
  PutLE(f, RATE * 4, 4);  // bytes per second
  PutLE(f, 4, 2);         // bytes per frame
  PutLE(f, 16, 2);        // bits per sample
  std::fputs("data", f);
  PutLE(f, dataBytes, 4);

  std::vector<unsigned char> block;
  block.reserve(4096 * 4);
  for (long n = 0; n < TOTAL; n++) {
    double g = 1.0;
    if (n >= FADE_END)
      g = 0.0;
    else if (n > FADE_START)
      g = 0.5 * (1.0 + std::cos(PI * (n - FADE_START) / (FADE_END - FADE_START)));
    for (float x : {mixL[n], mixR[n]}) {
      const long v = std::clamp(std::lround(x * scale * g), -32000L, 32000L);
      const uint16_t u = uint16_t(int16_t(v));
      block.push_back(uint8_t(u & 0xff));
      block.push_back(uint8_t(u >> 8));
    }
    if (block.size() >= 4096 * 4 || n == TOTAL - 1) {
      std::fwrite(block.data(), 1, block.size(), f);
      block.clear();
    }
  }
  const bool ok = !std::ferror(f);
  return std::fclose(f) == 0 && ok;
}

bool WriteSoundList(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (f == nullptr) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  std::fputs("Data/kelvorin.wav\n", f);
  if (std::fclose(f) != 0) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

int GenerateMusic(const std::string& outDir) {
  // The track is written under a temporary name and renamed when complete, so an interrupted run
  // never leaves a truncated file that looks up to date. Opening it first fails fast on a bad
  // folder, before the synthesis.
  const std::string wavPath = outDir + "/kelvorin.wav", partPath = wavPath + ".part";
  std::FILE* f = std::fopen(partPath.c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot create %s: %s\n", partPath.c_str(), std::strerror(errno));
    return 1;
  }
  mixL.assign(TOTAL, 0.0f);
  mixR.assign(TOTAL, 0.0f);
  revSend.assign(TOTAL, 0.0f);
  dlySend.assign(TOTAL, 0.0f);
  kickLevel.assign(NUM_BEATS, 0.0f);
  kickHard.assign(NUM_BEATS, 0);
  duckCurve.resize(BEAT);
  for (long i = 0; i < BEAT; i++) // dips within 5 ms, recovers over about 110 ms
    duckCurve[i] = 0.6f * std::min(1.0f, i / 220.0f) * float(std::exp(-double(i) / (0.11 * RATE)));

  FillSineTable();
  Arrange();
  Echo();
  Reverb();
  revSend = std::vector<float>();
  dlySend = std::vector<float>();
  if (!WriteWav(f)) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot write %s\n", partPath.c_str());
    std::remove(partPath.c_str());
    return 1;
  }
  if (std::rename(partPath.c_str(), wavPath.c_str()) != 0) {
    std::fprintf(stderr, "kelvorin-genmusic: cannot rename %s to %s: %s\n", partPath.c_str(), wavPath.c_str(),
                 std::strerror(errno));
    std::remove(partPath.c_str());
    return 1;
  }
  return WriteSoundList(outDir + "/Sons_WAV.txt") ? 0 : 1;
}

} // namespace kelvorin

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: kelvorin-genmusic OUTDIR\n");
    return 2;
  }
  return kelvorin::GenerateMusic(argv[1]);
}
