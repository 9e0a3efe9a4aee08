#include "model/spheregrid.h"

#include <algorithm>
#include <cmath>

#include "model/angles.h"
#include "model/fieldengine.h"

TSphereGrid SampleSphere(const TArray& array, const TFieldSpec& field, double stepDegrees) {
    TSphereGrid grid;
    grid.StepDegrees = stepDegrees;
    const TFieldModel model =
        field.Model == TFieldModel::Window ? TFieldModel::FreeSpace : field.Model;
    grid.LowestElevation = model == TFieldModel::OverGround ? 0 : -90;
    grid.Bearings = static_cast<int>(std::lround(360 / stepDegrees)) + 1;
    grid.Elevations = static_cast<int>(std::lround((90 - grid.LowestElevation) / stepDegrees)) + 1;
    grid.Values.resize(static_cast<std::size_t>(grid.Bearings * grid.Elevations));
    const TSources<double> sources = Sources<double>(array);
    for (int j = 0; j < grid.Elevations; ++j) {
        const double e = std::min(90.0, grid.LowestElevation + j * stepDegrees);
        // Below the horizon in free space the pattern mirrors the one above.
        const TElevation<double> el = Elevation<double>(model, std::fabs(e), field.Ground);
        for (int i = 0; i < grid.Bearings; ++i) {
            const double azimuth = (i * stepDegrees + 180) * static_cast<double>(kDegree);
            const double v = FieldValueOf(sources, model, array.EmitterType, azimuth, el);
            grid.Values[static_cast<std::size_t>(j * grid.Bearings + i)] = v;
            grid.Maximum = std::max(grid.Maximum, v);
        }
    }
    return grid;
}
