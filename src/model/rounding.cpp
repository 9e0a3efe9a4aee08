#include "model/rounding.h"

#include <cmath>

#include "model/errors.h"

std::int64_t RoundHalfEven(long double x) {
    // Round-to-nearest is the mode all the system's arithmetic runs in.
    const long double r = std::rint(x);
    constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
    if (!(r >= -kLimit && r < kLimit)) {
        throw EHandlerError(kInvalidOpText);
    }
    return static_cast<std::int64_t>(r);
}
