// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ReportPreview.h"
#include "links/AprsIs.h"
#include "links/DialogTestSupport.h"
#include "links/TAGWPE.h"
#include "links/TfrmSent.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

class AprsIsCommsDialog : public ::testing::Test {
protected:
    void open(const QString& callsign = QStringLiteral("N0CALL-7")) {
        dialog.setValues(link);
        dialog.setCallsign(callsign);
        dialog.show();
    }
    template <class T> T* find(const char* name) { return child<T>(&dialog, name); }
    QLineEdit* passcode() { return find<QLineEdit>("AprsPasscode"); }

    LinkSettings link;
    TAGWPE dialog;
};

} // namespace

TEST_F(AprsIsCommsDialog, ChoosingItEnablesItsGroupAndKeepsWhatWasTyped) {
    open();
    EXPECT_FALSE(find<QGroupBox>("AprsIsGroup")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("AprsServer")->text(), QStringLiteral("rotate.aprs2.net"));
    EXPECT_EQ(find<QLineEdit>("AprsPort")->text(), QStringLiteral("14580"));
    EXPECT_EQ(find<QLineEdit>("AprsFilter")->text(), QString());
    find<QRadioButton>("chkAPRSIS")->click();
    EXPECT_EQ(dialog.settings().type(), LinkType::AprsIs);
    EXPECT_TRUE(find<QGroupBox>("AprsIsGroup")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("TNCGroup")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("AGWGroup")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("KissTcpGroup")->isEnabled());
    find<QLineEdit>("AprsServer")->setText(QStringLiteral(" euro.aprs2.net "));
    find<QLineEdit>("AprsFilter")->setText(QStringLiteral("r/51.5/-0.1/50"));
    find<QPushButton>("btnOK")->click();
    const LinkSettings& s = dialog.settings();
    EXPECT_EQ(s.type(), LinkType::AprsIs);
    EXPECT_EQ(s.AprsServer, QStringLiteral("euro.aprs2.net"));
    EXPECT_EQ(s.AprsFilter, QStringLiteral("r/51.5/-0.1/50"));
    // An older copy, which knows none of it, takes the file for AGWPE.
    EXPECT_FALSE(s.UseKISS || s.Host || s.KissTcp);
    for (const char* name : {"AprsServer", "AprsPort", "AprsPasscode", "AprsFilter"})
        EXPECT_FALSE(find<QLineEdit>(name)->accessibleName().isEmpty()) << name;
}

TEST_F(AprsIsCommsDialog, PasscodeFollowsTheCallsignUnlessTheUserTypesTheirOwn) {
    struct Row {
        const char* stored;
        const char* typed; // nullptr: left as shown
        const char* shown;
        const char* kept;
        bool okEnabled;
    };
    const Row rows[] = {
        {"", nullptr, "13023", "", true},      // the callsign's, worked out
        {"", "13023", "13023", "", true},      // typed as worked out: still follows
        {"", "12345", "13023", "12345", true}, // the user's own
        {"12345", nullptr, "12345", "12345", true},
        {"12345", "", "12345", "", true},  // emptied: back to the callsign's
        {"", "-1", "13023", "-1", true},   // receive-only, if the user says so
        {"", "40000", "13023", "", false}, // no passcode: OK waits
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed ? row.typed : "(as shown)");
        link.AprsPasscode = QLatin1String(row.stored);
        open();
        EXPECT_EQ(passcode()->text(), QLatin1String(row.shown));
        if (row.typed)
            passcode()->setText(QLatin1String(row.typed));
        EXPECT_EQ(find<QPushButton>("btnOK")->isEnabled(), row.okEnabled);
        if (row.okEnabled) {
            find<QPushButton>("btnOK")->click();
            EXPECT_EQ(dialog.settings().AprsPasscode, QLatin1String(row.kept));
        }
        passcode()->setText(QString());
        dialog.reject();
    }
    // Letters cannot be typed at all.
    open();
    passcode()->setText(QString());
    passcode()->insert(QStringLiteral("12"));
    passcode()->insert(QStringLiteral("a"));
    passcode()->insert(QStringLiteral(","));
    EXPECT_EQ(passcode()->text(), QStringLiteral("12"));
}

TEST(AprsIsViews, LineSizeAndNoAirtimeInThePreviewAndTheLog) {
    FramePlan plan;
    plan.links = {QStringLiteral("APRS-IS")};
    plan.cost.bytes = 62;
    plan.onAir = false;
    NextReportView next;
    next.info = QStringLiteral(";NET 8PM  *061523z5130.25N/00007.50W-");
    next.running = true;
    next.minutesLeft = 4;
    EXPECT_EQ(nextReportLine(next, plan).front, QStringLiteral("62 B, \u2014, in 4 min: "));

    SentRecord r;
    r.utc = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
    r.slot = 1;
    r.identifier = QStringLiteral("NET 8PM");
    r.link = QStringLiteral("APRS-IS");
    r.bytes = 62;
    r.monitor = QStringLiteral("N0CALL>APZSKY,TCPIP*:;NET 8PM  *061523z");
    EXPECT_EQ(TfrmSent::textOf(r),
              QStringLiteral("2026-01-02 03:04:05Z  Object 1 NET 8PM  APRS-IS  62 bytes  \u2014  "
                             "N0CALL>APZSKY,TCPIP*:;NET 8PM  *061523z"));
    r.link = QStringLiteral("KISS port 1");
    r.seconds = 0.5;
    EXPECT_TRUE(TfrmSent::textOf(r).contains(QStringLiteral("62 bytes  0.500 s  ")));
}
