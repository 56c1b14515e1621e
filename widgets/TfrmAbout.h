// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmAbout;
}

// The about box: the program's picture, name, version and release date. Created hidden at
// start-up and reused for the whole run.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    void Button1Click();

private:
    std::unique_ptr<Ui::TfrmAbout> ui;
};
