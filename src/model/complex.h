#pragma once

#include <cmath>

struct TComplex {
    long double Re = 0;
    long double Im = 0;
};

// Inline: the pattern adds eight of these per sample, 361 samples per drawing.
inline TComplex MakeComplex(long double re, long double im) {
    return TComplex{re, im};
}
inline TComplex AddComplex(TComplex a, TComplex b) {
    return TComplex{a.Re + b.Re, a.Im + b.Im};
}
// Modulus computed directly as sqrt(re^2 + im^2), without scaling.
inline long double AbsComplex(TComplex z) {
    return std::sqrt(z.Re * z.Re + z.Im * z.Im);
}
