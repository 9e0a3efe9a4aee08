#include "model/wirevalidity.h"

#include <algorithm>
#include <cmath>

namespace {

void Break(TValidityRule& rule, int number) {
    if (std::find(rule.Emitters.begin(), rule.Emitters.end(), number) == rule.Emitters.end())
        rule.Emitters.push_back(number);
}

// A wire's coordinates across the axis and its extent along it, as it stands over the ground.
struct TPlace {
    double AcrossA = 0, AcrossB = 0, Low = 0, High = 0;
};

TPlace PlaceOf(const TWireArray& a, const TWire& w) {
    const double h = static_cast<double>(a.Ground.HeightWavelengths);
    switch (a.Axis) {
        case TWireAxis::Up:
            return {w.X, w.Y, h - w.Length / 2, h + w.Length / 2};
        case TWireAxis::WestEast:
            return {w.Y, h, w.X - w.Length / 2, w.X + w.Length / 2};
        case TWireAxis::SouthNorth:
            break;
    }
    return {w.X, h, w.Y - w.Length / 2, w.Y + w.Length / 2};
}

}  // namespace

TWireValidity CheckValidity(const TCoupledArray& solved) {
    const TWireSystem& system = solved.System;
    const TWireArray& a = system.Array();
    TWireValidity v;
    v.Monopoles = system.Monopoles();
    const std::size_t count = a.Wires.size();
    for (const TEmitterFeed& e : solved.Coupling.Emitters) v.Numbers.push_back(e.Number);
    v.Modes.assign(count, 0);
    // The kernel's validity is that of the shortest segment, which the graded ends hold.
    std::vector<double> segment(count, INFINITY);
    for (const TWireMode& m : system.Modes()) {
        ++v.Modes[static_cast<std::size_t>(m.Wire)];
        double& shortest = segment[static_cast<std::size_t>(m.Wire)];
        shortest = std::min({shortest, m.Left, m.Right});
    }
    const auto radius = [&](std::size_t i) { return RadiusOf(a, a.Wires[i]); };

    TValidityRule perSegment{"radius_to_segment", 0, kMaxRadiusPerSegment, true, {}};
    TValidityRule thin{"radius_wl", 0, kMaxThinRadius, true, {}};
    for (std::size_t i = 0; i < count; ++i) {
        const double ratio = radius(i) / segment[i];
        perSegment.Figure = std::max(perSegment.Figure, ratio);
        if (ratio > kMaxRadiusPerSegment) Break(perSegment, v.Numbers[i]);
        thin.Figure = std::max(thin.Figure, radius(i));
        if (radius(i) > kMaxThinRadius) Break(thin, v.Numbers[i]);
    }
    v.Rules.push_back(perSegment);
    v.Rules.push_back(thin);

    // Wires side by side: their extents along the axis overlap.
    TValidityRule spacing{"spacing_to_radius", INFINITY, kMinSpacingRadii, false, {}};
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t j = i + 1; j < count; ++j) {
            const TPlace p = PlaceOf(a, a.Wires[i]), q = PlaceOf(a, a.Wires[j]);
            if (p.High <= q.Low || q.High <= p.Low) continue;
            const double ratio = std::hypot(p.AcrossA - q.AcrossA, p.AcrossB - q.AcrossB) /
                                 std::max(radius(i), radius(j));
            spacing.Figure = std::min(spacing.Figure, ratio);
            if (ratio < kMinSpacingRadii) {
                Break(spacing, v.Numbers[i]);
                Break(spacing, v.Numbers[j]);
            }
        }
    if (std::isfinite(spacing.Figure)) v.Rules.push_back(spacing);

    if (a.Ground.Kind == TGroundKind::Real) {
        TValidityRule radii{"height_to_radius", INFINITY, kMinClearanceRadii, false, {}};
        TValidityRule height{"height_wl", INFINITY, kMinClearance, false, {}};
        for (std::size_t i = 0; i < count; ++i) {
            const TPlace p = PlaceOf(a, a.Wires[i]);
            const double clearance = a.Axis == TWireAxis::Up ? p.Low : p.AcrossB;
            radii.Figure = std::min(radii.Figure, clearance / radius(i));
            if (clearance / radius(i) < kMinClearanceRadii) Break(radii, v.Numbers[i]);
            height.Figure = std::min(height.Figure, clearance);
            if (clearance < kMinClearance) Break(height, v.Numbers[i]);
        }
        v.Rules.push_back(radii);
        v.Rules.push_back(height);
    } else if (solved.Coupling.InputPowerWatts > 0) {
        // Without a lossy ground every watt fed is radiated: what the balance checks is the
        // integration of the far field over the sphere.
        const TCoupling& c = solved.Coupling;
        const double percent = 100 * std::fabs(c.RadiatedPowerWatts / c.InputPowerWatts - 1);
        TValidityRule balance{"power_balance_pct", percent, kMaxPowerImbalance, true, {}};
        if (percent > kMaxPowerImbalance) balance.Emitters = v.Numbers;
        v.Rules.push_back(balance);
    }
    for (TValidityRule& rule : v.Rules) std::sort(rule.Emitters.begin(), rule.Emitters.end());
    return v;
}
