// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "beacon/ObjectPanel.h"
#include "beacon/ReportPreview.h"
#include "links/FramePlan.h"
#include "links/LinkControl.h"
#include "station/Station.h"
#include "ui_TForm1.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

void TForm1::setupPreviews() {
    // Edits come a keystroke at a time and a send changes several things at once: one refresh
    // after the events of the moment.
    m_previewDue = new QTimer(this);
    m_previewDue->setSingleShot(true);
    m_previewDue->setInterval(0);
    connect(m_previewDue, &QTimer::timeout, this, &TForm1::refreshPreviews);
    // The time stamp in a report moves on and comment files change by themselves.
    auto* minute = new QTimer(this);
    minute->setInterval(30000);
    connect(minute, &QTimer::timeout, this, &TForm1::refreshPreviews);
    minute->start();

    for (int k = 0; k < 3; ++k) {
        const QString suffix = k == 0 ? QString() : QString::number(k);
        m_previews[k] =
            new ReportPreview(m_panels[k]->controls().header, QStringLiteral("NextReport") + suffix,
                              QStringLiteral("LastReport") + suffix, this);
        connect(m_panels[k], &ObjectPanel::nextReportChanged, m_previewDue,
                qOverload<>(&QTimer::start));
    }
    // Ports, path and link type decide the frames a report goes out in.
    connect(m_linkControl, &LinkControl::settingsChanged, m_previewDue,
            qOverload<>(&QTimer::start));
    // A copy heard, or another station using one of our names.
    connect(m_station, &Station::lastReportChanged, m_previewDue, qOverload<>(&QTimer::start));
    connect(m_station, &Station::nameClash, this,
            [this](int, const QString& text) { showStatus(text); });
    connect(m_station, &Station::clockStatus, this, &TForm1::showStatus);
    m_channelPanel = new QLabel(ui->Bar);
    m_channelPanel->setObjectName(QStringLiteral("BarPanel3"));
    m_channelPanel->setAccessibleName(QStringLiteral("Channel share"));
    m_channelPanel->setToolTip(
        QStringLiteral("The share of the channel the running objects take: the airtime of each "
                       "report on every port it goes out on, over its interval"));
    m_channelPanel->setFrameShape(QFrame::Panel);
    m_channelPanel->setFrameShadow(QFrame::Sunken);
    ui->Bar->addPermanentWidget(m_channelPanel);
    refreshPreviews();
}

void TForm1::refreshPreviews() {
    QList<ScheduledReport> schedule;
    const LinkSettings& link = linkSettings();
    for (int k = 0; k < 3; ++k) {
        const NextReportView next = m_panels[k]->nextReport();
        const FramePlan plan = next.info.isEmpty() ? FramePlan{}
                                                   : planFrames(link.type(), link, station(),
                                                                next.info, next.destination);
        m_previews[k]->show(next, plan);
        m_previews[k]->showLast(m_station->lastReportText(k));
        if (next.running && !next.info.isEmpty())
            schedule.append({plan, m_panels[k]->object().interval});
    }
    m_channelPanel->setText(schedule.isEmpty() ? QString()
                                               : channelShareText(channelShare(schedule)));
}
