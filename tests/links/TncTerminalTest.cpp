// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TfrmTNC.h"

#include "links/DialogTestSupport.h"
#include "links/LinkControl.h"
#include "links/TfrmKiss.h"
#include "support/Keys.h"
#include "support/ManualClock.h"
#include "support/PtyPair.h"
#include "support/TestDialogs.h"
#include "support/TncSim.h"
#include "support/Wait.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <thread>

namespace {

const QString kInfo = QStringLiteral(";ABC      *061523z5130.25N/00007.50W>Net tonight");

// The link on COM4, which stands for `device`, with the terminal and its Set Kiss dialog.
struct Terminal {
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link{dialogs, clock};
    TfrmKiss kiss{dialogs};
    TfrmTNC window{link, clock};

    Terminal(const QString& device, LinkType type) {
        LinkSettings settings;
        settings.UseKISS = type == LinkType::Kiss;
        settings.Host = type == LinkType::Tnc;
        settings.ComPort = 4;
        settings.ComDevices[3] = device;
        link.setLinkSettings(settings);
        StationSettings station;
        station.MyCall = QStringLiteral("N0CALL-7");
        station.Destination = QStringLiteral("APRS");
        link.setStation(station);
        window.setKissDialog(&kiss);
    }
    void setKissCommands(const std::array<QString, 4>& enter, const std::array<int, 4>& exit,
                         bool match) {
        LinkSettings s = link.linkSettings();
        s.EnterKiss = enter;
        s.ExitKiss = exit;
        s.Match = match;
        link.setLinkSettings(s);
    }
    QLineEdit* edit() { return child<QLineEdit>(&window, "Edit1"); }
    QPlainTextEdit* memo() { return child<QPlainTextEdit>(&window, "Memo1"); }
    void click(const char* button) { child<QPushButton>(&window, button)->click(); }
    void typeLine(const QString& text) {
        typeText(edit(), text);
        pressKey(edit(), Qt::Key_Return, QStringLiteral("\r"));
    }
    bool memoShows(const QString& text, int boundMs = 5000) {
        return waitUntil([&] { return memo()->toPlainText().contains(text); }, boundMs);
    }
};

void ctrlC(QWidget* w) {
    pressKey(w, Qt::Key_C, QStringLiteral("\x03"), Qt::ControlModifier);
}

} // namespace

TEST(TncTerminal, TalksToTheTncAndSwitchesItIntoKissModeAndBack) {
    TncSim sim;
    ASSERT_TRUE(sim.running());
    Terminal t(sim.path(), LinkType::Tnc);
    t.setKissCommands({QStringLiteral("KISS ON"), QStringLiteral("RESTART"), {}, {}},
                      {192, 255, 192, 0}, true);
    ASSERT_TRUE(t.link.connectLink());

    t.window.show();
    ASSERT_TRUE(activate(&t.window));
    EXPECT_TRUE(t.link.terminalEcho());
    EXPECT_EQ(QApplication::focusWidget(), t.edit());
    ctrlC(t.edit());
    EXPECT_TRUE(t.memoShows(QStringLiteral("cmd:")));
    t.typeLine(QStringLiteral("MYCALL"));
    EXPECT_TRUE(t.memoShows(QStringLiteral("MYCALL N0CALL-7")));
    EXPECT_TRUE(t.edit()->text().isEmpty());

    // Every answer before this one has arrived: the TNC answers in order.
    const auto prompts = [&] { return t.window.memoText().count(QStringLiteral("cmd:")); };
    const qsizetype promptsBefore = prompts();

    t.click("btnSend"); // Enter Kiss
    EXPECT_EQ(t.clock.pauses, (QList<int>{250, 250, 250}));
    EXPECT_EQ(t.link.type(), LinkType::Kiss);
    // The operator sees the TNC acknowledge the first line before going on.
    EXPECT_TRUE(waitUntil([&] { return prompts() > promptsBefore; }));
    t.click("Button2"); // Close: the link was up, so it goes down
    EXPECT_FALSE(t.window.isVisible());
    EXPECT_FALSE(t.link.isConnected());

    ASSERT_TRUE(t.link.connectLink());
    EXPECT_EQ(t.link.statusText(), QStringLiteral("Connected to KISS TNC."));
    t.link.sendReport(kInfo, QStringLiteral("APRS"));
    EXPECT_EQ(sim.frames(1), QStringList{QStringLiteral("N0CALL-7>APRS:") + kInfo});

    t.window.show();
    t.click("btnExitKiss");
    EXPECT_EQ(t.link.type(), LinkType::Tnc);
    t.click("Button2");
    ASSERT_TRUE(t.link.connectLink());
    EXPECT_EQ(t.link.statusText(), QStringLiteral("Connected to TNC"));
    EXPECT_TRUE(t.dialogs.shown.isEmpty());
}

