// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/MainWindowFixture.h"
#include "beacon/ObjectPanel.h"
#include "links/LinkControl.h"
#include "links/SentLog.h"
#include "links/TfrmSent.h"
#include "map/MapView.h"
#include "settings/TfrmStation.h"
#include "support/Keys.h"
#include "widgets/TForm4.h"
#include "widgets/TSpinEdit.h"
#include "widgets/TfrmAbout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, ObjectTabsTakeWhatAReportCanCarryAndStartStopped) {
    start();
    const char* suffix[3] = {"", "1", "2"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        auto name = [&](const char* base) { return QByteArray(base) + suffix[k]; };
        // An identifier is nine characters at most, a comment forty: what the report holds.
        ObjectPanel* panel = m_form->panel(k);
        BeaconObject placed = panel->object();
        placed.latitude = "5130.00N";
        placed.longitude = "00045.00W";
        placed.hasPosition = true;
        panel->slot().restore(placed);
        panel->showRestored("51.30.00N", "000.45.00W");
        auto* identifier = find<QLineEdit>(name("Identifier"));
        identifier->clear();
        typeText(identifier, "ABCDEFGHIJKL");
        EXPECT_EQ(panel->object().identifier, "ABCDEFGHI");
        auto* comment = find<QLineEdit>(name("Comment"));
        typeText(comment, QString(45, QLatin1Char('x')));
        EXPECT_EQ(panel->object().comment, QString(40, QLatin1Char('x')));
        // Positions and headers come from the map and the object, never from the keyboard.
        for (const char* shown : {"Latitude", "Longitude", "Header"}) {
            auto* box = find<QLineEdit>(name(shown));
            const QString before = box->text();
            typeText(box, "9");
            EXPECT_EQ(box->text(), before) << shown;
        }
        // Only object 1 can be the weather station.
        auto* symbols = find<QComboBox>(name("cmbSymbol"));
        EXPECT_EQ(symbols->findText("Weather Station") >= 0, k == 0);
        // Without a link nothing can be sent or started; a stopped object can be deleted.
        EXPECT_FALSE(find<QPushButton>(name("btnSend"))->isEnabled());
        EXPECT_FALSE(find<QPushButton>(name("btnStart"))->isEnabled());
        EXPECT_TRUE(find<QPushButton>(name("btnStop"))->isHidden());
        EXPECT_TRUE(find<QPushButton>(name("btnDelete"))->isEnabled());
        EXPECT_FALSE(find<QCheckBox>(name("chkFile"))->isEnabled());
        // The interval box holds 10 to 120 minutes in steps of 5.
        auto* spin = find<TSpinEdit>(name("spinInterval"));
        spin->setValue(7);
        EXPECT_EQ(spin->Value(), 10);
        spin->setValue(500);
        EXPECT_EQ(spin->Value(), 120);
        spin->stepBy(-1);
        EXPECT_EQ(spin->Value(), 115);
    }
    EXPECT_TRUE(find<QWidget>("wxpanel")->isHidden());
    EXPECT_TRUE(find<QPushButton>("btnWx")->isHidden());
}

