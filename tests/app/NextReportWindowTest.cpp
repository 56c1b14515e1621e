// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "beacon/ObjectPanel.h"
#include "common/Cp1252.h"
#include "links/Ax25.h"
#include "links/FramePlan.h"
#include "links/HeardModel.h"
#include "links/LinkControl.h"
#include "links/TfrmHeard.h"
#include "station/Station.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

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
    // Read whole by a screen reader, however the line is cut to fit the tab.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(preview(1))->text(QAccessible::Name),
              "Next report: none (An Identifier is required.)");
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

// A copy of a Send Now heard through a digipeater: the tab says so under the next report,
// View > Heard lists it marked as ours among the rest, its filter narrows the list, and Copy
// gives the lines; another station's object of the same name reaches the status box.
TEST_F(NextReportWindow, HeardCopiesShowOnTheTabAndInTheHeardWindow) {
    complete(1, "TENT");
    auto* last = find<QLabel>("LastReport1");
    EXPECT_FALSE(last->isVisibleTo(m_form.get())) << "nothing sent yet";
    const QString info = sendNow(1);
    spinEvents(20);
    EXPECT_EQ(last->text(), "Sent 18:05:00, not heard yet");
    EXPECT_TRUE(last->isVisibleTo(m_form.get()));
    // A screen reader reads the line itself, not only what it is.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(last)->text(QAccessible::Name),
              "Last report: Sent 18:05:00, not heard yet");
    EXPECT_EQ(last->accessibleDescription(), "Last report");

    QByteArray copy = ax25UiFrame("APRS", "G4ABC-1", "DIGI1,WIDE2-1", Cp1252::fromUnicode(info));
    copy[2 * 7 + 6] = char(copy[2 * 7 + 6] | 0x80); // DIGI1 has repeated it
    m_clock.advanceSecs(2);
    m_engine.hear(1, ax25UiFrame("APRS", "G4XYZ", "", ">Net at eight"));
    m_engine.hear(1, copy);
    m_engine.hear(2, ax25UiFrame("APRS", "G4XYZ", "", info.toLatin1().replace("18", "19")));
    ASSERT_TRUE(waitUntil([&] { return m_form->stationCore().heardModel().rowCount() == 3; }));
    spinEvents(20);
    EXPECT_EQ(last->text(), "Sent 18:05:00, heard via DIGI1 18:05:02\n"
                            "TENT is also sent by G4XYZ (18:05)");
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "TENT is also sent by G4XYZ (18:05)");

    find<QAction>("mnuHeard")->trigger();
    auto* heard = find<TfrmHeard>("frmHeard");
    ASSERT_TRUE(heard->isVisible());
    auto* list = heard->findChild<QTableView*>("lstHeard");
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(1, HeardModel::Ours).data().toString(), "TENT");
    EXPECT_EQ(list->model()->index(0, HeardModel::Ours).data().toString(), "same name as TENT");
    auto* filter = heard->findChild<QLineEdit*>("edtFilter");
    EXPECT_EQ(filter->accessibleName(), "Filter");
    filter->setText("digi1");
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(heard->selectedText(), "2026-03-06 18:05:02Z\tAGWPE port 1\tG4ABC-1>APRS,DIGI1*,"
                                     "WIDE2-1:" +
                                         info + "\tTENT\n");
    heard->findChild<QPushButton*>("btnCopy")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), heard->selectedText());
}
