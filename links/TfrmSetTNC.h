// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"

#include <QDialog>
#include <memory>

class Dialogs;
class QLineEdit;

namespace Ui {
class TfrmSetTNC;
}

// TNC Settings: the texts and codes of the TNC's command mode. Works on its own copy of the
// link settings; the caller takes settings() back when it was accepted.
class TfrmSetTNC : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetTNC(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmSetTNC() override;

    void setValues(const LinkSettings& link) { m_link = link; }
    const LinkSettings& settings() const { return m_link; }

    void frmShow();
    // A control key typed into the Command or SendPac box becomes its "$XX" text; true when
    // the key was used up.
    bool KeyPress1(QLineEdit* box, int code);
    void btnOKClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSetTNC> ui;
    Dialogs& m_dialogs;
    LinkSettings m_link;
};
