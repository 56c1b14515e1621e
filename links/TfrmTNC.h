// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/LinkSettings.h"

#include <QDialog>
#include <memory>

class Clock;
class LinkControl;
class TfrmKiss;

namespace Ui {
class TfrmTNC;
}

// The TNC terminal: what the TNC says, a line to type commands into, and the buttons that
// switch the TNC into KISS mode and out again. It works on the link's own serial port and
// settings; what the TNC sends reaches it through the link, on the window thread.
class TfrmTNC : public QDialog {
    Q_OBJECT
public:
    TfrmTNC(LinkControl& link, Clock& clock, QWidget* parent = nullptr);
    ~TfrmTNC() override;

    void setKissDialog(TfrmKiss* dialog) { m_kiss = dialog; }

    void TNCShow();
    // A character typed into the command line: the SendPac code sends the line, the command
    // code goes out alone. True when the character was used up.
    bool EditKeyPress(int code);
    void btnSendClick();     // Enter Kiss
    void btnExitKissClick(); // Exit Kiss
    void Button1Click();     // Set Kiss
    void Button2Click();     // Close

    // Text the TNC sent. Safe to call from any thread: the memo changes on the window thread.
    void showReceived(const QString& text);
    // The memo's text as held (lines end in CR LF), at most 4095 characters.
    const QString& memoText() const { return m_memo; }

signals:
    // The link settings changed here: the Set Kiss Commands, or the link type switched to
    // match the TNC.
    void linkChanged(const LinkSettings& link);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void write(const QByteArray& bytes);
    void matchLinkType(LinkType type);

    std::unique_ptr<Ui::TfrmTNC> ui;
    LinkControl& m_link;
    Clock& m_clock;
    TfrmKiss* m_kiss = nullptr;
    QString m_memo;
};
