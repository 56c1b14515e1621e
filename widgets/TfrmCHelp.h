// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmCHelp;
}

// Help on comment files, opened from the Help menu. Created hidden at start-up and reused.
class TfrmCHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCHelp(QWidget* parent = nullptr);
    ~TfrmCHelp() override;

    // Modal, with its frame at `at`.
    void showAt(QPoint at);

private:
    std::unique_ptr<Ui::TfrmCHelp> ui;
};