TEST_F(MainWindow, ToolbarStatusBarAndTimers) {
    start();
    // Until a callsign is set up nothing can connect; nothing is connected to disconnect.
    EXPECT_FALSE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_FALSE(find<QAction>("mnuConnect")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("btnDisconnect")->isEnabled());
    for (const char* b :
         {"btnConnect1", "btnDisconnect", "btnLoad", "btnHide", "btnStopAll", "btnTime"})
        EXPECT_FALSE(find<QToolButton>(b)->icon().isNull()) << b;
    EXPECT_TRUE(find<QLineEdit>("Edit1")->isReadOnly());
    EXPECT_TRUE(m_form->findChild<MapView*>()->widget()->isAncestorOf(find<QWidget>("Image1")));
    EXPECT_EQ(m_form->barPanel(0)->width(), 200);
    // The pointer readout's panel grows past 150 pixels when its font needs the room.
    EXPECT_GE(m_form->barPanel(1)->width(), 150);
    // What the menus offer before a callsign and a link.
    struct Item {
        const char* name;
        bool enabled;
    };
    for (const Item& i : {Item{"LoadMap1", true}, Item{"mnuConnect", false},
                          Item{"mnuToolbar", false}, Item{"Debug1", false}, Item{"mnuHost", true},
                          Item{"StationSetup1", true}, Item{"HelpFile1", false}})
        EXPECT_EQ(find<QAction>(i.name)->isEnabled(), i.enabled) << i.name;

    struct TimerRow {
        const char* name;
        int interval;
    };
    for (const TimerRow& t : {TimerRow{"Timer", 60000}, TimerRow{"Timer1", 60000},
                              TimerRow{"Timer2", 60000}, TimerRow{"Timer3", 3000}}) {
        auto* timer = find<QTimer>(t.name);
        ASSERT_TRUE(timer) << t.name;
        EXPECT_EQ(timer->interval(), t.interval) << t.name;
        EXPECT_FALSE(timer->isActive()) << t.name;
    }
    EXPECT_EQ(m_form->panel(0)->timer()->timerType(), Qt::PreciseTimer);
    EXPECT_TRUE(find<QTimer>("CloseTimer"));
    // The link's own timers belong to the window's link.
    LinkControl* link = m_form->link();
    ASSERT_TRUE(link);
    for (QTimer* timer : {&link->busyTimer(), &link->connectedTimer(), &link->tncTimer()}) {
        const int interval = timer->objectName() == "BusyTimer"        ? 3000
                             : timer->objectName() == "ConnectedTimer" ? 15000
                             : timer->objectName() == "TNCTimer"       ? 1500
                                                                       : -1;
        EXPECT_EQ(timer->interval(), interval) << timer->objectName().toStdString();
    }
    // The fixture shortens the close wait; a window of its own shows the real one.
    TForm1 unshown(m_dialogs, m_clock, iniPath(), docPath(), nullptr, sentFolder());
    EXPECT_EQ(unshown.findChild<QTimer*>("CloseTimer")->interval(), 1000);
    EXPECT_FALSE(unshown.findChild<QTimer*>("CloseTimer")->isActive());
}

TEST_F(MainWindow, OtherWindowsAreCreatedHiddenInOrderWithTheirCaptions) {
    start();
    const QStringList expected = {"Comms",
                                  "Station Setup",
                                  "Help",
                                  "About",
                                  "Comment Files",
                                  "Comment File Help",
                                  "Comment File Help",
                                  "TNC Terminal",
                                  "TNC Settings",
                                  "Set Kiss Commands",
                                  "Exit Kiss Help",
                                  "Weather Data",
                                  "Weather data "};
    QStringList captions;
    for (QObject* child : m_form->children())
        if (auto* d = qobject_cast<QDialog*>(child)) {
            captions << d->windowTitle();
            EXPECT_FALSE(d->isVisible()) << d->windowTitle().toStdString();
        }
    EXPECT_EQ(captions, expected);
}

TEST_F(MainWindow, DetailsAndToolbarSwitches) {
    TForm1& form = start();
    auto* details = find<QWidget>("Panel3");
    auto* toolbar = find<QWidget>("Panel1");
    auto* toolbarItem = find<QAction>("mnuToolbar");

    form.btnHideClick();
    EXPECT_TRUE(details->isHidden());
    EXPECT_TRUE(toolbarItem->isEnabled());
    form.mnuToolbarClick();
    EXPECT_TRUE(toolbar->isHidden());
    // Showing the details brings the toolbar back and locks it on.
    form.mnuShowClick();
    EXPECT_FALSE(details->isHidden());
    EXPECT_FALSE(toolbar->isHidden());
    EXPECT_FALSE(toolbarItem->isEnabled());
}

TEST_F(MainWindow, TerminalMenuItemOnlyForSerialLinks) {
    TForm1& form = start();
    auto* terminal = find<QAction>("Debug1");
    form.mnuViewClick();
    EXPECT_FALSE(terminal->isEnabled());
    editLink(form, [&](LinkSettings& s) { s.UseKISS = true; });
    form.mnuViewClick();
    EXPECT_TRUE(terminal->isEnabled());
    editLink(form, [&](LinkSettings& s) { s.UseKISS = false; });
    editLink(form, [&](LinkSettings& s) { s.Host = true; });
    form.mnuViewClick();
    EXPECT_TRUE(terminal->isEnabled());
    editLink(form, [&](LinkSettings& s) { s.Host = false; });
    form.mnuViewClick();
    EXPECT_FALSE(terminal->isEnabled());
}

