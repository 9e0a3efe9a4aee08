#pragma once

#include <cstdint>

// Nearest integer, an exact half to the even neighbour. Throws EHandlerError
// "Invalid floating point operation" when the result does not fit in 64 signed bits.
std::int64_t RoundHalfEven(long double x);
