#include "model/matrixroom.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a matrix takes too few pages for their faults to matter.
constexpr std::size_t kWorthHugePages = std::size_t{256} << 10;

}  // namespace

TMatrixRoom::TMatrixRoom(Eigen::Index size) : Size(size) {
    const std::size_t bytes =
        static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * sizeof(*Data);
    if (bytes >= kWorthHugePages) {
        // A huge page must lie on its own boundary: map one more and start at the boundary.
        const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED) {
            Mapped = mapped;
            MappedBytes = length + kHugePage;
            const auto start = (reinterpret_cast<std::uintptr_t>(mapped) + kHugePage - 1) &
                               ~std::uintptr_t{kHugePage - 1};
            // Refused or unknown (no transparent huge pages): the pages come one by one.
            madvise(reinterpret_cast<void*>(start), length, MADV_HUGEPAGE);
            // Fresh anonymous memory reads as zeros.
            Data = reinterpret_cast<std::complex<double>*>(start);
            return;
        }
    }
    Heap.assign(bytes / sizeof(*Data), {});
    Data = Heap.data();
}

TMatrixRoom::~TMatrixRoom() {
    if (Mapped) munmap(Mapped, MappedBytes);
}
