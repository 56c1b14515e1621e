// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/BandedJpeg.h"

#include <QByteArray>
#include <QFile>

namespace {

// Bits into bytes, a 0x00 after every 0xFF as entropy-coded data wants.
class BitWriter {
public:
    explicit BitWriter(QByteArray& out) : m_out(out) {}
    void put(quint32 bits, int count) {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = quint8((m_byte << 1) | ((bits >> i) & 1));
            if (++m_used == 8)
                flush();
        }
    }
    // The last byte filled up with ones.
    void finish() {
        while (m_used != 0)
            put(1, 1);
    }

private:
    void flush() {
        m_out.append(char(m_byte));
        if (m_byte == 0xFF)
            m_out.append('\0');
        m_byte = 0;
        m_used = 0;
    }
    QByteArray& m_out;
    quint8 m_byte = 0;
    int m_used = 0;
};

void segment(QByteArray& out, quint8 marker, const QByteArray& body) {
    out.append(char(0xFF));
    out.append(char(marker));
    const int length = int(body.size()) + 2;
    out.append(char(length >> 8));
    out.append(char(length & 0xFF));
    out.append(body);
}

QByteArray word(int v) {
    return QByteArray(1, char(v >> 8)) + QByteArray(1, char(v & 0xFF));
}

} // namespace

bool writeBandedJpeg(const QString& path, int width, int height, int bandLeft, int bandRight) {
    QByteArray out("\xFF\xD8", 2);
    // Quantisation by 1 everywhere: a block's DC coefficient is 8 x (level - 128).
    segment(out, 0xDB, QByteArray(1, '\0') + QByteArray(64, '\1'));
    segment(out, 0xC0,
            QByteArray(1, char(8)) + word(height) + word(width) +
                QByteArray("\x01\x01\x11\x00", 4));
    // The usual luminance DC table: categories 0..11.
    const char dcBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    QByteArray dc(1, '\0');
    dc.append(dcBits, 16);
    for (char category = 0; category < 12; ++category)
        dc.append(category);
    segment(out, 0xC4, dc);
    // An AC table of one code, "0", for the end of block: no block has any detail.
    QByteArray ac(1, char(0x10));
    ac.append(char(1));
    ac.append(QByteArray(15, '\0'));
    ac.append('\0');
    segment(out, 0xC4, ac);
    segment(out, 0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));

    // Difference codes of the DC table: 0 is "00"; +-1024 are category 11, "111111110" and
    // eleven bits (the difference, or for a negative one the difference plus 2047). The
    // prediction runs on from one row of blocks into the next.
    BitWriter bits(out);
    int previous = 0;
    for (int row = 0; row < height / 8; ++row) {
        for (int x = 0; x < width; x += 8) {
            const int dcValue = x >= bandLeft && x < bandRight ? -1024 : 0;
            const int difference = dcValue - previous;
            previous = dcValue;
            if (difference == 0) {
                bits.put(0, 2);
            } else {
                bits.put(0x1FE, 9);
                bits.put(quint32(difference < 0 ? difference + 2047 : difference), 11);
            }
            bits.put(0, 1); // end of block
        }
    }
    bits.finish();
    out.append("\xFF\xD9", 2);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}
