#pragma once

#include <vector>

// Nodes and weights of n-point Gauss-Legendre quadrature on [-1, 1], by Newton's method on
// P_n to the last bit: the sphere's and the half-space's power integrals of the ideal
// emitters and of the wires take their elevation nodes from here.
void GaussLegendre(int n, std::vector<double>& nodes, std::vector<double>& weights);