TEST_F(MainWindow, HintsSwitchOnlyTheToolbarTips) {
    TForm1& form = start();
    find<QLineEdit>("Identifier")->setToolTip("own tip");
    form.mnuHintsClick();
    EXPECT_FALSE(form.hints());
    EXPECT_FALSE(find<QAction>("mnuHints")->isChecked());
    for (const char* b :
         {"btnConnect1", "btnDisconnect", "btnLoad", "btnHide", "btnStopAll", "btnTime"})
        EXPECT_TRUE(find<QToolButton>(b)->toolTip().isEmpty()) << b;
    EXPECT_EQ(find<QLineEdit>("Identifier")->toolTip(), "own tip");
    form.mnuHintsClick();
    EXPECT_EQ(find<QToolButton>("btnLoad")->toolTip(), "Load Map");
    // The Setup menu shows the flag as it opens.
    find<QAction>("mnuHints")->setChecked(false);
    form.mnuSetupClick();
    EXPECT_TRUE(find<QAction>("mnuHints")->isChecked());
}

TEST_F(MainWindow, HelpFileItemFollowsTheDocumentAndWindowsOpenBesideTheMainWindow) {
    {
        QFile doc(docPath());
        ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
        doc.write("{\\rtf1 Help}");
    }
    TForm1& form = start();
    EXPECT_TRUE(find<QAction>("HelpFile1")->isEnabled());
    form.HelpFile1Click();
    QWidget* help = form.findChild<TForm4*>();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->pos(), form.pos() + QPoint(30, 30));
}

TEST_F(MainWindow, EnterInAnIntervalBoxBeeps) {
    start();
    pressKey(find<TSpinEdit>("spinInterval1"), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(m_dialogs.beeps, 1);
}

TEST_F(MainWindow, StationSetupAppliesTheCallsignToTitleAndConnectButton) {
    TForm1& form = start();
    auto* dialog = form.findChild<TfrmStation*>();
    auto fill = [&](const QString& call, bool okay) {
        QTimer::singleShot(0, dialog, [&form, dialog, call, okay] {
            EXPECT_EQ(dialog->pos(), form.pos() + QPoint(50, 50));
            // As wide as it always was; as tall as its options need.
            EXPECT_EQ(dialog->width(), 247);
            EXPECT_GE(dialog->height(), 288);
            auto* edit = dialog->findChild<QLineEdit*>("Edit1");
            edit->setText(call);
            dialog->findChild<QPushButton*>("btnOK")->click();
            if (dialog->isVisible())
                dialog->findChild<QPushButton*>(okay ? "btnOK" : "btnCancel")->click();
        });
        form.StationSetup1Click();
    };
    // Refused, then cancelled: the title goes back to the callsign in use.
    fill("NOCALL-2", false);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Callsign or Destination Address Required!"});
    EXPECT_EQ(form.windowTitle(), "Skyvane [NOCALL-1]");
    EXPECT_FALSE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_FALSE(find<QAction>("mnuConnect")->isEnabled());
    // The greyed Connect says why, and so does the status box.
    const QString hint = "Set your callsign in Setup > Station Setup to connect";
    EXPECT_EQ(find<QToolButton>("btnConnect1")->toolTip(), hint);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), hint);

    fill("G4ABC-5", true);
    EXPECT_EQ(form.station().MyCall, "G4ABC-5");
    EXPECT_EQ(form.windowTitle(), "Skyvane [G4ABC-5]");
    EXPECT_EQ(find<QToolButton>("btnConnect1")->toolTip(), "Connect to host");
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "Not Connected");
    // A long status shows its start; the tool tip holds all of it.
    const QString longText = "Reconnecting to a-packet-engine-with-a-long-name.example.org:8000 "
                             "in 60 s (Connection refused)";
    emit form.link()->statusChanged(longText);
    EXPECT_EQ(find<QLineEdit>("Edit1")->cursorPosition(), 0);
    EXPECT_EQ(find<QLineEdit>("Edit1")->toolTip(), longText);
    EXPECT_TRUE(find<QToolButton>("btnConnect1")->isEnabled());
    EXPECT_FALSE(find<QToolButton>("btnDisconnect")->isEnabled());
    EXPECT_TRUE(find<QAction>("mnuConnect")->isEnabled());
}

