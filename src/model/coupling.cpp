#include "model/coupling.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "model/wirefield.h"

namespace {

std::optional<TWireAxis> AxisOfType(int type) {
    switch (type) {
        case etVerticalDipole:
            return TWireAxis::Up;
        case etHorizontalDipoleNS:  // the wire lies west-east
            return TWireAxis::WestEast;
        case etHorizontalDipoleWE:  // the wire lies south-north
            return TWireAxis::SouthNorth;
        default:
            return std::nullopt;
    }
}

std::vector<int> EnabledNumbers(const TArray& array) {
    std::vector<int> numbers;
    for (int k = 1; k <= kEmitterCount; ++k)
        if (array.Emitter(k).Enabled) numbers.push_back(k);
    return numbers;
}

// The wires about the middle of the emitters' span: a pattern, a power and a drive do not
// change when the whole array moves over the plane, and so neither do the figures nor the
// work of computing them, wherever the emitters stand.
TWireArray WiresOf(const TArray& array, const TWireSettings& wires, const TGround& ground,
                   const std::vector<int>& numbers) {
    TWireArray a;
    a.Axis = AxisOfType(array.EmitterType).value_or(TWireAxis::Up);
    a.Radius = wires.Radius;
    a.SegmentsPerWavelength = wires.SegmentsPerWavelength;
    a.Ground = ground;
    const auto middle = [&](long double TEmitter::*coordinate) {
        long double low = array.Emitter(numbers.front()).*coordinate, high = low;
        for (const int k : numbers) {
            low = std::min(low, array.Emitter(k).*coordinate);
            high = std::max(high, array.Emitter(k).*coordinate);
        }
        return low + (high - low) / 2;
    };
    const long double x = middle(&TEmitter::X), y = middle(&TEmitter::Y);
    for (const int k : numbers)
        a.Wires.push_back({static_cast<double>(array.Emitter(k).X - x),
                           static_cast<double>(array.Emitter(k).Y - y),
                           wires.Lengths[static_cast<std::size_t>(k - 1)].value_or(0),
                           wires.Radii[static_cast<std::size_t>(k - 1)].value_or(0)});
    return a;
}

bool SameWires(const TWireArray& a, const TWireArray& b) {
    const auto ground = [](const TGround& g) {
        return std::tie(g.Kind, g.HeightWavelengths, g.FrequencyMhz, g.Permittivity, g.Conductivity,
                        g.Model);
    };
    const auto wire = [](const TWire& w) { return std::tie(w.X, w.Y, w.Length, w.Radius); };
    return a.Axis == b.Axis && a.Radius == b.Radius &&
           a.SegmentsPerWavelength == b.SegmentsPerWavelength &&
           ground(a.Ground) == ground(b.Ground) &&
           std::equal(a.Wires.begin(), a.Wires.end(), b.Wires.begin(), b.Wires.end(),
                      [&](const TWire& p, const TWire& q) { return wire(p) == wire(q); });
}

// A drag of phases or amplitudes changes only the drive: the last geometry's factored system
// serves it again, and the new currents cost a product.
TWireSystem SystemFor(const TWireArray& wires) {
    thread_local std::optional<TWireSystem> last;
    if (!last || !SameWires(last->Array(), wires)) last.emplace(wires);
    return *last;
}

}  // namespace

std::complex<double> Phasor(long double amplitude, long double phase) {
    return std::polar(static_cast<double>(amplitude),
                      static_cast<double>(-2 * std::numbers::pi_v<long double> * phase));
}

std::pair<double, double> AmplitudeAndPhase(std::complex<double> phasor) {
    return {std::abs(phasor), -std::arg(phasor) / (2 * std::numbers::pi)};
}

