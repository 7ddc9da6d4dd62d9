// Harmony and parts: the chord track and the players that turn it, written lines and beat
// patterns into notes for the instruments. Times are in beats from the start of the track.
#pragma once
#include <initializer_list>
#include <utility>
#include <vector>

namespace kelvorin::music {

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

// Chords from b0 on, each lasting its given number of beats.
void Chords(double b0, std::initializer_list<std::pair<Chord, double>> seq, int transpose = 0);

// A repeating progression from b0 to b1, `each` beats per chord.
void Cycle(double b0, double b1, double each, std::initializer_list<Chord> seq, int transpose = 0);

// Pads over the chord track from b0 to b1, cutoff sweeping from cut0 to cut1 over the range.
void PadPart(double b0, double b1, float level, double cut0, double cut1);

// Bass line from b0 to b1 on the chord roots, one character of `pattern` per sixteenth, repeating:
// 'x' the root, 'o' the octave above, '.' a rest. The cutoff moves from cut0 to cut1 Hz and
// swings by `wobble` (a fraction) over every two bars.
void BassPart(double b0, double b1, const char *pattern, float level, double cut0, double cut1,
              double reso, double wobble = 0.0);

enum Voice { PLUCK, BELL };

// Arpeggio over the chord track: every `step` beats the next index of `order` picks a chord note
// (index 4 and up: an octave higher), `octave` octaves up; alternately panned left and right.
void ArpPart(double b0, double b1, double step, std::initializer_list<int> order, int octave,
             float level, Voice voice, double bright = 2500);

// Chord stutter: short pluck chords on every sixteenth from b0 to b1, the fan's blinking frames.
void Stutter(double b0, double b1, float level);

// The lead and the bells playing a line written one sixteenth per token from beat b0: a note name
// with its octave ("A4", "C#5") starts a note, "-" holds it, "." rests; "|" marks bars.
void Melody(double b0, const char *text, int transpose, float level, double bright);
void Bells(double b0, const char *text, int transpose, float level);

// Kicks on every beat from b0 to b1, their level moving from l0 to l1.
void Beats(long b0, long b1, float l0, float l1, bool hard);

// Snare or clap on the second and fourth beat of each bar counted from b0.
void Backbeat(long b0, long b1, float snare, float clap);

// Closed hats on every sixteenth, the off-beat eighth accented; open hats on the off-beats.
void Hats(double b0, double b1, float level, float open);

// Snare roll from b0 to b1, `per` hits per beat, rising from l0 to l1.
void Roll(double b0, double b1, int per, float l0, float l1);

// A countdown hit at `seconds`: chord stab an octave up, a boom, a clap and a snare.
void Hit(double seconds, float level);

// The whole track: the chord track, the kicks, then each section's parts (arrangement.cpp).
void Arrange();

}  // namespace kelvorin::music