TEST(TncTerminal, WritesLinesCodesAndSequencesByteForByte) {
    PtyPair pty;
    ScriptedTnc tnc(pty, ScriptedTnc::Mode::Silent);
    Terminal t(pty.path, LinkType::Kiss);
    t.link.setTncInterval(200); // a silent TNC: no answer is awaited
    ASSERT_TRUE(t.link.connectLink());
    pty.readAvailable(1); // the connect's command code
    t.window.show();
    ASSERT_TRUE(activate(&t.window));

    // Lines go out whole, however long; the command code alone.
    const QString longLine = QStringLiteral("UNPROTO APRS VIA WIDE1-1,WIDE2-2");
    t.typeLine(longLine);
    EXPECT_EQ(pty.readAvailable(longLine.size() + 2), longLine.toLatin1() + "\r\n");
    typeText(t.edit(), QStringLiteral("AB"));
    ctrlC(t.edit());
    EXPECT_EQ(pty.readAvailable(1), QByteArray("\x03"));
    EXPECT_TRUE(t.edit()->text().isEmpty());

    // No enter lines yet: the Set Kiss dialog comes first, and what it stores is sent.
    {
        ModalWatch watch(QStringLiteral("frmKiss"), [&](QDialog* d) {
            EXPECT_EQ(d->pos(), t.window.pos() + QPoint(20, 20));
            child<QLineEdit>(d, "EdEnterKiss1")->setText(QStringLiteral("KISS ON"));
            child<QLineEdit>(d, "EdEnterKiss2")->setText(QStringLiteral("RESTART"));
            child<QPushButton>(d, "btnOK")->click();
        });
        t.click("btnSend");
        EXPECT_TRUE(watch.ran());
    }
    EXPECT_EQ(pty.readAvailable(22), QByteArray("KISS ON\r\nRESTART\r\n\r\n\r\n"));
    EXPECT_EQ(t.clock.pauses, (QList<int>{250, 250, 250}));
    EXPECT_EQ(t.link.linkSettings().EnterKiss[1], QStringLiteral("RESTART"));

    // No exit codes yet: the dialog first; three Ctrl+C typed there go out in one write.
    {
        ModalWatch watch(QStringLiteral("frmKiss"), [&](QDialog* d) {
            EXPECT_TRUE(activate(d));
            child<QLineEdit>(d, "EdEK1")->setFocus();
            for (int i = 0; i < 3 && QApplication::focusWidget(); ++i)
                ctrlC(QApplication::focusWidget());
            child<QPushButton>(d, "btnOK")->click();
        });
        t.click("btnExitKiss");
        EXPECT_TRUE(watch.ran());
    }
    EXPECT_EQ(pty.readAvailable(3), QByteArray("\x03\x03\x03"));
    // Without "Set Comms to match TNC" the link type stays as it was.
    EXPECT_EQ(t.link.type(), LinkType::Kiss);
    EXPECT_EQ(t.window.focusWidget(), t.edit());

    t.setKissCommands(t.link.linkSettings().EnterKiss, {192, 0, 255, 192}, false);
    t.click("btnExitKiss");
    EXPECT_EQ(pty.readAvailable(1, 300), QByteArray("\xC0"));
    EXPECT_TRUE(t.dialogs.shown.isEmpty());
}

TEST(TncTerminal, MemoKeepsTheNewestTextInViewAndGoesOnAfterClosing) {
    PtyPair pty;
    Terminal t(pty.path, LinkType::Kiss);
    ScriptedTnc tnc(pty, ScriptedTnc::Mode::Silent);
    t.link.setTncInterval(200);
    ASSERT_TRUE(t.link.connectLink());
    t.window.show();

    pty.send(QByteArray(3000, 'a'));
    ASSERT_TRUE(t.memoShows(QStringLiteral("aaa")));
    pty.send(QByteArray(2000, 'b') + "END");
    ASSERT_TRUE(t.memoShows(QStringLiteral("END")));
    EXPECT_EQ(t.window.memoText().size(), 4095);
    EXPECT_TRUE(t.window.memoText().endsWith(QStringLiteral("bEND\r\n")));
    const QScrollBar* bar = t.memo()->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());

    t.click("Button2");
    pty.send("after close");
    EXPECT_TRUE(waitUntil([&] { return t.window.memoText().contains("after close"); }));
}

TEST(TncTerminal, TextFromAnotherThreadReachesTheMemoOnTheWindowThread) {
    PtyPair pty;
    Terminal t(pty.path, LinkType::Kiss);
    t.window.show();
    std::thread other([&] { t.window.showReceived(QStringLiteral("from the receive thread")); });
    other.join();
    EXPECT_TRUE(t.window.memoText().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return t.memo()->toPlainText() == "from the receive thread\n"; }));
}
