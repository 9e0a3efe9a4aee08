#pragma once

struct TComplex {
    long double Re = 0;
    long double Im = 0;
};

TComplex MakeComplex(long double re, long double im);
TComplex AddComplex(TComplex a, TComplex b);
// Modulus computed directly as sqrt(re^2 + im^2), without scaling.
long double AbsComplex(TComplex z);
