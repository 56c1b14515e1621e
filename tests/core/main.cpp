// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include <QCoreApplication>
#include <gtest/gtest.h>

// The station core runs without a window system: these tests prove it by having none.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Skyvane"));
    return RUN_ALL_TESTS();
}
