// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmKissHelp;
}

// Help on the exit-KISS sequence and on matching the link type to the TNC. Created hidden at
// start-up and reused for the whole run.
class TfrmKissHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKissHelp(QWidget* parent = nullptr);
    ~TfrmKissHelp() override;

    void frmShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmKissHelp> ui;
};
