// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class TfrmKissHelp;
class Dialogs;

namespace Ui {
class TfrmKiss;
}

// Set Kiss Commands: the lines that put the TNC into KISS mode, the codes that take it out,
// and whether the terminal's buttons also switch the link type. Works on its own copy of the
// link settings; the caller takes settings() back when it was accepted.
class TfrmKiss : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKiss(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmKiss() override;

    void setValues(const LinkSettings& link) { m_link = link; }
    const LinkSettings& settings() const { return m_link; }
    void setHelpWindow(TfrmKissHelp* help) { m_help = help; }

    void frmShow();
    // A control key typed into an exit box becomes its "$XX" text and the focus moves on;
    // true when the key was used up.
    bool KeyPress1(QLineEdit* box, int code);
    void btnOKClick();
    void Button1Click(); // Cancel
    void Button2Click(); // Help

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmKiss> ui;
    Dialogs& m_dialogs;
    TfrmKissHelp* m_help = nullptr;
    LinkSettings m_link;
    QLineEdit* m_enter[4];
    QLineEdit* m_exit[4];
};
