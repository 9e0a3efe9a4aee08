#pragma once

#include <Eigen/Dense>

// Solves A X = B for a complex symmetric A (A = A^T, not Hermitian), from its lower triangle
// only, by A = L D L^T without pivoting: half the work of an LU. The method of moments'
// reaction matrices are symmetric by reciprocity, and Eigen factors only Hermitian ones so.
// A's lower triangle is overwritten by the factors and B by X. Returns false where a pivot is
// too small to trust: A and B are then spent, and the caller solves afresh by LU.
bool SolveSymmetric(Eigen::Ref<Eigen::MatrixXcd> a, Eigen::MatrixXcd& b);
