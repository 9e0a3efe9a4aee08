#pragma once

#include <cmath>

// Below this magnitude the processor reduces the argument; at or beyond it the instructions
// leave the argument unreduced, and the pattern takes 0 instead.
inline constexpr long double kTrigReductionLimit = 0x1p63L;

// False also for the infinities and NaN.
inline bool InTrigReductionRange(long double x) {
    return std::fabs(x) < kTrigReductionLimit;
}

// The processor's extended-precision sine and cosine; 0 for |x| >= 2^63 and, as the same
// comparison rejects them, for the infinities and NaN (which would otherwise come back as NaN).
// Each is its own instruction: the combined fsincos is not bit-identical to them on every
// processor, and which instruction computes a value is part of the value. Inline, as the
// pattern needs both for every emitter at every sample.
inline long double ExtSin(long double x) {
    if (!InTrigReductionRange(x)) return 0;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    long double result;
    __asm__("fsin" : "=t"(result) : "0"(x));
    return result;
#else
    return std::sin(x);
#endif
}

inline long double ExtCos(long double x) {
    if (!InTrigReductionRange(x)) return 0;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    long double result;
    __asm__("fcos" : "=t"(result) : "0"(x));
    return result;
#else
    return std::cos(x);
#endif
}

// The same rule in double precision for the fast path: an argument the exact path drops is
// dropped here too, so the two paths sum the same emitters.
inline double FastSin(double x) {
    return InTrigReductionRange(x) ? std::sin(x) : 0;
}
inline double FastCos(double x) {
    return InTrigReductionRange(x) ? std::cos(x) : 0;
}
// Both at once: the compiler makes one sincos call of the pair.
inline void FastSinCos(double x, double& sine, double& cosine) {
    if (!InTrigReductionRange(x)) {
        sine = cosine = 0;
        return;
    }
    sine = std::sin(x);
    cosine = std::cos(x);
}
