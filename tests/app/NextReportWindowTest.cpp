// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "beacon/ObjectPanel.h"
#include "links/FramePlan.h"
#include "links/LinkControl.h"
#include "station/Station.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>

namespace {

// The main window on the sample map, connected to a packet engine on 127.0.0.1, its objects
// shown with the report each would send next.
class NextReportWindow : public ObjectsFixture {
protected:
    void SetUp() override {
        m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(18, 5), Qt::UTC));
        m_clock.setLocalOffset(3600);
        start();
        editStation(*m_form, [&](StationSettings& s) {
            s.MyCall = "G4ABC-1";
            s.UnprotoPath = "WIDE1-1";
        });
        m_form->stationCore().setDateFormat("hhMM");
        editLink(*m_form, [&](LinkSettings& s) {
            s.IPAddr = "127.0.0.1";
            s.TCPPort = m_engine.port();
        });
        m_form->link()->setBusyInterval(1);
        m_form->btnConnect1Click();
        ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    }
    QLabel* preview(int k) const {
        return find<QLabel>((QByteArray("NextReport") + suffix(k)).constData());
    }
    // The report the preview of object k shows, once the window has caught up.
    QString shown(int k) {
        spinEvents(20);
        const QString text = preview(k)->toolTip();
        const qsizetype at = text.indexOf(QLatin1String(": "));
        return at < 0 ? text : text.mid(at + 2);
    }
    QString sendNow(int k) {
        const qsizetype before = m_engine.frames.size();
        button("btnSend", k)->click();
        if (!m_engine.waitForFrames(before + 1))
            return QStringLiteral("(nothing sent)");
        waitUntil([&] { return !m_form->link()->isBusy(); });
        return QString::fromLatin1(m_engine.frames.last().info);
    }

    PacketEngine m_engine;
};

} // namespace

TEST_F(NextReportWindow, ThePreviewIsWhatTheNextSendNowPutsOnTheAir) {
    complete(1, "TENT");
    EXPECT_GT(preview(1)->height(), preview(1)->fontMetrics().height() - 2);
    EXPECT_TRUE(preview(1)->isVisibleTo(m_form.get()));

    // A marked comment, a minute on: the marker and the time stamp move with the clock.
    box("Comment", 1)->setText("% Net at");
    m_clock.advanceSecs(60);
    m_form->refreshPreviews();
    QString next = shown(1);
    EXPECT_TRUE(next.endsWith(QLatin1String("1906 Net at"))) << next.toStdString();
    EXPECT_EQ(sendNow(1), next);

    // A comment file that its writer left a while ago.
    QFile file(path("comment.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("06/03/26 17:45\r\n$ Tide low\r\n");
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-5),
                                 QFileDevice::FileModificationTime));
    file.close();
    m_form->panel(1)->slot().setCommentFile(file.fileName());
    m_form->panel(1)->offerCommentFile();
    find<QCheckBox>("chkFile1")->click();
    next = shown(1);
    EXPECT_TRUE(next.endsWith(QLatin1String("1745 Tide low"))) << next.toStdString();
    EXPECT_EQ(sendNow(1), next);

    // The weather station keeps the header its readings were set with.
    complete(0, "", QStringLiteral("Weather Station"));
    box("Comment", 0)->setText("090/005g012t068");
    m_clock.advanceSecs(120);
    next = shown(0);
    EXPECT_TRUE(next.startsWith(QLatin1String("/0619")) && next.endsWith("090/005g012t068"))
        << next.toStdString();
    EXPECT_EQ(sendNow(0), next);

    // Size and airtime are those of the frame with its one digipeater, and a refusal is said.
    EXPECT_TRUE(
        preview(0)->toolTip().contains(QStringLiteral("%1 B, ").arg(2 + 21 + 2 + next.size() + 2)))
        << preview(0)->toolTip().toStdString();
    box("Identifier", 1)->clear();
    spinEvents(20);
    EXPECT_EQ(preview(1)->toolTip(), "Next report: none (An Identifier is required.)");
}

TEST_F(NextReportWindow, TheStatusBarShowsTheShareOfTheChannelTheRunningObjectsTake) {
    complete(1, "TENT");
    const QLabel* share = find<QLabel>("BarPanel3");
    spinEvents(20);
    EXPECT_TRUE(share->text().isEmpty());
    m_form->panel(1)->setInterval(10);
    button("btnStart", 1)->click();
    ASSERT_TRUE(m_engine.waitForFrames(1));
    waitUntil([&] { return !m_form->link()->isBusy(); });
    spinEvents(20);
    // One frame of its size at 1200 bit/s every ten minutes, from the preview's own figures.
    const QString tip = preview(1)->toolTip();
    EXPECT_TRUE(tip.contains(QLatin1String("in 10 min: "))) << tip.toStdString();
    const double seconds = tip.section(QLatin1String(" B, "), 1).section(' ', 0, 0).toDouble();
    EXPECT_GT(seconds, 0.4);
    EXPECT_EQ(share->text(), channelShareText(seconds / 600));
    // A second port doubles what the schedule takes, as soon as the setting changes.
    editStation(*m_form, [&](StationSettings& s) {
        s.Ports = "1100";
        s.applyPortsText();
    });
    spinEvents(20);
    EXPECT_EQ(share->text(), channelShareText(2 * seconds / 600));
    button("btnStop", 1)->click();
    spinEvents(20);
    EXPECT_TRUE(share->text().isEmpty());
}
