// Our own sin, cos, exp and atan2, so that no picture depends on how the C library rounds its
// transcendental functions.
#include "art/arith.h"

namespace kelvorin::art {

double PortableSin(double x) {
    x -= 2 * PI * std::floor(x / (2 * PI) + 0.5);  // to [-pi, pi]
    if (x > PI / 2) x = PI - x;
    else if (x < -PI / 2) x = -PI - x;
    double x2 = x * x, term = x, sum = x;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1));
        sum += term;
    }
    return sum;
}

double PortableCos(double x) { return PortableSin(x + PI / 2); }

double PortableExp(double x) {
    if (x < -80) return 0;
    if (x > 80) x = 80;
    const double LN2 = 0.69314718055994530942;
    int n = (int)std::floor(x / LN2 + 0.5);
    double r = x - n * LN2, term = 1, sum = 1;
    for (int k = 1; k <= 14; ++k) {
        term *= r / k;
        sum += term;
    }
    return std::ldexp(sum, n);
}

namespace {

double PortableAtan(double z) {
    bool negative = z < 0, inverted = false;
    if (negative) z = -z;
    if (z > 1) {
        z = 1 / z;
        inverted = true;
    }
    // Two half-angle steps bring z below tan(pi/16), where the series converges fast.
    z = z / (1 + std::sqrt(1 + z * z));
    z = z / (1 + std::sqrt(1 + z * z));
    double z2 = z * z, power = z, sum = z;
    for (int n = 1; n <= 12; ++n) {
        power *= -z2;
        sum += power / (2 * n + 1);
    }
    sum *= 4;
    if (inverted) sum = PI / 2 - sum;
    return negative ? -sum : sum;
}

}  // namespace

double PortableAtan2(double y, double x) {
    if (x > 0) return PortableAtan(y / x);
    if (x < 0) return y >= 0 ? PortableAtan(y / x) + PI : PortableAtan(y / x) - PI;
    return y > 0 ? PI / 2 : (y < 0 ? -PI / 2 : 0);
}

}  // namespace kelvorin::art
