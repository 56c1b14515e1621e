// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/ModalWatchdog.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Every test runs under a modal-dialog watchdog, so a dialog nobody closes fails its test
// instead of holding the whole run.
class WatchdogPerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        m_watchdog = std::make_unique<ModalWatchdog>();
    }
    void OnTestEnd(const ::testing::TestInfo&) override { m_watchdog.reset(); }

    std::unique_ptr<ModalWatchdog> m_watchdog;
};

} // namespace

int main(int argc, char** argv) {
    // Windows are tested headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    ::testing::UnitTest::GetInstance()->listeners().Append(new WatchdogPerTest);
    return RUN_ALL_TESTS();
}
