// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// A test text from a literal, spelt once for the suites that compare many of them.
inline QString q(const char* text) {
    return QString::fromUtf8(text);
}
