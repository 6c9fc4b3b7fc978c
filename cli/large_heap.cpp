#include "cli/large_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace wayloom::cli {

void prepare_heap(std::uintmax_t input_bytes)
{
    constexpr std::uintmax_t huge_page = std::uintmax_t{2} << 20;
    if (input_bytes < 8 * huge_page) return;
    // The records of a map take less room than its text; twice that is ample.
    const auto room = static_cast<std::size_t>(std::min(2 * input_bytes, std::uintmax_t{1} << 32));
    // Large blocks too come from the heap, which grows in long steps and
    // keeps what is freed for the next record rather than giving it back.
    if (mallopt(M_MMAP_THRESHOLD, 256 << 20) != 1 || mallopt(M_TOP_PAD, 64 << 20) != 1 ||
        mallopt(M_TRIM_THRESHOLD, 512 << 20) != 1)
        return;
    void* const block = std::malloc(room);
    if (!block) return;
    const auto from = reinterpret_cast<std::uintptr_t>(block);
    const auto to = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    const std::uintptr_t first = (from + huge_page - 1) / huge_page * huge_page;
    // Only a block the heap gave can mark the heap: a block of its own
    // mapping would go with the free below.
    if (from < to && first < to)
        ::madvise(reinterpret_cast<void*>(first), to - first, MADV_HUGEPAGE);
    std::free(block);
}

} // namespace wayloom::cli
