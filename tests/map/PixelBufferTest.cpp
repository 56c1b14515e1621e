// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/PixelBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(PixelBuffer, EverySizeIsZeroFilledWritableAndAligned) {
    const std::size_t huge = PixelBuffer::HugePagesFrom;
    for (std::size_t bytes : {std::size_t(1), std::size_t(4095), std::size_t(4096), huge - 64, huge,
                              huge + 1, huge + PixelBuffer::HugePageBytes - 64}) {
        SCOPED_TRACE(bytes);
        PixelBuffer buffer = PixelBuffer::allocate(bytes);
        ASSERT_FALSE(buffer.isNull());
        EXPECT_EQ(buffer.size(), bytes);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.data()) % 64, 0u);
        unsigned char* p = buffer.data();
        EXPECT_EQ(p[0], 0);
        EXPECT_EQ(p[bytes / 2], 0);
        EXPECT_EQ(p[bytes - 1], 0);
        p[0] = 1;
        p[bytes - 1] = 2; // the last byte is ours: no fault, and the size stays readable
        EXPECT_EQ(buffer.size(), bytes);
    }
}

TEST(PixelBuffer, RequestsThatCannotBeMetGiveNullBuffers) {
    EXPECT_TRUE(PixelBuffer::allocate(0).isNull());
    EXPECT_TRUE(PixelBuffer::allocate(std::numeric_limits<std::size_t>::max()).isNull());
    EXPECT_TRUE(PixelBuffer::allocate(std::numeric_limits<std::size_t>::max() / 2).isNull());
}

TEST(PixelBuffer, OwnershipMovesOnceAndComesBackThroughAdopt) {
    PixelBuffer first = PixelBuffer::allocate(PixelBuffer::HugePagesFrom + 3);
    unsigned char* const data = first.data();
    PixelBuffer second = std::move(first);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(second.data(), data);
    unsigned char* released = second.release();
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(released, data);
    PixelBuffer back = PixelBuffer::adopt(released);
    EXPECT_EQ(back.size(), PixelBuffer::HugePagesFrom + 3);
    back = PixelBuffer::allocate(10); // the adopted memory goes back here, once
    EXPECT_EQ(back.size(), 10u);
    PixelBuffer::free(nullptr);
}