// A path typed and refused on OK, then Cancel: neither the values in use nor the file saved at
// close may ever hold it, or every send would carry it.
TEST_F(MainWindow, CancelledStationSetupLeavesTheStationInUseAndTheSavedFile) {
    writeIni("[Station]\r\nMyCall=G4ABC-1\r\nUnproto=1\r\nHeader=RELAY\r\nPorts=1000\r\n");
    TForm1& form = start();
    const StationSettings before = form.station();
    ASSERT_EQ(before.UnprotoPath, "RELAY");
    auto* dialog = form.findChild<TfrmStation*>();
    QString pathWhileOpen;
    QTimer::singleShot(0, dialog, [&form, dialog, &pathWhileOpen] {
        auto* path = dialog->findChild<QComboBox*>("cmbUnproto")->lineEdit();
        path->clear();
        path->setFocus();
        typeText(path, QStringLiteral("WIDE2.2"));
        dialog->findChild<QCheckBox*>("chkPort2")->setChecked(true);
        dialog->findChild<QPushButton*>("btnOK")->click();
        pathWhileOpen = form.station().UnprotoPath;
        dialog->findChild<QPushButton*>("btnCancel")->click();
    });
    form.StationSetup1Click();
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Error in Unproto path"});
    EXPECT_EQ(pathWhileOpen, "RELAY");
    EXPECT_TRUE(form.station() == before);
    EXPECT_EQ(form.windowTitle(), "Skyvane [G4ABC-1]");

    ASSERT_TRUE(closeWindow());
    const QByteArray saved = readIni();
    EXPECT_TRUE(saved.contains("Header=RELAY\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("Ports=1000\r\n")) << saved.toStdString();
    EXPECT_FALSE(saved.contains("WIDE2.2")) << saved.toStdString();
}

TEST_F(MainWindow, AboutBoxOpensModallyBesideTheMainWindow) {
    TForm1& form = start();
    QDialog* about = form.findChild<TfrmAbout*>();
    bool wasModal = false;
    QPoint at;
    QTimer::singleShot(0, about, [&] {
        wasModal = about->isModal() || QApplication::activeModalWidget() == about;
        at = about->pos();
        about->accept();
    });
    form.mnuAboutClick();
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(at, form.pos() + QPoint(150, 80));
}

TEST_F(MainWindow, SentReportsListsTodaysEarlierFramesThenThisRunsNewestFirst) {
    const SentRecord earlier{QDateTime(QDate(2026, 3, 6), QTime(9, 0), Qt::UTC),
                             1,
                             "AID1",
                             "KISS port 1",
                             "G4ABC>CQ:;AID1     *060900z5115.00N/00015.00WA",
                             57,
                             0.4,
                             true,
                             {}};
    SentRecord yesterday = earlier;
    yesterday.utc = earlier.utc.addDays(-1);
    ASSERT_TRUE(SentLog(sentFolder()).append(yesterday));
    ASSERT_TRUE(SentLog(sentFolder()).append(earlier));
    start();
    SentRecord beforeShowing = earlier;
    beforeShowing.utc = m_clock.nowUtc();
    beforeShowing.slot = 2;
    beforeShowing.identifier = "CARPARK";
    emit m_form->link()->frameRecorded(beforeShowing);

    QAction* entry = find<QAction>("mnuSent");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text(), "&Sent Reports");
    EXPECT_TRUE(find<QMenu>("mnuView")->actions().contains(entry));
    entry->trigger();
    TfrmSent* window = m_form->findChild<TfrmSent*>();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), "Sent Reports");
    auto* list = window->findChild<QTreeWidget*>("lstSent");
    ASSERT_TRUE(list);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "2 CARPARK");
    EXPECT_EQ(list->topLevelItem(1)->text(1), "1 AID1");

    SentRecord later = beforeShowing;
    later.utc = later.utc.addSecs(60);
    later.slot = 3;
    later.identifier = "WX7";
    emit m_form->link()->frameRecorded(later);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(1), "3 WX7");

    // Shown again, it is the same window with the same list, not a second copy.
    window->hide();
    entry->trigger();
    EXPECT_EQ(m_form->findChild<TfrmSent*>(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(list->topLevelItemCount(), 3);
}

} // namespace
