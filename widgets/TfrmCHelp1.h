// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmCHelp1;
}

// The Comment Files dialog's help: a shorter text about the file and the default comment.
class TfrmCHelp1 : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCHelp1(QWidget* parent = nullptr);
    ~TfrmCHelp1() override;

    // Modal, with its frame at `at`.
    void showAt(QPoint at);

private:
    std::unique_ptr<Ui::TfrmCHelp1> ui;
};
