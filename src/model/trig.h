#pragma once

// The processor's extended-precision sine and cosine; 0 for |x| >= 2^63, where the
// instruction leaves the argument unreduced.
long double ExtSin(long double x);
long double ExtCos(long double x);
