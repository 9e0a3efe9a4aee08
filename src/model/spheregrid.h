#pragma once

#include <vector>

#include "model/emitters.h"
#include "model/field.h"

// The field over the sphere (or, over ground, the upper half-space) on a grid of compass
// bearings and elevations, from the fast path: what a picture of the whole pattern draws.
struct TSphereGrid {
    double StepDegrees = 2;
    double LowestElevation = -90;  // degrees; 0 over ground
    int Bearings = 0;              // columns, bearing = i * step, 0 .. 360 inclusive
    int Elevations = 0;            // rows, elevation = LowestElevation + j * step
    std::vector<double> Values;    // row-major: Values[j * Bearings + i]
    double Maximum = 0;

    double At(int i, int j) const {
        return Values[static_cast<std::size_t>(j) * static_cast<std::size_t>(Bearings) +
                      static_cast<std::size_t>(i)];
    }
};

// Samples the field in its model every step degrees (the window's formula is sampled as free
// space: it is no field off the horizon).
TSphereGrid SampleSphere(const TArray& array, const TFieldSpec& field, double stepDegrees);
