// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PixelBuffer.h"

#include <QLoggingCategory>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

// AddressSanitizer watches the heap, not mappings: under it the pixels come from the heap, so
// that a decoder writing past a picture's last row is caught there.
#if defined(__SANITIZE_ADDRESS__)
#define SKYVANE_PIXELS_ON_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SKYVANE_PIXELS_ON_HEAP 1
#endif
#endif

Q_LOGGING_CATEGORY(lcPixels, "skyvane.map.pixels")

namespace {

// Kept in front of the pixels, so that one pointer is enough to give the mapping back. 64
// bytes keep the pixels as aligned as any vector instruction wants them.
struct Header {
    std::size_t mappedBytes; // 0: taken from the heap
    std::size_t bytes;
    bool hugePages;
};
constexpr std::size_t HeaderBytes = 64;
static_assert(sizeof(Header) <= HeaderBytes);

Header* headerOf(unsigned char* data) {
    return reinterpret_cast<Header*>(data - HeaderBytes);
}

// Unused where the sanitizers take the buffers from the heap.
[[maybe_unused]] std::size_t roundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

[[maybe_unused]] void* mapAnonymous(std::size_t bytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

} // namespace

PixelBuffer::PixelBuffer(PixelBuffer&& other) noexcept : m_data(other.m_data) {
    other.m_data = nullptr;
}

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        free(m_data);
        m_data = other.m_data;
        other.m_data = nullptr;
    }
    return *this;
}

PixelBuffer PixelBuffer::allocate(std::size_t bytes) {
    constexpr std::size_t slack = HeaderBytes + 2 * HugePageBytes;
    if (bytes == 0 || bytes > std::numeric_limits<std::size_t>::max() - slack)
        return {};
#ifdef SKYVANE_PIXELS_ON_HEAP
    // Exactly as long as asked, so that a write one byte past the end is caught, and as
    // aligned as the mapped buffers.
    void* memory = nullptr;
    if (posix_memalign(&memory, HeaderBytes, HeaderBytes + bytes) != 0)
        return {};
    auto* block = static_cast<unsigned char*>(memory);
    std::memset(block, 0, HeaderBytes + bytes);
    *reinterpret_cast<Header*>(block) = Header{0, bytes, false};
    return PixelBuffer(block + HeaderBytes);
#else
    const bool huge = bytes >= HugePagesFrom;
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    const std::size_t length = roundUp(bytes + HeaderBytes, huge ? HugePageBytes : page);
    unsigned char* base = nullptr;
    bool advised = false;
    if (huge) {
        // The kernel backs only whole, aligned 2 MiB ranges with huge pages: map a little more
        // and give back what lies outside the aligned range.
        auto* raw = static_cast<unsigned char*>(mapAnonymous(length + HugePageBytes));
        if (!raw)
            return {};
        const auto rawAddress = reinterpret_cast<std::uintptr_t>(raw);
        const std::uintptr_t aligned = roundUp(rawAddress, HugePageBytes);
        base = reinterpret_cast<unsigned char*>(aligned);
        if (const std::size_t head = aligned - rawAddress; head > 0)
            munmap(raw, head);
        if (const std::size_t tail = rawAddress + length + HugePageBytes - (aligned + length);
            tail > 0)
            munmap(base + length, tail);
        advised = madvise(base, length, MADV_HUGEPAGE) == 0;
        if (!advised)
            qCDebug(lcPixels) << "no huge pages for" << bytes << "bytes:" << std::strerror(errno);
    } else {
        base = static_cast<unsigned char*>(mapAnonymous(length));
        if (!base)
            return {};
    }
    auto* header = reinterpret_cast<Header*>(base);
    header->mappedBytes = length;
    header->bytes = bytes;
    header->hugePages = advised;
    return PixelBuffer(base + HeaderBytes);
#endif
}

std::size_t PixelBuffer::size() const {
    return m_data ? headerOf(m_data)->bytes : 0;
}

bool PixelBuffer::hugePages() const {
    return m_data && headerOf(m_data)->hugePages;
}

unsigned char* PixelBuffer::release() {
    unsigned char* data = m_data;
    m_data = nullptr;
    return data;
}

void PixelBuffer::free(void* data) {
    if (!data)
        return;
    Header* header = headerOf(static_cast<unsigned char*>(data));
    if (header->mappedBytes == 0)
        std::free(header);
    else
        munmap(header, header->mappedBytes);
}
