#pragma once

#include <Eigen/Dense>
#include <vector>

#include "model/wirefield.h"
#include "model/wires.h"

// The far field of every port at unit current, one vector per polarisation (volts, peak, per
// ampere of each port's current).
struct TPortFields {
    Eigen::VectorXcd Theta;
    Eigen::VectorXcd Phi;
};

// The embedded element patterns of solved wires: port p driven at 1 A, every other port at
// zero current, the rest of every wire responding as coupling makes it. With a current feed
// the array's far field is linear in the port currents, E = sum of I_p G_p, so a design over
// the currents solves the wires once.
class TEmbeddedPatterns {
  public:
    explicit TEmbeddedPatterns(const TWireSystem& system);

    int Ports() const { return static_cast<int>(Radiators.size()); }
    TPortFields Towards(double bearingDegrees, double elevationDegrees) const;
    // The power the feeds deliver is I^H R I (watts) for port currents I: half the Hermitian
    // part of the port impedance matrix, the radiated power plus the ground's loss.
    const Eigen::MatrixXcd& InputPowerMatrix() const { return InputPower; }

  private:
    std::vector<TWireRadiator> Radiators;
    Eigen::MatrixXcd InputPower;
};

// The far field of port currents I towards the direction, from the ports' fields there.
TFarField FieldOf(const TPortFields& ports, const Eigen::VectorXcd& currents);