std::optional<TCouplingFault> CheckCoupling(const TArray& array, const TWireSettings& wires,
                                            const TGround& ground) {
    const std::vector<int> numbers = EnabledNumbers(array);
    int with = 0, without = 0;
    for (const int k : numbers)
        (wires.Lengths[static_cast<std::size_t>(k - 1)] ? with : without) = k;
    if (with == 0) return std::nullopt;
    if (without != 0) return TCouplingFault{TCouplingFault::MixedLengths, with, without};
    if (!AxisOfType(array.EmitterType)) return TCouplingFault{TCouplingFault::NoWireType};
    for (const int k : numbers) {
        const double length = *wires.Lengths[static_cast<std::size_t>(k - 1)];
        if (!(length >= kMinWireLength && length <= kMaxWireLength))
            return TCouplingFault{TCouplingFault::BadLength, k};
    }
    const TWireArray a = WiresOf(array, wires, ground, numbers);
    const std::optional<TWireFault> fault = CheckWires(a);
    if (!fault) return std::nullopt;
    const int first = numbers[static_cast<std::size_t>(fault->First)];
    const int second = numbers[static_cast<std::size_t>(fault->Second)];
    switch (fault->Kind) {
        case TWireFault::ThickWire:
            return TCouplingFault{TCouplingFault::ThickWire, first};
        case TWireFault::ReachesGround:
            return TCouplingFault{TCouplingFault::ReachesGround, first};
        case TWireFault::Touch:
            return TCouplingFault{TCouplingFault::Touch, first, second};
        case TWireFault::ThinWire:
            return TCouplingFault{TCouplingFault::ThinWire, first};
        case TWireFault::Spread:
            return TCouplingFault{TCouplingFault::Spread, first};
    }
    return std::nullopt;
}

namespace {

struct TPortSolve {
    TWireSystem System;
    TWireCurrents Currents;
    TCoupling Coupling;
};

std::optional<TPortSolve> SolvePortsOf(const TArray& array, const TWireSettings& wires,
                                       const TGround& ground) {
    const std::vector<int> numbers = EnabledNumbers(array);
    if (numbers.empty() || !wires.Lengths[static_cast<std::size_t>(numbers.front() - 1)])
        return std::nullopt;
    TWireSystem system = SystemFor(WiresOf(array, wires, ground, numbers));
    Eigen::VectorXcd drive(system.Ports());
    for (std::size_t p = 0; p < numbers.size(); ++p) {
        const TEmitter& e = array.Emitter(numbers[p]);
        drive(static_cast<Eigen::Index>(p)) = Phasor(e.Amplitude, e.Phase);
    }
    TWireCurrents currents = system.Solve(wires.Feed, drive);
    TCoupling c;
    c.ImpedanceMatrix = system.PortImpedance();
    for (std::size_t p = 0; p < numbers.size(); ++p) {
        const auto i = static_cast<Eigen::Index>(p);
        const std::complex<double> v = currents.PortVoltage(i), current = currents.PortCurrent(i);
        c.Emitters.push_back({numbers[p], system.Array().Wires[p].Length, current, v,
                              DriveFigures(v, current, wires.Z0)});
    }
    c.InputPowerWatts = InputPower(currents);
    return TPortSolve{std::move(system), std::move(currents), std::move(c)};
}

}  // namespace

std::optional<TCoupling> SolvePorts(const TArray& array, const TWireSettings& wires,
                                    const TGround& ground) {
    auto solved = SolvePortsOf(array, wires, ground);
    if (!solved) return std::nullopt;
    return std::move(solved->Coupling);
}

std::optional<TCoupledArray> SolveCoupling(const TArray& array, const TWireSettings& wires,
                                           const TGround& ground) {
    auto solved = SolvePortsOf(array, wires, ground);
    if (!solved) return std::nullopt;
    TCoupling& c = solved->Coupling;
    TWireRadiator radiator(solved->System, solved->Currents);
    c.RadiatedPowerWatts = RadiatedPower(radiator);
    c.Efficiency = c.InputPowerWatts > 0 ? c.RadiatedPowerWatts / c.InputPowerWatts : 0;
    return TCoupledArray{std::move(solved->System), std::move(solved->Currents), std::move(c),
                         std::move(radiator)};
}
