// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/ModalWatchdog.h"

#include <QDialog>
#include <QElapsedTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// A broken dialog: OK, Cancel and Escape all leave it open.
class StuckDialog : public QDialog {
public:
    explicit StuckDialog(const QString& title, QWidget* parent = nullptr) : QDialog(parent) {
        setWindowTitle(title);
    }
    void done(int) override {}
};

} // namespace

TEST(ModalWatchdog, RejectsADialogThatWillNotCloseAndFailsTheTestNamingIt) {
    ModalWatchdog watchdog(200);
    StuckDialog dialog(QStringLiteral("Station Setup"));
    // The test's own attempt to close it, which the broken dialog ignores.
    QTimer::singleShot(0, &dialog, [&] { dialog.accept(); });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_NONFATAL_FAILURE(dialog.exec(),
                            "The dialog \"Station Setup\" was still open after 200 ms");
    EXPECT_GE(elapsed.elapsed(), 200);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(watchdog.rejected(), 1);
}

TEST(ModalWatchdog, ADialogOpenedFromAStuckOneIsRejectedFirstAndTheOuterOneGoesOn) {
    ModalWatchdog watchdog(200);
    QDialog outer;
    outer.setWindowTitle(QStringLiteral("Outer"));
    StuckDialog inner(QStringLiteral("Inner"), &outer);
    int innerResult = -1;
    QTimer::singleShot(0, &outer, [&] {
        innerResult = inner.exec();
        outer.accept();
    });
    int outerResult = -1;
    EXPECT_NONFATAL_FAILURE(outerResult = outer.exec(), "\"Inner\" was still open");
    EXPECT_EQ(innerResult, QDialog::Rejected);
    EXPECT_EQ(outerResult, QDialog::Accepted);
    EXPECT_EQ(watchdog.rejected(), 1);
}

TEST(ModalWatchdog, LeavesADialogThatClosesInTimeAlone) {
    ModalWatchdog watchdog(5000);
    QDialog dialog;
    QTimer::singleShot(50, &dialog, &QDialog::accept);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(watchdog.rejected(), 0);
}
