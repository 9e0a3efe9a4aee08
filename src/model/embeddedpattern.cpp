#include "model/embeddedpattern.h"

TEmbeddedPatterns::TEmbeddedPatterns(const TWireSystem& system) {
    const int ports = system.Ports();
    for (int p = 0; p < ports; ++p) {
        Eigen::VectorXcd unit = Eigen::VectorXcd::Zero(ports);
        unit(p) = 1;
        Radiators.emplace_back(system, system.Solve(TFeed::Current, unit));
    }
    const Eigen::MatrixXcd& z = system.PortImpedance();
    InputPower = 0.25 * (z + z.adjoint());
}

TPortFields TEmbeddedPatterns::Towards(double bearingDegrees, double elevationDegrees) const {
    TPortFields f{Eigen::VectorXcd(Ports()), Eigen::VectorXcd(Ports())};
    for (int p = 0; p < Ports(); ++p) {
        const TFarField g =
            Radiators[static_cast<std::size_t>(p)].Field(bearingDegrees, elevationDegrees);
        f.Theta(p) = g.Theta;
        f.Phi(p) = g.Phi;
    }
    return f;
}

TFarField FieldOf(const TPortFields& ports, const Eigen::VectorXcd& currents) {
    return {(ports.Theta.array() * currents.array()).sum(),
            (ports.Phi.array() * currents.array()).sum()};
}
