#include "model/spheregrid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/directivity.h"
#include "plot/surface3d.h"

namespace {

TEST(SphereGrid, ExtremePointLiesAtThePeakBearingAndElevation) {
    TArray array;
    array.EmitterType = etHorizontalDipoleWE;
    array.Emitter(1) = {-0.125L, 0, 0, true};
    array.Emitter(2) = {0.125L, 0, 0.3L, true};
    array.Emitter(3) = {0, 0.2L, 0.1L, true};
    const TSphereGrid grid = SampleSphere(array, {TFieldModel::FreeSpace}, 2);
    int bestI = 0, bestJ = 0;
    for (int j = 0; j < grid.Elevations; ++j) {
        for (int i = 0; i < grid.Bearings; ++i) {
            if (grid.At(i, j) > grid.At(bestI, bestJ)) {
                bestI = i;
                bestJ = j;
            }
        }
    }
    const auto d = ComputeDirectivity(array);
    ASSERT_TRUE(d && d->PeakDbi);
    // Within a grid step of the solved peak (the pattern mirrors below the horizon).
    const double bearing = bestI * grid.StepDegrees;
    const double elevation = std::fabs(grid.LowestElevation + bestJ * grid.StepDegrees);
    const double off = std::remainder(bearing - static_cast<double>(d->PeakBearingDegrees), 360);
    EXPECT_LE(std::fabs(off), grid.StepDegrees);
    EXPECT_LE(std::fabs(elevation - static_cast<double>(d->PeakElevationDegrees)),
              grid.StepDegrees);
    EXPECT_EQ(SurfaceRadius(grid.Maximum, grid.Maximum, {}), 1);
}

TEST(SphereGrid, ShortVerticalDipoleIsATorusSymmetricInBearing) {
    TArray array;
    array.EmitterType = etVerticalDipole;
    array.Emitter(4) = {0, 0, 0, true};
    const TSphereGrid grid = SampleSphere(array, {TFieldModel::FreeSpace}, 2);
    for (int j = 0; j < grid.Elevations; ++j) {
        const double e = (grid.LowestElevation + j * grid.StepDegrees) * M_PI / 180;
        for (int i = 0; i < grid.Bearings; ++i) {
            ASSERT_NEAR(grid.At(i, j), std::fabs(std::cos(e)), 1e-12) << i << " " << j;
        }
    }
    // The hole of the torus: nothing at the poles, on either scale.
    EXPECT_EQ(SurfaceRadius(grid.At(0, 0), grid.Maximum, {}), 0);
    EXPECT_NEAR(SurfaceRadius(grid.At(0, 0), grid.Maximum, {225, 30, -30, true}), 0, 1e-12);
}

}  // namespace
