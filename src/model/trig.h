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
long double ExtSin(long double x);
long double ExtCos(long double x);

// Both at once, bit for bit what ExtSin and ExtCos give. On x86 one instruction costs little
// more than either alone; inline, as the pattern needs it for every emitter at every sample.
inline void ExtSinCos(long double x, long double& sine, long double& cosine) {
    if (!InTrigReductionRange(x)) {
        sine = 0;
        cosine = 0;
        return;
    }
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __asm__("fsincos" : "=t"(cosine), "=u"(sine) : "0"(x));
#else
    sine = ExtSin(x);
    cosine = ExtCos(x);
#endif
}
