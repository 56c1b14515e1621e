// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ReportPreview.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QVBoxLayout>

NextReportLine nextReportLine(const NextReportView& next, const FramePlan& plan) {
    if (!next.refusal.isEmpty())
        return {QStringLiteral("Next report: none (%1)").arg(next.refusal), {}};
    if (next.info.isEmpty())
        return {};
    if (!plan.refusal.isEmpty())
        return {QStringLiteral("Not sent (%1): ").arg(plan.refusal), next.info};
    if (!next.linkDown.isEmpty())
        return {QStringLiteral("Waiting for the link (%1): ").arg(next.linkDown), next.info};
    QStringList about;
    if (plan.cost.bytes > 0) {
        // Figures with a full stop whatever the desktop language, as everywhere in the program.
        // A line to APRS-IS takes no time on any radio channel.
        QString cost = plan.onAir ? QStringLiteral("%1 B, %2 s")
                                        .arg(plan.cost.bytes)
                                        .arg(QString::number(plan.cost.seconds, 'f', 2))
                                  : QStringLiteral("%1 B, \u2014").arg(plan.cost.bytes);
        if (plan.links.size() > 1)
            cost += QStringLiteral(" x %1").arg(plan.links.size());
        about << cost;
    }
    if (next.running)
        about << QStringLiteral("in %1 min").arg(qMax(1, next.minutesLeft));
    if (next.fileBusy)
        about << QStringLiteral("file busy");
    return {about.join(QStringLiteral(", ")) + QStringLiteral(": "), next.info};
}

QString spokenName(const QString& caption, const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QStringLiteral(". "));
    if (line.isEmpty() || line.startsWith(caption))
        return line.isEmpty() ? caption : line;
    return caption + QStringLiteral(": ") + line;
}

ReportPreview::ReportPreview(QLineEdit* header, const QString& name, const QString& lastName,
                             QObject* parent)
    : QObject(parent), m_label(new QLabel), m_last(new QLabel) {
    m_label->setObjectName(name);
    // A screen reader reads the name: it carries the line's whole text, the caption in front.
    m_label->setAccessibleName(QStringLiteral("Next report"));
    m_label->setAccessibleDescription(QStringLiteral("Next report"));
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Its width follows the tab, never the other way round.
    m_label->setMinimumWidth(1);
    m_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_label->installEventFilter(this);
    // Under the header, in the header's own place in the tab's layout.
    QWidget* tab = header->parentWidget();
    auto* pair = new QWidget(tab);
    auto* column = new QVBoxLayout(pair);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    if (QLayout* layout = tab->layout())
        delete layout->replaceWidget(header, pair);
    column->addWidget(header);
    column->addWidget(m_label);
    m_last->setObjectName(lastName);
    m_last->setAccessibleName(QStringLiteral("Last report"));
    m_last->setAccessibleDescription(QStringLiteral("Last report"));
    m_last->setToolTip(QStringLiteral("The last report and the copies of it heard on the "
                                      "channel, with the digipeater that repeated each (UTC)"));
    m_last->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_last->setMinimumWidth(1);
    m_last->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_last->hide();
    column->addWidget(m_last);
}

void ReportPreview::showLast(const QString& text) {
    if (text == m_last->text())
        return;
    m_last->setText(text);
    m_last->setAccessibleName(spokenName(QStringLiteral("Last report"), text));
    m_last->setVisible(!text.isEmpty());
}

void ReportPreview::show(const NextReportView& next, const FramePlan& plan) {
    const NextReportLine line = nextReportLine(next, plan);
    if (line.text() == m_line.text())
        return;
    m_line = line;
    m_label->setToolTip(m_line.text());
    // The whole line, not the elided one the label shows.
    m_label->setAccessibleName(spokenName(QStringLiteral("Next report"), m_line.text()));
    fit();
}

bool ReportPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_label && event->type() == QEvent::Resize)
        fit();
    return false;
}

void ReportPreview::fit() {
    const QFontMetrics metrics = m_label->fontMetrics();
    const int width = m_label->contentsRect().width();
    const int left = width - metrics.horizontalAdvance(m_line.front);
    // The report loses its middle, where the header shown just above stands, so that its
    // comment with the markers replaced stays in sight.
    if (m_line.report.isEmpty() || left < metrics.averageCharWidth() * 8)
        m_label->setText(metrics.elidedText(m_line.text(), Qt::ElideRight, width));
    else
        m_label->setText(m_line.front + metrics.elidedText(m_line.report, Qt::ElideMiddle, left));
}
