#pragma once

#include <Eigen/Dense>
#include <optional>

#include "model/design.h"
#include "model/embeddedpattern.h"

// The designs of design.h on solved wires: the port currents are the excitation, and the
// field of any currents is the sum of the ports' embedded patterns they weight. Currents are
// peak phasors in the file's convention (amplitude and lagging phase), port by port.

// The currents of greatest gain towards the target, |E|^2 of both polarisations over the
// input power I^H R I: the power the feeds deliver is what a gain is taken against (the
// pattern's dBi), it comes exactly from the solved port impedances, and over real ground it
// counts the earth's loss, which the radiated power leaves out. With null bearings the
// currents are held to the subspace where both polarisations vanish there. Nullopt, with the
// reason, where no currents radiate towards the target or the nulls leave none.
std::optional<TRefusal> DesignWireMaxGain(const TEmbeddedPatterns& patterns,
                                          const TDesignTarget& target, Eigen::VectorXcd& currents,
                                          TDesignReport& report);

// DesignFrontToBack on the wires, from the input currents; returns the designed currents.
Eigen::VectorXcd DesignWireFrontToBack(const TEmbeddedPatterns& patterns,
                                       const Eigen::VectorXcd& input, const TDesignTarget& target,
                                       bool rear, bool freeAmplitudes, TDesignReport& report);

// FrontRatioDb of the wires carrying the currents, at the target's elevation.
long double WireFrontRatioDb(const TEmbeddedPatterns& patterns, const Eigen::VectorXcd& currents,
                             const TDesignTarget& target, bool rear);

// Writes the currents into the emitters switched on, in number order: the largest amplitude
// 1, the phases relative to the first's within one period.
void WriteCurrents(TArray& array, const Eigen::VectorXcd& currents);
