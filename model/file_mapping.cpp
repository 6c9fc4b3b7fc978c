#include "model/file_mapping.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>

namespace wayloom {

namespace {

// The mappings watched for a file cut short, read by the signal handler:
// plain atomics, which a handler may use.
struct watched_mapping {
    std::atomic<std::uintptr_t> start{0};  // 0 for a free place
    std::atomic<std::size_t> size{0};
    std::atomic<bool> cut{false};
};
constexpr int most_watched = 16;
constexpr std::uintptr_t filling_in = 1;  // a place taken, its mapping not yet written in
watched_mapping watched[most_watched];
struct sigaction before_ours{};

// A read past the end of a mapped file raises SIGBUS. On a watched mapping
// the page is replaced by a page of zeros and the read goes on; anything
// else gets the action there was before.
void on_bus_error(int signal, siginfo_t* info, void*)
{
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (watched_mapping& w : watched) {
        const std::uintptr_t start = w.start.load();
        if (start <= filling_in || at < start || at - start >= w.size.load()) continue;
        const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        void* const first = reinterpret_cast<void*>(at / page * page);
        if (::mmap(first, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) break;
        w.cut.store(true);
        return;
    }
    ::sigaction(signal, &before_ours, nullptr);
    // A fault happens again as the instruction is retried; a signal sent by
    // a program must be sent again.
    if (info->si_code <= 0) ::raise(signal);
}

int watch(const char* data, std::size_t size)
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction ours{};
        ours.sa_sigaction = on_bus_error;
        ours.sa_flags = SA_SIGINFO;
        sigemptyset(&ours.sa_mask);
        ::sigaction(SIGBUS, &ours, &before_ours);
    });
    for (int i = 0; i < most_watched; ++i) {
        std::uintptr_t free = 0;
        if (!watched[i].start.compare_exchange_strong(free, filling_in)) continue;
        watched[i].size.store(size);
        watched[i].cut.store(false);
        watched[i].start.store(reinterpret_cast<std::uintptr_t>(data));
        return i;
    }
    return -1;
}

} // namespace

file_mapping::file_mapping(file_mapping&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      released_(std::exchange(other.released_, 0)), watch_(std::exchange(other.watch_, -1))
{
}

file_mapping& file_mapping::operator=(file_mapping&& other) noexcept
{
    if (this != &other) {
        reset();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        released_ = std::exchange(other.released_, 0);
        watch_ = std::exchange(other.watch_, -1);
    }
    return *this;
}

bool file_mapping::map(int fd, std::size_t size)
{
    reset();
    if (size == 0) return false;
    void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (at == MAP_FAILED) return false;
    ::madvise(at, size, MADV_SEQUENTIAL);
    data_ = static_cast<const char*>(at);
    size_ = size;
    watch_ = watch(data_, size_);
    return true;
}

void file_mapping::reset()
{
    if (watch_ >= 0) watched[watch_].start.store(0);
    watch_ = -1;
    if (data_) ::munmap(const_cast<char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    released_ = 0;
}

bool file_mapping::cut_short() const { return watch_ >= 0 && watched[watch_].cut.load(); }

void file_mapping::release_before(std::size_t offset) const
{
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t whole = std::min(offset, size_) / page * page;
    // The mapping is private and never written, so the dropped pages are
    // read from the file again should they be needed (only an error's
    // surroundings are), and stay until the mapping goes.
    if (whole <= released_) return;
    ::madvise(const_cast<char*>(data_ + released_), whole - released_, MADV_DONTNEED);
    released_ = whole;
}

} // namespace wayloom
