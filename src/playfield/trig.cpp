// Sine and cosine by reduction to an eighth of a turn and the Taylor series there.
#include "playfield/trig.h"

namespace {

// pi/2 in three parts: the first two hold 33 bits each, so that a multiple of them by a
// quotient below 2^20 is exact and the reduction loses nothing but the last part's rounding.
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi3 = 2.02226624879595063154e-21;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;

// The reduced angle r in [-pi/4, pi/4] and the quarter turns q, with radians = q*pi/2 + r.
struct Reduced {
    double r;
    long long q;
};

Reduced Reduce(double radians) {
    const double turns = radians * kTwoOverPi;
    const long long q = static_cast<long long>(turns < 0 ? turns - 0.5 : turns + 0.5);
    const double k = static_cast<double>(q);
    const double r = ((radians - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
    return {r, q};
}

// 1/n! as doubles, for the series' coefficients.
constexpr double InverseFactorial(int n) {
    double f = 1;
    for (int i = 2; i <= n; ++i) {
        f *= i;
    }
    return 1 / f;
}

// sin r = r - r^3/3! + r^5/5! - ..., to r^19: at |r| <= pi/4 the first term left out is below
// 2^-60 of the result.
double SeriesSin(double r) {
    const double s = r * r;
    double sum = -InverseFactorial(19);
    for (int n = 17; n >= 3; n -= 2) {
        sum = (n % 4 == 1 ? InverseFactorial(n) : -InverseFactorial(n)) + s * sum;
    }
    return r + r * s * sum;
}

// cos r = 1 - r^2/2! + r^4/4! - ..., to r^20.
double SeriesCos(double r) {
    const double s = r * r;
    double sum = InverseFactorial(20);
    for (int n = 18; n >= 4; n -= 2) {
        sum = (n % 4 == 0 ? InverseFactorial(n) : -InverseFactorial(n)) + s * sum;
    }
    return 1 - s * 0.5 + s * s * sum;
}

// The sine of q quarter turns plus r.
double QuarterSin(long long q, double r) {
    switch (q & 3) {
        case 0:
            return SeriesSin(r);
        case 1:
            return SeriesCos(r);
        case 2:
            return -SeriesSin(r);
        default:
            return -SeriesCos(r);
    }
}

}  // namespace

double FieldSin(double radians) {
    const Reduced a = Reduce(radians);
    return QuarterSin(a.q, a.r);
}

double FieldCos(double radians) {
    const Reduced a = Reduce(radians);
    return QuarterSin(a.q + 1, a.r);
}
