// Deterministic arithmetic for the pictures: sin, cos, exp and atan2 from +, -, *, / and sqrt
// only, small float helpers, colours, and a seeded xorshift generator.
#pragma once
#include <cmath>
#include <cstdint>

namespace kelvorin::art {

const double PI = 3.14159265358979323846;

double PortableSin(double x);
double PortableCos(double x);
double PortableExp(double x);
double PortableAtan2(double y, double x);

inline float Clamp(float x, float lo = 0, float hi = 1) { return x < lo ? lo : (x > hi ? hi : x); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float SmoothStep(float e0, float e1, float x) {
    float t = Clamp((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float Gaussian(float x) { return (float)PortableExp(-(double)x * x); }
inline float Square(float x) { return x * x; }
inline float PositivePart(float x) { return x > 0 ? x : 0; }

inline int Wrap(int i, int period) {
    i %= period;
    return i < 0 ? i + period : i;
}

struct Rgb {
    float r, g, b;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }
inline Rgb &operator+=(Rgb &a, Rgb b) { return a = a + b; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return a + (b + a * -1) * t; }
const Rgb BLACK = {0, 0, 0}, WHITE = {1, 1, 1};

struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 1) {}
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    float Uniform() { return (float)(Next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1)
    float Range(float a, float b) { return a + (b - a) * Uniform(); }
};

}  // namespace kelvorin::art
