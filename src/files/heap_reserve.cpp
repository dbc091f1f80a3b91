#include "files/heap_reserve.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace brontal {
namespace {

constexpr std::size_t kSmallest = std::size_t{4} << 20;
// Each block stays below the allocator's largest mmap threshold, so it comes from the heap.
constexpr std::size_t kBlock = std::size_t{16} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kPage = 4096;

}  // namespace

void ReserveHeap(std::size_t bytes) {
    if (bytes < kSmallest) return;
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kBlock * 2));
    mallopt(M_TRIM_THRESHOLD, 1 << 30);  // a freed heap top stays for the next load
    std::vector<unsigned char*> blocks;
    blocks.reserve(bytes / kBlock + 1);
    for (std::size_t done = 0; done < bytes; done += kBlock) {
        auto* block = static_cast<unsigned char*>(std::malloc(kBlock));
        if (block == nullptr) break;
        blocks.push_back(block);
        const auto from = reinterpret_cast<std::uintptr_t>(block), to = from + kBlock;
        const std::uintptr_t begin = (from + kHugePage - 1) & ~(kHugePage - 1), end = to & ~(kHugePage - 1);
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
        // One call fills the block's page tables; kernels before 5.14 refuse it, and then each
        // page is touched instead.
        const std::uintptr_t pagesFrom = (from + kPage - 1) & ~(kPage - 1), pagesTo = to & ~(kPage - 1);
        if (::madvise(reinterpret_cast<void*>(pagesFrom), pagesTo - pagesFrom, MADV_POPULATE_WRITE) != 0) {
            volatile unsigned char* touch = block;
            for (std::size_t at = 0; at < kBlock; at += kPage) touch[at] = 0;
        }
    }
    // Freed last first, so each block joins the heap's free top as it goes.
    for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
}

}  // namespace brontal
