// Deterministic arithmetic for the pictures: sin, cos, exp and atan2 from +, -, *, / and sqrt
// only, small float helpers, colours, and a seeded xorshift generator.
#pragma once
#include <cmath>
#include <cstdint>

namespace kelvorin {

const double PI = 3.14159265358979323846;

double dsin(double x);
double dcos(double x);
double dexp(double x);
double datan2(double y, double x);

inline float clampf(float x, float lo = 0, float hi = 1) { return x < lo ? lo : (x > hi ? hi : x); }
inline float mixf(float a, float b, float t) { return a + (b - a) * t; }
inline float smooth(float e0, float e1, float x) {
    float t = clampf((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float gauss(float x) { return (float)dexp(-(double)x * x); }
inline float sq(float x) { return x * x; }
inline float pos(float x) { return x > 0 ? x : 0; }

inline int wrapi(int i, int period) {
    i %= period;
    return i < 0 ? i + period : i;
}

struct Rgb {
    float r, g, b;
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }
inline Rgb &operator+=(Rgb &a, Rgb b) { return a = a + b; }
inline Rgb mix(Rgb a, Rgb b, float t) { return a + (b + a * -1) * t; }
const Rgb BLACK = {0, 0, 0}, WHITE = {1, 1, 1};

struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed ? seed : 1) {}
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    float uniform() { return (float)(next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1)
    float range(float a, float b) { return a + (b - a) * uniform(); }
};

}  // namespace kelvorin
