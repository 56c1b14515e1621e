// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm14;
}

// Help on entering weather data. Created hidden at start-up and reused for the whole run.
class TForm14 : public QDialog {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);
    ~TForm14() override;

    // The window that shows this help; it opens at that window's left + 30, top + 40.
    void setOpener(QWidget* opener) { m_opener = opener; }

    void frmShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TForm14> ui;
    QWidget* m_opener = nullptr;
};
