#pragma once

#include <complex>

// E1(j x) for x > 0, the exponential integral on the positive imaginary axis:
// -Ci(x) + j (Si(x) - pi/2).
std::complex<double> ExpIntegralImaginary(double x);

// What the reaction between sinusoidal currents on two parallel lines needs of one test node
// and one source node: the exponential integrals at R - u and R + u and the phase of u, where
// u is the test node's axial offset from the source node and R its distance to it (the lines
// rho apart). Lengths in wavelengths.
struct TNodePair {
    std::complex<double> Behind;  // E1(j k (R - u))
    std::complex<double> Ahead;   // E1(j k (R + u))
    std::complex<double> Phase;   // exp(j k u)
};

TNodePair NodePair(double u, double rho);

// The reaction of a test current sin k(z - t0) / sin ka on [t0, t1] (rising, a = t1 - t0)
// followed by sin k(t2 - z) / sin kb on [t1, t2] (falling, b = t2 - t1) with exp(-jkR)/R of a
// point source: `lo`, `mid` and `hi` are the node pairs of the test mode's three nodes against
// the source; sinKa and sinKb the sines of its halves.
std::complex<double> ModeIntegral(const TNodePair& lo, const TNodePair& mid, const TNodePair& hi,
                                  double sinKa, double sinKb);
