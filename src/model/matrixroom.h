#pragma once

#include <Eigen/Dense>
#include <vector>

// Room for a square complex matrix, zeroed. The kernel maps each 4 KB page of fresh memory on
// its first touch, at a cost of microseconds a page; a matrix of hundreds of kilobytes asks
// for huge pages instead where the kernel grants them on request, so that it faults in at
// once. A small one, or one the kernel refuses, lives on the heap as usual. A mapping is kept
// by its thread for the next matrix: clearing the bytes a matrix needs costs a fraction of a
// fresh huge page, which the kernel clears whole.
class TMatrixRoom {
  public:
    explicit TMatrixRoom(Eigen::Index size);
    ~TMatrixRoom();
    TMatrixRoom(const TMatrixRoom&) = delete;
    TMatrixRoom& operator=(const TMatrixRoom&) = delete;

    Eigen::Map<Eigen::MatrixXcd> Matrix() { return {Data, Size, Size}; }

  private:
    Eigen::Index Size = 0;
    void* Mapped = nullptr;
    std::size_t MappedBytes = 0;
    std::vector<std::complex<double>> Heap;
    std::complex<double>* Data = nullptr;
};
