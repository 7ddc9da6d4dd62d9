// The chord track and the parts that play over it: pads, bass lines, arpeggios, stutters,
// written melodies and bells, kicks, backbeats, hats, rolls and the countdown hits.
#include "music/parts.h"

#include <cmath>
#include <cstring>
#include <string>

#include "music/instruments.h"
#include "music/mix.h"

namespace kelvorin::music {

namespace {

struct Segment {
    double b0, b1;
    Chord chord;
    int transpose;
};

std::vector<Segment> harmony;  // the chord track, in time order

}  // namespace

void Chords(double b0, std::initializer_list<std::pair<Chord, double>> seq, int transpose) {
    for (const auto &[chord, beats] : seq) {
        harmony.push_back({b0, b0 + beats, chord, transpose});
        b0 += beats;
    }
}

void Cycle(double b0, double b1, double each, std::initializer_list<Chord> seq, int transpose) {
    for (size_t k = 0; b0 < b1; k++, b0 += each)
        harmony.push_back(
            {b0, std::min(b1, b0 + each), *(seq.begin() + k % seq.size()), transpose});
}

namespace {

const Segment *ChordAt(double beat) {
    for (const Segment &s : harmony)
        if (beat >= s.b0 && beat < s.b1) return &s;
    return nullptr;
}

void Transposed(const Segment &s, int shift, int *out) {
    for (int k = 0; k < 4; k++) out[k] = s.chord.notes[k] + s.transpose + shift;
}

// A note of a written line: start and length in beats, MIDI pitch.
struct Note {
    double beat, len;
    int midi;
};

// Reads a line written one sixteenth per token from beat b0: a note name with its octave
// ("A4", "C#5") starts a note, "-" holds it, "." rests; "|" marks bars and takes no time.
std::vector<Note> ParseLine(double b0, const char *text, int transpose) {
    static const int PITCH[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    std::vector<Note> line;
    bool sounding = false;
    double beat = b0;
    for (const char *c = text; *c;) {
        while (*c == ' ') c++;
        if (!*c) break;
        const char *start = c;
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

}  // namespace

void PadPart(double b0, double b1, float level, double cut0, double cut1) {
    for (const Segment &s : harmony) {
        const double s0 = std::max(b0, s.b0), s1 = std::min(b1, s.b1);
        if (s1 <= s0) continue;
        const double c0 = cut0 * std::pow(cut1 / cut0, (s0 - b0) / (b1 - b0));
        const double c1 = cut0 * std::pow(cut1 / cut0, (s1 - b0) / (b1 - b0));
        int notes[4];
        Transposed(s, 0, notes);
        Pad(BeatFrame(s0), BeatFrame(s1), notes, 4, level, c0, c1);
    }
}

void BassPart(double b0, double b1, const char *pattern, float level, double cut0, double cut1,
              double reso, double wobble) {
    const size_t plen = std::strlen(pattern);
    for (long step = 0;; step++) {
        const double beat = b0 + step * 0.25;
        if (beat >= b1 - 1e-9) break;
        const char c = pattern[step % plen];
        const Segment *s = ChordAt(beat);
        if (c == '.' || s == nullptr) continue;
        const double u = (beat - b0) / (b1 - b0);
        double cut = cut0 * std::pow(cut1 / cut0, u);
        cut *= 1.0 + wobble * std::sin(2 * PI * (beat - b0) / 8.0);
        const int midi = s->chord.bass + s->transpose + (c == 'o' ? 12 : 0);
        Bass(BeatFrame(beat), long(0.8 * BEAT / 4), midi, level, cut, 4.0 * cut, reso);
    }
}

void ArpPart(double b0, double b1, double step, std::initializer_list<int> order, int octave,
             float level, Voice voice, double bright) {
    for (long k = 0;; k++) {
        const double beat = b0 + k * step;
        if (beat >= b1 - 1e-9) break;
        const Segment *s = ChordAt(beat);
        if (s == nullptr) continue;
        const int idx = *(order.begin() + k % order.size());
        int notes[4];
        Transposed(*s, 12 * octave + 12 * (idx / 4), notes);
        const float pan = (k % 2) ? 0.55f : -0.55f;
        if (voice == PLUCK) Pluck(BeatFrame(beat), notes[idx % 4], level, pan, bright);
        else Bell(BeatFrame(beat), notes[idx % 4], level, pan * 0.7f);
    }
}

void Stutter(double b0, double b1, float level) {
    for (double beat = b0; beat < b1 - 1e-9; beat += 0.25) {
        const Segment *s = ChordAt(beat);
        if (s == nullptr) continue;
        int notes[4];
        Transposed(*s, 12, notes);
        for (int k = 0; k < 3; k++) Pluck(BeatFrame(beat), notes[k], level, (k - 1) * 0.5f, 3000);
    }
}

void Melody(double b0, const char *text, int transpose, float level, double bright) {
    for (const Note &n : ParseLine(b0, text, transpose))
        Lead(BeatFrame(n.beat), BeatFrame(n.len) - long(0.02 * RATE), n.midi, level, bright);
}

void Bells(double b0, const char *text, int transpose, float level) {
    int k = 0;
    for (const Note &n : ParseLine(b0, text, transpose))
        Bell(BeatFrame(n.beat), n.midi, level, (k++ % 2) ? 0.4f : -0.4f);
}

void Beats(long b0, long b1, float l0, float l1, bool hard) {
    for (long b = b0; b < b1 && b < NUM_BEATS; b++) {
        kickLevel[b] = l0 + (l1 - l0) * float(b - b0) / float(std::max(1L, b1 - b0 - 1));
        kickHard[b] = hard;
    }
}

void Backbeat(long b0, long b1, float snare, float clap) {
    for (long b = b0 + 1; b < b1; b += 2) {
        if (snare > 0) Snare(BeatFrame(b), snare);
        if (clap > 0) Clap(BeatFrame(b), clap);
    }
}

void Hats(double b0, double b1, float level, float open) {
    static const float ACCENT[4] = {0.55f, 0.7f, 1.0f, 0.7f};
    int k = 0;
    for (double beat = b0; beat < b1 - 1e-9; beat += 0.25, k++) {
        if (open > 0 && k % 4 == 2) Hat(BeatFrame(beat), open, true, 0.15f);
        else Hat(BeatFrame(beat), level * ACCENT[k % 4], false, (k % 2) ? 0.3f : -0.2f);
    }
}

void Roll(double b0, double b1, int per, float l0, float l1) {
    const int hits = int(std::lround((b1 - b0) * per));
    for (int k = 0; k < hits; k++)
        Snare(BeatFrame(b0 + double(k) / per), l0 + (l1 - l0) * k / std::max(1, hits - 1));
}

void Hit(double seconds, float level) {
    const long n = SecFrame(seconds);
    const Segment *s = ChordAt(double(n) / BEAT);
    if (s == nullptr) return;
    int notes[4];
    Transposed(*s, 12, notes);
    Stab(n, notes, 4, 0.3f * level);
    Boom(n, 0.4f * level);
    Clap(n, 0.6f * level);
    Snare(n, 0.45f * level);
}

}  // namespace kelvorin::music
