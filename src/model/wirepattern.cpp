#include "model/wirepattern.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "model/wirefield.h"

namespace {

// sqrt(4 pi U / P_in) towards a compass bearing and an elevation, degrees.
double ValueOf(const TCoupledArray& w, double intensity) {
    const double input = w.Coupling.InputPowerWatts;
    return input > 0 ? std::sqrt(4 * std::numbers::pi * intensity / input) : 0;
}

double Value(const TCoupledArray& w, double bearing, double elevation) {
    return ValueOf(w, RadiationIntensity(w.Radiator.Field(bearing, elevation)));
}

double BearingOfSample(double windowAzimuthDegrees) {
    return std::fmod(windowAzimuthDegrees + 180, 360);
}

}  // namespace

TPattern WirePattern(const TCoupledArray& wires, double elevationDegrees) {
    TPattern pattern;
    pattern.Model = wires.System.Array().Ground.Kind == TGroundKind::None ? TFieldModel::FreeSpace
                                                                          : TFieldModel::OverGround;
    std::vector<double> bearings, intensity;
    for (int i = 0; i < kSampleCount; ++i) bearings.push_back(BearingOfSample(i));
    wires.Radiator.Ring(elevationDegrees, bearings, intensity);
    for (int i = 0; i < kSampleCount; ++i) {
        const long double v = ValueOf(wires, intensity[static_cast<std::size_t>(i)]);
        pattern.Samples[static_cast<std::size_t>(i)] = v;
        if (v > pattern.MaxGain) {
            pattern.MaxGain = v;
            pattern.MaxGainAngle = i;
        }
    }
    return pattern;
}

TPatternFunction WirePatternFunction(const TCoupledArray& wires, double elevationDegrees) {
    return [&wires, elevationDegrees](long double az) -> long double {
        return Value(wires, BearingOfSample(static_cast<double>(az)), elevationDegrees);
    };
}

std::array<long double, kElevationCutCount> WireElevationCut(const TCoupledArray& wires,
                                                             double bearingDegrees) {
    std::array<long double, kElevationCutCount> cut{};
    for (int e = 0; e < kElevationCutCount; ++e)
        cut[static_cast<std::size_t>(e)] = Value(wires, bearingDegrees, e);
    return cut;
}

TWirePeak WirePeakGain(const TCoupledArray& wires) {
    const bool ground = wires.System.Array().Ground.Kind != TGroundKind::None;
    const double lowest = ground ? 0 : -90;
    // The grid by rings of equal elevation, then searched bearing by bearing.
    std::vector<double> bearings, elevations, intensity;
    for (int b = 0; b < 360; b += 5) bearings.push_back(b);
    for (double e = lowest; e <= 90; e += 5) elevations.push_back(e);
    std::vector<std::vector<double>> grid;
    for (const double e : elevations) {
        wires.Radiator.Ring(e, bearings, intensity);
        grid.push_back(intensity);
    }
    double best = -1, bearing = 0, elevation = 0;
    for (std::size_t b = 0; b < bearings.size(); ++b)
        for (std::size_t e = 0; e < elevations.size(); ++e) {
            const double v = ValueOf(wires, grid[e][b]);
            if (v > best) {
                best = v;
                bearing = bearings[b];
                elevation = elevations[e];
            }
        }
    // Climb from the best point of the grid, halving the step until it is below 0.01 degree;
    // at each step at most as many moves as cross the grid's cell.
    constexpr int kMovesPerStep = 8;
    for (double step = 2.5; step > 0.005; step /= 2) {
        bool moved = true;
        for (int move = 0; moved && move < kMovesPerStep; ++move) {
            moved = false;
            const double tries[4][2] = {{step, 0}, {-step, 0}, {0, step}, {0, -step}};
            for (const auto& t : tries) {
                const double e = std::clamp(elevation + t[1], lowest, 90.0);
                const double v = Value(wires, bearing + t[0], e);
                if (v > best) {
                    best = v;
                    bearing = std::fmod(bearing + t[0] + 360, 360);
                    elevation = e;
                    moved = true;
                }
            }
        }
    }
    // In free space every wire is centred on the plane of the array, so the pattern is
    // symmetric about the horizon: its upper twin is the peak's elevation.
    return {20 * std::log10(best), bearing, std::fabs(elevation)};
}
