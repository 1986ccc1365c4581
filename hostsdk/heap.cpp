// The host heap: every block carries its size in front, so the stand-in can
// keep a running total and refuse blocks beyond a test limit.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hostsdk/hostapi.h"

namespace {

// Keeps the user part as aligned as malloc's own blocks.
constexpr size_t kHeaderSize = alignof(std::max_align_t) > sizeof(size_t)
                                   ? alignof(std::max_align_t)
                                   : sizeof(size_t);

std::atomic<size_t> bytesInUse{0};
std::atomic<size_t> allocationLimit{0};

// Books size bytes against the limit; false when the limit refuses them.
bool Reserve(size_t size) {
    size_t before = bytesInUse.fetch_add(size);
    size_t limit = allocationLimit.load();
    bool overflow = before + size < before;
    if (overflow || (limit != 0 && before + size > limit)) {
        bytesInUse.fetch_sub(size);
        return false;
    }
    return true;
}

}  // namespace

void* MAX_malloc(size_t size) {
    if (size > SIZE_MAX - kHeaderSize || !Reserve(size)) return nullptr;
    char* raw = static_cast<char*>(std::malloc(kHeaderSize + size));
    if (!raw) {
        bytesInUse.fetch_sub(size);
        return nullptr;
    }
    std::memcpy(raw, &size, sizeof size);
    return raw + kHeaderSize;
}

void* MAX_calloc(size_t count, size_t size) {
    if (size != 0 && count > SIZE_MAX / size) return nullptr;
    void* p = MAX_malloc(count * size);
    if (p) std::memset(p, 0, count * size);
    return p;
}

void zfree(void* p) {
    if (!p) return;
    char* raw = static_cast<char*>(p) - kHeaderSize;
    size_t size;
    std::memcpy(&size, raw, sizeof size);
    bytesInUse.fetch_sub(size);
    std::free(raw);
}

void* MaxHeapOperators::operator new(size_t size) noexcept { return MAX_malloc(size); }
void* MaxHeapOperators::operator new[](size_t size) noexcept { return MAX_malloc(size); }
void MaxHeapOperators::operator delete(void* p) noexcept { zfree(p); }
void MaxHeapOperators::operator delete[](void* p) noexcept { zfree(p); }

void HostSetAllocationLimit(size_t bytes) { allocationLimit.store(bytes); }

size_t HostHeapBytesInUse() { return bytesInUse.load(); }
