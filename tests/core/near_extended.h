#pragma once

#include <gtest/gtest.h>

#include <cmath>

// EXPECT_NEAR compares in double precision, too coarse for the last bits of a long double.
inline testing::AssertionResult NearExtended(long double actual, long double expected,
                                             long double tolerance) {
    if (std::fabs(actual - expected) <= tolerance) return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << actual << " differs from " << expected << " by " << std::fabs(actual - expected)
           << ", more than " << tolerance;
}
