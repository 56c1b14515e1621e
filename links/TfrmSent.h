// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "links/SentLog.h"

#include <QWidget>
#include <memory>

namespace Ui {
class TfrmSent;
}

// The frames sent today, newest first: those of earlier runs from the day's log file and every
// one of this run as it is handed to the link. Modeless; lives for the whole run.
class TfrmSent : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSent(QWidget* parent = nullptr);
    ~TfrmSent() override;

    // Replaces the list (the day's file read at start-up or at the first showing).
    void setRecords(const QList<SentRecord>& records);
    void addRecord(const SentRecord& record);

    void cmbObjectChange();
    void btnCopyClick();
    // The selected rows, oldest first, one line each as the clipboard receives them.
    QString selectedText() const;

    static QString textOf(const SentRecord& record);

private:
    void addRow(const SentRecord& record);

    std::unique_ptr<Ui::TfrmSent> ui;
    QList<SentRecord> m_records;
};
