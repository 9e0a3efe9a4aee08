#include "model/matrixroom.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a matrix takes too few pages for their faults to matter.
constexpr std::size_t kWorthHugePages = std::size_t{256} << 10;
// A thread keeps a mapping up to this size for its next matrix; a larger one goes back.
constexpr std::size_t kMostKept = std::size_t{64} << 20;

// The mapping a thread's last matrix left.
struct TKeptMapping {
    void* Mapped = nullptr;
    std::size_t Bytes = 0;
    ~TKeptMapping() {
        if (Mapped) munmap(Mapped, Bytes);
    }
};
thread_local TKeptMapping Kept;

void* Start(void* mapped) {
    return reinterpret_cast<void*>((reinterpret_cast<std::uintptr_t>(mapped) + kHugePage - 1) &
                                   ~std::uintptr_t{kHugePage - 1});
}

}  // namespace

TMatrixRoom::TMatrixRoom(Eigen::Index size) : Size(size) {
    const std::size_t bytes =
        static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * sizeof(*Data);
    if (bytes >= kWorthHugePages) {
        // A huge page must lie on its own boundary: map one more and start at the boundary.
        const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (Kept.Mapped && Kept.Bytes >= length + kHugePage) {
            Mapped = Kept.Mapped;
            MappedBytes = Kept.Bytes;
            Kept.Mapped = nullptr;
            Kept.Bytes = 0;
            Data = static_cast<std::complex<double>*>(Start(Mapped));
            std::memset(static_cast<void*>(Data), 0, bytes);
            return;
        }
        void* mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED) {
            Mapped = mapped;
            MappedBytes = length + kHugePage;
            // Refused or unknown (no transparent huge pages): the pages come one by one.
            madvise(Start(mapped), length, MADV_HUGEPAGE);
            // Fresh anonymous memory reads as zeros.
            Data = static_cast<std::complex<double>*>(Start(mapped));
            return;
        }
    }
    Heap.assign(bytes / sizeof(*Data), {});
    Data = Heap.data();
}

TMatrixRoom::~TMatrixRoom() {
    if (!Mapped) return;
    // The larger of this mapping and the one kept stays, if not too large.
    if (MappedBytes <= kMostKept && MappedBytes > Kept.Bytes) {
        std::swap(Mapped, Kept.Mapped);
        std::swap(MappedBytes, Kept.Bytes);
    }
    if (Mapped) munmap(Mapped, MappedBytes);
}
