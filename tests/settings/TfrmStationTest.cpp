// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/TfrmStation.h"
#include "support/Keys.h"
#include "support/TestDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace {

class StationDialog : public ::testing::Test {
protected:
    StationDialog() : dialog(dialogs) {
        QObject::connect(&dialog, &TfrmStation::titleChanged,
                         [this](const QString& t) { title = t; });
    }
    void open(LinkType link = LinkType::Agwpe) {
        dialog.setValues(station, link);
        dialog.show();
    }
    template <class T> T* find(const char* name) {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    QLineEdit* call() { return find<QLineEdit>("Edit1"); }
    QLineEdit* destination() { return find<QLineEdit>("Edit2"); }
    QLineEdit* wx() { return find<QLineEdit>("WxDest"); }
    QComboBox* path() { return find<QComboBox>("cmbUnproto"); }
    QCheckBox* port(int n) {
        return find<QCheckBox>(QByteArray("chkPort" + QByteArray::number(n)).constData());
    }
    void typePath(const QString& text) {
        path()->lineEdit()->clear();
        path()->lineEdit()->setFocus();
        typeText(path()->lineEdit(), text);
    }
    void choosePath(int index) {
        path()->setCurrentIndex(index);
        emit path()->activated(index);
    }
    void setCall(const QString& c) {
        call()->clear();
        typeText(call(), c);
    }
    void ok() { find<QPushButton>("btnOK")->click(); }

    TestDialogs dialogs;
    StationSettings station;
    TfrmStation dialog;
    QString title;
};

TEST_F(StationDialog, ShowsTheStationAndItsPathList) {
    station.MyCall = "G4ABC-1";
    station.Destination = "APRS";
    station.WxDest = "WXD";
    station.Unproto = 3;
    station.UnprotoPath = "RELAY, WIDE";
    open();
    EXPECT_EQ(dialog.windowTitle(), "Station Setup");
    EXPECT_EQ(call()->text(), "G4ABC-1");
    EXPECT_EQ(call()->maxLength(), 9);
    EXPECT_EQ(destination()->text(), "APRS");
    EXPECT_EQ(destination()->maxLength(), 6);
    EXPECT_EQ(wx()->text(), "WXD");
    EXPECT_EQ(path()->count(), 7);
    EXPECT_EQ(path()->itemText(0), "");
    EXPECT_EQ(path()->itemText(4), "TRACE2-2");
    EXPECT_EQ(path()->itemText(5), "WIDE1-1,WIDE2-1");
    EXPECT_EQ(path()->itemText(6), "WIDE2-1");
    EXPECT_EQ(path()->currentIndex(), 3);
    EXPECT_EQ(path()->currentText(), "RELAY, WIDE");
    dialog.hide();

    // The user's own path comes after the presets, and is replaced, not added, next time;
    // the presets of today keep numbers of their own, so stored files mean what they did.
    station.UserUnproto = "WIDE3-3";
    station.Unproto = 5;
    station.UnprotoPath = "WIDE3-3";
    open();
    EXPECT_EQ(path()->count(), 8);
    EXPECT_EQ(path()->currentIndex(), 7);
    dialog.hide();
    station.UserUnproto = "WIDE1-1,WIDE3-3";
    station.UnprotoPath = "WIDE1-1,WIDE3-3";
    open();
    EXPECT_EQ(path()->count(), 8);
    EXPECT_EQ(path()->itemText(7), "WIDE1-1,WIDE3-3");
    for (const auto& [unproto, entry] : {std::pair{6, 5}, std::pair{7, 6}, std::pair{4, 4}}) {
        dialog.hide();
        station.Unproto = unproto;
        station.UnprotoPath = path()->itemText(entry);
        open();
        EXPECT_EQ(path()->currentIndex(), entry) << unproto;
        choosePath(entry);
        setCall("G4ABC-1");
        ok();
        EXPECT_EQ(dialog.station().Unproto, unproto);
        EXPECT_EQ(dialog.station().LinkPath, path()->itemText(entry));
    }
}

// Callsigns are kept in the one form an address gives back; the text and weather options
// come and go with OK.
TEST_F(StationDialog, CallsAreStoredWithoutLeadingZerosAndTheOptionsWithOk) {
    open();
    EXPECT_FALSE(find<QCheckBox>("chkUtf8")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkUtcWeather")->isChecked());
    setCall("G4ABC-01");
    destination()->setText("APRS-0");
    find<QCheckBox>("chkUtf8")->setChecked(true);
    find<QCheckBox>("chkUtcWeather")->setChecked(true);
    ok();
    EXPECT_EQ(dialog.station().MyCall, "G4ABC-1");
    EXPECT_EQ(dialog.station().Destination, "APRS");
    EXPECT_EQ(call()->text(), "G4ABC-1");
    EXPECT_TRUE(dialog.station().Utf8Text);
    EXPECT_TRUE(dialog.station().UtcWeather);
}

TEST_F(StationDialog, CallsignTypedInLowerCaseIsEnteredInCapitalsAndNocallRefused) {
    open();
    setCall("nocall-3");
    EXPECT_EQ(call()->text(), "NOCALL-3");
    ok();
    EXPECT_EQ(dialogs.texts(), QStringList{"Callsign or Destination Address Required!"});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.station().MyCall, "NOCALL-1");
    // The title follows the box even on a refused OK; the main window puts it right later.
    EXPECT_EQ(title, "Skyvane [NOCALL-3]");
}

TEST_F(StationDialog, PastedLowerCaseCallPassesTheNocallTestButNotTheAirCheck) {
    open();
    call()->setText("nocall-3");
    ok();
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_NE(dialogs.texts()[0], "Callsign or Destination Address Required!");
    EXPECT_TRUE(dialogs.texts()[0].contains("capital letters"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(StationDialog, EmptyCallOrDestinationIsRequired) {
    open();
    call()->clear();
    ok();
    setCall("G4ABC");
    destination()->clear();
    ok();
    EXPECT_EQ(dialogs.texts(), (QStringList{"Callsign or Destination Address Required!",
                                            "Callsign or Destination Address Required!"}));
    EXPECT_EQ(dialog.station().MyCall, "NOCALL-1");
}

TEST_F(StationDialog, KeyFilterShiftsLettersAndEnterMovesOn) {
    open();
    dialog.activateWindow();
    destination()->clear();
    destination()->setFocus();
    typeText(destination(), "ap{");
    EXPECT_EQ(destination()->text(), QStringLiteral("AP["));
    pressKey(destination(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(destination()->text(), QStringLiteral("AP["));
    EXPECT_EQ(dialog.focusWidget(), wx());
    // Pasted text in the destination box is upper-cased as well.
    destination()->clear();
    destination()->insert("apwx");
    emit destination()->textEdited(destination()->text());
    EXPECT_EQ(destination()->text(), "APWX");
}

TEST_F(StationDialog, UsersOwnPathIsStoredAsEntryFive) {
    open();
    setCall("G4ABC-1");
    typePath("WIDE1-1,WIDE3-3");
    EXPECT_EQ(dialog.edited().Unproto, -1);
    EXPECT_EQ(dialog.edited().UnprotoPath, "WIDE1-1,WIDE3-3");
    EXPECT_EQ(dialog.station().UnprotoPath, "");
    ok();
    EXPECT_TRUE(dialogs.texts().isEmpty()) << dialogs.texts().join('|').toStdString();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const StationSettings& s = dialog.station();
    EXPECT_EQ(s.MyCall, "G4ABC-1");
    EXPECT_EQ(s.Unproto, 5);
    EXPECT_EQ(s.UserUnproto, "WIDE1-1,WIDE3-3");
    EXPECT_EQ(s.UnprotoPath, "WIDE1-1,WIDE3-3");
    EXPECT_EQ(s.LinkPath, "WIDE1-1,WIDE3-3");
}

TEST_F(StationDialog, TypedPresetIsNotTheUsersPath) {
    open();
    setCall("G4ABC-1");
    typePath("WIDE");
    ok();
    EXPECT_EQ(dialog.station().Unproto, -1);
    EXPECT_EQ(dialog.station().UnprotoPath, "WIDE");
    EXPECT_EQ(dialog.station().UserUnproto, "");
}

TEST_F(StationDialog, PathsTheFramesCannotCarryAreRefused) {
    const char* bad[] = {
        "WIDE2.2",          // a full stop
        "TOOLONGCALL",      // more than six characters before the SSID
        "WIDE2-16",         // SSID beyond 15
        "WIDE2-X",          // SSID that is no number
        "RELAY,,WIDE",      // an empty entry
        "A,B,C,D,E,F,G,H,I" // nine digipeaters
    };
    open();
    setCall("G4ABC-1");
    for (const char* p : bad) {
        dialogs.clear();
        typePath(QString::fromLatin1(p));
        ok();
        EXPECT_EQ(dialogs.texts(), QStringList{"Error in Unproto path"}) << p;
        EXPECT_TRUE(dialog.isVisible()) << p;
    }
    EXPECT_EQ(dialog.station().MyCall, "NOCALL-1");
    dialogs.clear();
    typePath("A,B,C,D,E,F,G,H");
    ok();
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(StationDialog, CallsAndDestinationsTheFramesCannotCarryAreRefused) {
    open();
    setCall("G4ABCDE");
    ok();
    setCall("G4ABC-99");
    ok();
    setCall("G4ABC-1");
    destination()->setText("A-B");
    ok();
    destination()->setText("APRS");
    wx()->setText("W/X");
    ok();
    const QStringList texts = dialogs.texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[0].startsWith("Callsign")) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].contains("SSID")) << texts[1].toStdString();
    EXPECT_TRUE(texts[2].startsWith("Destination")) << texts[2].toStdString();
    EXPECT_TRUE(texts[3].startsWith("Wx")) << texts[3].toStdString();
    EXPECT_EQ(dialog.station().MyCall, "NOCALL-1");
}

// Neither a keystroke, a choice from the list, a port box nor a refused OK changes the values
// in use: Cancel leaves them exactly as they were handed in.
TEST_F(StationDialog, CancelAfterAnythingLeavesEveryValueAsItWas) {
    station.MyCall = "G4ABC-1";
    station.Unproto = 1;
    station.UnprotoPath = "RELAY";
    station.LinkPath = "RELAY";
    const StationSettings before = station;
    int accepted = 0;
    QObject::connect(&dialog, &TfrmStation::stationChanged, [&] { ++accepted; });
    const std::function<void()> edits[] = {
        [&] { choosePath(2); },
        [&] { typePath("WIDE2.2"); },
        [&] { port(3)->setChecked(true); },
        [&] {
            typePath("RELAY,,WIDE");
            ok();
        },
        [&] {
            port(2)->setChecked(true);
            setCall("G4XYZ-2");
            typePath("WIDE2.2");
            ok();
        },
    };
    for (size_t i = 0; i < std::size(edits); ++i) {
        open();
        edits[i]();
        EXPECT_TRUE(dialog.isVisible()) << i;
        find<QPushButton>("btnCancel")->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << i;
        EXPECT_TRUE(dialog.station() == before) << i;
    }
    EXPECT_EQ(accepted, 0);
    // The next showing starts from the values in use, not from what was cancelled.
    open();
    EXPECT_EQ(path()->currentText(), "RELAY");
    EXPECT_EQ(call()->text(), "G4ABC-1");
}

TEST_F(StationDialog, PortBoxesFollowTheLinkType) {
    station.Ports = "1111";
    station.applyPortsText();
    station.MyCall = "G4ABC-1";
    open(LinkType::Agwpe);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(port(n)->isEnabled()) << n;
        EXPECT_TRUE(port(n)->isChecked()) << n;
    }
    port(3)->setChecked(false);
    ok();
    EXPECT_EQ(dialog.station().Ports, "1101");
    EXPECT_EQ(dialog.station().PortFlags, (std::array<bool, 4>{true, true, false, true}));

    // KISS: two ports; 3 and 4 are stored off whatever their boxes showed.
    station = dialog.station();
    port(2)->setChecked(false);
    open(LinkType::Kiss);
    EXPECT_TRUE(port(1)->isChecked());
    EXPECT_TRUE(port(2)->isEnabled());
    EXPECT_FALSE(port(2)->isChecked());
    EXPECT_FALSE(port(3)->isEnabled());
    EXPECT_FALSE(port(4)->isEnabled());
    port(2)->setChecked(true);
    ok();
    EXPECT_EQ(dialog.station().Ports, "1100");

    // TNC: one port; the weather destination is the destination and is not stored.
    station = dialog.station();
    station.Destination = "APRS";
    station.WxDest = "WXD";
    open(LinkType::Tnc);
    EXPECT_FALSE(port(2)->isEnabled());
    EXPECT_FALSE(wx()->isEnabled());
    EXPECT_EQ(wx()->text(), "APRS");
    ok();
    EXPECT_EQ(dialog.station().Ports, "1000");
    EXPECT_EQ(dialog.station().WxDest, "WXD");

    // Back to AGWPE: all four boxes again.
    station = dialog.station();
    open(LinkType::Agwpe);
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(port(n)->isEnabled()) << n;
    EXPECT_TRUE(wx()->isEnabled());
    EXPECT_EQ(wx()->text(), "WXD");
}

TEST_F(StationDialog, ARefusedOkShowsTheTitleButKeepsThePortsInUse) {
    open();
    port(2)->setChecked(true);
    ok(); // NOCALL-1 is refused
    EXPECT_EQ(dialogs.texts(), QStringList{"Callsign or Destination Address Required!"});
    EXPECT_EQ(dialog.edited().Ports, "1100");
    EXPECT_EQ(dialog.station().Ports, "1000");
    EXPECT_EQ(title, "Skyvane [NOCALL-1]");
}

} // namespace

// The call boxes under the desktop languages (the suite runs under each): a Turkish
// keyboard's "ı" and "İ" enter as "I"; pasted text keeps only what the code page holds.
TEST(TfrmStation, TurkishIsEnteredAsCapitalIAndNothingOutsideTheCodePageStays) {
    TestDialogs dialogs;
    TfrmStation dialog(dialogs);
    StationSettings station;
    dialog.setValues(station, LinkType::Agwpe);
    dialog.show();
    auto* call = dialog.findChild<QLineEdit*>("Edit1");
    auto* destination = dialog.findChild<QLineEdit*>("Edit2");
    auto* path = dialog.findChild<QComboBox*>("cmbUnproto")->lineEdit();
    const struct {
        QLineEdit* box;
        const char* typed;
        const char* entered;
    } rows[] = {
        {call, "ta1\u0131\u0130\u015F-3", "TA1IIS-3"},
        {destination, "ap\u0131r\u0130", "APIRI"},
        {path, "w\u0131de2-2", "WIDE2-2"},
    };
    for (const auto& r : rows) {
        r.box->clear();
        r.box->setFocus();
        typeText(r.box, QString::fromUtf8(r.typed));
        EXPECT_EQ(r.box->text(), QString::fromUtf8(r.entered)) << r.typed;
        // A paste as the line edit delivers it.
        r.box->clear();
        r.box->insert(QString::fromUtf8("\u0130\u65E5"));
        emit r.box->textEdited(r.box->text());
        EXPECT_EQ(r.box->text(), QStringLiteral("I")) << r.typed;
    }
}
