// The instruments: each writes one note or hit into the mix from frame n0.
#pragma once

namespace kelvorin::music {

// Drums (drums.cpp).
void Kick(long n0, float level, bool hard);
void Snare(long n0, float level);
void Clap(long n0, float level);
void Hat(long n0, float level, bool open, float pan);
void Crash(long n0, float level);
void Swell(long n0, long n1, float level, double f0, double f1, double curve);
void Boom(long n0, float level);

// Tonal instruments (tonal.cpp).
void Bass(long n0, long hold, int midi, float level, double cutoff, double envAmt, double reso);
void Pad(long n0, long n1, const int *notes, int count, float level, double cut0, double cut1);
void Lead(long n0, long hold, int midi, float level, double bright);
void Pluck(long n0, int midi, float level, float pan, double bright);
void Bell(long n0, int midi, float level, float pan);
void Stab(long n0, const int *notes, int count, float level);

}  // namespace kelvorin::music
