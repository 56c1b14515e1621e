// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/NextReport.h"
#include "links/FramePlan.h"

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;

// What is shown under an object's header: in front, its size and airtime on the link as set up
// and, while the object runs, the minutes to its next send (or why nothing would go); then the
// next report as it would go out now.
struct NextReportLine {
    QString front;
    QString report;
    QString text() const { return front + report; }
};
NextReportLine nextReportLine(const NextReportView& next, const FramePlan& plan);
// What a screen reader reads for a line: its caption and its whole text ("Last report: Sent
// 12:03:05, heard via DIGI1 12:03:06"); the caption alone while the line is empty.
QString spokenName(const QString& caption, const QString& text);

// The line that shows it, placed under the header box in the tab's layout. The tab has room
// for one line, so it shows the figures in short and the report cut in its middle where needed;
// the whole text is in its tool tip.
class ReportPreview : public QObject {
    Q_OBJECT
public:
    // `name` and `lastName` are the object names of the next-report and last-report lines.
    ReportPreview(QLineEdit* header, const QString& name, const QString& lastName,
                  QObject* parent = nullptr);
    void show(const NextReportView& next, const FramePlan& plan);
    // What became of the last report, under the next one; hidden while empty.
    void showLast(const QString& text);
    QLabel* label() const { return m_label; }
    // The whole text shown, before any cut.
    QString text() const { return m_line.text(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();

    QLabel* m_label;
    QLabel* m_last;
    NextReportLine m_line;
};
