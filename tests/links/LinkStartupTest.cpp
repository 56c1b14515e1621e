// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/MainWindowFixture.h"

#include "links/LinkControl.h"
#include "links/TAGWPE.h"
#include "support/PacketEngine.h"
#include "support/PtyPair.h"
#include "support/Wait.h"

#include <QApplication>
#include <QLineEdit>
#include <QToolButton>

namespace {

class LinkStartup : public MainWindowFixture {};

} // namespace

TEST_F(LinkStartup, AutoConnectHappensEvenWithoutACallsign) {
    PacketEngine engine;
    writeIni("[Station]\r\nAutoConnect=1\r\n[AGWPE]\r\nIPAddr=127.0.0.1\r\nTCPPort=" +
             engine.port().toLatin1() + "\r\n");
    start();
    EXPECT_TRUE(m_form->findChild<QTimer*>("Timer3")->isActive());
    EXPECT_EQ(m_form->findChild<QTimer*>("Timer3")->interval(), 3000);
    EXPECT_FALSE(find<QToolButton>("btnConnect1")->isEnabled());

    // The one Timer3 tick.
    m_form->btnConnect1Click();
    EXPECT_FALSE(m_form->findChild<QTimer*>("Timer3")->isActive());
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    EXPECT_TRUE(find<QLineEdit>("Edit1")->text().startsWith(QStringLiteral("Connected to IP: ")));
    EXPECT_FALSE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_TRUE(find<QToolButton>("btnDisconnect")->isEnabled());
    EXPECT_TRUE(m_dialogs.shown.isEmpty());
}

TEST_F(LinkStartup, SerialAutoConnectTakesTheHourglassDownWhateverTheOutcome) {
    for (const auto mode : {ScriptedTnc::Mode::Silent, ScriptedTnc::Mode::Chatter}) {
        PtyPair pty;
        ScriptedTnc tnc(pty, mode);
        writeIni("[Station]\r\nAutoConnect=1\r\nMyCall=N0CALL-1\r\n[KISS Commands]\r\nUseKISS=1\r\n"
                 "[TNC]\r\nComPort=2\r\n[COM Ports]\r\nCOM2=" +
                 QFile::encodeName(pty.path) + "\r\n");
        start();
        EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Connecting to TNC"));
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        m_form->link()->setTncInterval(TestTncWaitMs);
        m_form->btnConnect1Click();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        if (mode == ScriptedTnc::Mode::Silent) {
            EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Connected to KISS TNC."));
            EXPECT_TRUE(m_dialogs.shown.isEmpty());
        } else {
            EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Not Connected"));
            EXPECT_EQ(m_dialogs.texts(),
                      QStringList{QStringLiteral("The TNC is not in Kiss Mode.")});
        }
        m_form.reset();
        m_dialogs.clear();
    }
}

TEST_F(LinkStartup, CommsMenuDisconnectsBeforeItsDialog) {
    PacketEngine engine;
    start();
    editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = engine.port(); });
    m_form->btnConnect1Click();
    ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));

    bool disconnectedWhenShown = false;
    QTimer::singleShot(50, m_form.get(), [&] {
        disconnectedWhenShown = !m_form->link()->isConnected() &&
                                find<QLineEdit>("Edit1")->text() == QStringLiteral("Not Connected");
        m_form->findChild<TAGWPE*>()->reject();
    });
    m_form->mnuHostClick();
    EXPECT_TRUE(disconnectedWhenShown);
    EXPECT_EQ(m_form->findChild<TAGWPE*>()->pos(), m_form->pos() + QPoint(50, 50));
}
