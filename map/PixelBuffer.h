// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QtGlobal>

#include <cstddef>

// Memory for the pixels of a whole map picture. A large map is hundreds of megabytes written
// once from top to bottom; taken from malloc, each 4 KiB page costs a fault on first touch,
// which for an 8000 x 6000 map takes longer than decoding it. These buffers are anonymous
// mappings advised for transparent huge pages, so a fault brings in 2 MiB at a time; where
// the kernel refuses the advice they are ordinary mappings and work the same, only slower.
// The memory is zero-filled.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    ~PixelBuffer() { free(m_data); }

    // Null (check with isNull) when the system has no room for `bytes`.
    static PixelBuffer allocate(std::size_t bytes);

    bool isNull() const { return m_data == nullptr; }
    unsigned char* data() const { return m_data; }
    std::size_t size() const;
    // Whether the kernel accepted the huge-page advice for this buffer.
    bool hugePages() const;

    // Gives the memory up to a new owner, who returns it through free(); fits the clean-up
    // function of an image that wraps the memory.
    unsigned char* release();
    static void free(void* data);
    // Takes back what release() gave up.
    static PixelBuffer adopt(unsigned char* data) { return PixelBuffer(data); }

    static constexpr std::size_t HugePageBytes = 2 * 1024 * 1024;
    // Buffers from this size up are aligned and advised for huge pages, and round up to whole
    // ones: at most one in sixteen is then partly unused. Below it, the few hundred faults
    // of a small picture cost less than the memory a rounded-up huge page would hold idle.
    static constexpr std::size_t HugePagesFrom = 16 * HugePageBytes;

private:
    explicit PixelBuffer(unsigned char* data) : m_data(data) {}
    unsigned char* m_data = nullptr;
};
