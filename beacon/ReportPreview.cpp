// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ReportPreview.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QVBoxLayout>

QString nextReportText(const NextReportView& next, const FramePlan& plan) {
    if (!next.refusal.isEmpty())
        return QStringLiteral("Next report: none (%1)").arg(next.refusal);
    if (next.info.isEmpty())
        return {};
    if (!plan.refusal.isEmpty())
        return QStringLiteral("Not sent (%1): %2").arg(plan.refusal, next.info);
    QStringList about;
    if (plan.cost.bytes > 0) {
        // Figures with a full stop whatever the desktop language, as everywhere in the program.
        QString cost = QStringLiteral("%1 bytes, %2 s")
                           .arg(plan.cost.bytes)
                           .arg(QString::number(plan.cost.seconds, 'f', 2));
        if (plan.links.size() > 1)
            cost += QStringLiteral(" x %1 ports").arg(plan.links.size());
        about << cost;
    }
    if (next.running)
        about << (next.minutesLeft <= 1 ? QStringLiteral("next in 1 min")
                                        : QStringLiteral("next in %1 min").arg(next.minutesLeft));
    if (next.fileBusy)
        about << QStringLiteral("comment file being written");
    return QStringLiteral("Next (%1): %2").arg(about.join(QStringLiteral("; ")), next.info);
}

ReportPreview::ReportPreview(QLineEdit* header, const QString& name, QObject* parent)
    : QObject(parent), m_label(new QLabel) {
    m_label->setObjectName(name);
    m_label->setAccessibleName(QStringLiteral("Next report"));
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
}

void ReportPreview::show(const NextReportView& next, const FramePlan& plan) {
    const QString text = nextReportText(next, plan);
    if (text == m_text)
        return;
    m_text = text;
    m_label->setToolTip(text);
    // On the line itself the figures in short, so that more of the report fits beside them.
    m_report.clear();
    m_prefix = text;
    if (next.refusal.isEmpty() && !next.info.isEmpty() && plan.refusal.isEmpty()) {
        QStringList about;
        if (plan.cost.bytes > 0)
            about << QStringLiteral("%1 B, %2 s")
                         .arg(plan.cost.bytes)
                         .arg(QString::number(plan.cost.seconds, 'f', 2));
        if (next.running)
            about << QStringLiteral("in %1 min").arg(qMax(1, next.minutesLeft));
        if (next.fileBusy)
            about << QStringLiteral("file busy");
        m_prefix = about.join(QStringLiteral(", ")) + QStringLiteral(": ");
        m_report = next.info;
    }
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
    const int left = width - metrics.horizontalAdvance(m_prefix);
    // The report loses its middle, where the header shown just above stands, so that its
    // comment with the markers replaced stays in sight.
    if (m_report.isEmpty() || left < metrics.averageCharWidth() * 8)
        m_label->setText(metrics.elidedText(m_prefix + m_report, Qt::ElideRight, width));
    else
        m_label->setText(m_prefix + metrics.elidedText(m_report, Qt::ElideMiddle, left));
}
