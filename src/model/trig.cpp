#include "model/trig.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

long double ExtSin(long double x) {
    if (!InTrigReductionRange(x)) return 0;
    long double result;
    __asm__("fsin" : "=t"(result) : "0"(x));
    return result;
}

long double ExtCos(long double x) {
    if (!InTrigReductionRange(x)) return 0;
    long double result;
    __asm__("fcos" : "=t"(result) : "0"(x));
    return result;
}

#else

long double ExtSin(long double x) {
    return InTrigReductionRange(x) ? std::sin(x) : 0;
}

long double ExtCos(long double x) {
    return InTrigReductionRange(x) ? std::cos(x) : 0;
}

#endif
