#pragma once

#include <array>
#include <complex>
#include <optional>
#include <vector>

#include "model/emitters.h"
#include "model/ground.h"
#include "model/wirefield.h"
#include "model/wires.h"

// What real elements add to the emitters: each one's wire length, and for all of them the
// radius, what the amplitudes and phases mean, and the line the feeds are matched to.
struct TWireSettings {
    std::array<std::optional<double>, kEmitterCount> Lengths{};  // wavelengths, by number - 1
    double Radius = 0.0005;                                      // wavelengths
    std::array<std::optional<double>, kEmitterCount> Radii{};    // wavelengths, where own
    int SegmentsPerWavelength = kDefaultSegmentsPerWavelength;
    TFeed Feed = TFeed::Current;
    double Z0 = 50;  // ohms
};

inline constexpr double kMaxWireLength = 2;  // wavelengths
// Shorter, a wire's drive resistance is lost beside its reactance in a double's digits, and
// its power no longer balances.
inline constexpr double kMinWireLength = 0.005;  // wavelengths

// Why the emitters cannot be wires; First and Second are emitter numbers (0 where none).
struct TCouplingFault {
    enum TKind {
        MixedLengths,   // some emitters switched on have a length, others none
        NoWireType,     // the type is isotropic or none
        BadLength,      // below kMinWireLength, above kMaxWireLength or not a number
        ThickWire,      // the radius a tenth of the length or more
        ReachesGround,  // through the ground, or an upright wire at height 0 off perfect ground
        Touch,          // two wires meet
        ThinWire,       // the radius below kMinWireRadius
        Spread,         // a wire further than kMaxWireReach from the array's middle
    } Kind = MixedLengths;
    int First = 0;
    int Second = 0;
};

// None when every emitter switched on has a sound length, or none has one.
std::optional<TCouplingFault> CheckCoupling(const TArray& array, const TWireSettings& wires,
                                            const TGround& ground);

// One emitter switched on: its feed current and voltage (peak phasors, the file's convention
// of amplitude and lagging phase: A exp(-j 2 pi phase)), and what follows from them.
struct TEmitterFeed {
    int Number = 0;
    double LengthWavelengths = 0;
    std::complex<double> Current;
    std::complex<double> Voltage;
    TDrive Drive;
};

struct TCoupling {
    Eigen::MatrixXcd ImpedanceMatrix;  // ohms, the emitters switched on in number order
    std::vector<TEmitterFeed> Emitters;
    double InputPowerWatts = 0;
    double RadiatedPowerWatts = 0;
    double Efficiency = 0;  // radiated over input: below 1 over real ground
};

// The wires of the emitters switched on, solved; none without lengths. The ground's kind
// None is free space. CheckCoupling must have passed.
struct TCoupledArray {
    TWireSystem System;
    TWireCurrents Currents;
    TCoupling Coupling;
    TWireRadiator Radiator;
};
std::optional<TCoupledArray> SolveCoupling(const TArray& array, const TWireSettings& wires,
                                           const TGround& ground);

// The port matrix and each feed alone, without the far field and the power radiated: what a
// feed network needs before it is solved. InputPowerWatts is set, the radiated power and the
// efficiency are not.
std::optional<TCoupling> SolvePorts(const TArray& array, const TWireSettings& wires,
                                    const TGround& ground);

// The file's amplitude and phase (periods of lag) of a phasor, and back.
std::complex<double> Phasor(long double amplitude, long double phase);
std::pair<double, double> AmplitudeAndPhase(std::complex<double> phasor);
