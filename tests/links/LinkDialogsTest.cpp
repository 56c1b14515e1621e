// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TAGWPE.h"
#include "links/TfrmKiss.h"
#include "links/TfrmSetTNC.h"
#include "links/TfrmTNC.h"

#include "links/DialogTestSupport.h"
#include "links/LinkControl.h"
#include "support/Keys.h"
#include "support/ManualClock.h"
#include "support/PtyPair.h"
#include "support/TestDialogs.h"
#include "support/Wait.h"
#include "widgets/TfrmKissHelp.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

void ctrlKey(QWidget* box, char letter) {
    pressKey(box, Qt::Key_A + (letter - 'A'), QString(QChar(letter - 'A' + 1)),
             Qt::ControlModifier);
}

QColor base(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}

class CommsDialog : public ::testing::Test {
protected:
    CommsDialog() : setTnc(dialogs) {
        dialog.setTncSettingsDialog(&setTnc);
        QObject::connect(&dialog, &TAGWPE::linkChanged,
                         [this](const LinkSettings& l) { changes.append(l); });
    }
    void open() {
        dialog.setValues(link);
        dialog.show();
    }
    template <class T> T* find(const char* name) { return child<T>(&dialog, name); }
    QComboBox* list(const char* name) { return find<QComboBox>(name); }
    QLineEdit* device() { return list("cmbDevice")->lineEdit(); }

    TestDialogs dialogs;
    LinkSettings link;
    TfrmSetTNC setTnc;
    TAGWPE dialog;
    QList<LinkSettings> changes;
};

TEST_F(CommsDialog, ShowsTheSettingsWithTheGroupOfTheLinkTypeEnabled) {
    link.IPAddr = "10.0.0.9";
    link.TCPPort = "8001";
    link.AutoConnect = true;
    link.ComPort = 3;
    link.BaudRate = 7;
    link.Flow = 1;
    link.Parity = 2;
    link.DataBits = 0;
    link.StopBits = 1;
    open();
    EXPECT_TRUE(find<QCheckBox>("chkAuto")->isChecked());
    EXPECT_EQ(find<QLineEdit>("Addr")->text(), "10.0.0.9");
    EXPECT_EQ(find<QLineEdit>("Addr")->maxLength(), 15);
    EXPECT_EQ(find<QLineEdit>("Edit2")->text(), "8001");
    EXPECT_EQ(device()->text(), "/dev/ttyS2");
    const std::pair<const char*, const char*> shown[] = {
        {"cmbTNCPort", "COM3"},   {"cmbTNCBaud", "115200"}, {"cmbTNCHandshaking", "XON/XOFF"},
        {"cmbTNCParity", "EVEN"}, {"cmbDataBits", "7"},     {"cmbStopBits", "2"}};
    for (const auto& [name, text] : shown)
        EXPECT_EQ(list(name)->currentText(), QString::fromLatin1(text)) << name;

    // Each type enables its own group; the other's boxes are greyed (button face colour).
    const QColor window = QPalette().color(QPalette::Base);
    const QColor face = QPalette().color(QPalette::Button);
    for (const char* type : {"chkAGWPE", "chkTNC", "chkKISS"}) {
        find<QRadioButton>(type)->click();
        const bool agwpe = type == std::string("chkAGWPE");
        EXPECT_EQ(find<QGroupBox>("TNCGroup")->isEnabled(), !agwpe) << type;
        EXPECT_EQ(find<QGroupBox>("AGWGroup")->isEnabled(), agwpe) << type;
        EXPECT_EQ(find<QPushButton>("btnTNC")->isEnabled(), type == std::string("chkTNC"));
        EXPECT_EQ(base(list("cmbTNCBaud")), agwpe ? face : window) << type;
        EXPECT_EQ(base(find<QLineEdit>("Edit2")), agwpe ? window : face) << type;
    }
}

TEST_F(CommsDialog, LinkTypeAndAutoConnectTakeEffectAtOnceAndSurviveCancel) {
    open();
    find<QRadioButton>("chkKISS")->click();
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.last().type(), LinkType::Kiss);
    find<QCheckBox>("chkAuto")->click();
    EXPECT_TRUE(changes.last().AutoConnect);
    // Other changes wait for OK.
    list("cmbTNCBaud")->setCurrentIndex(0);
    find<QLineEdit>("Addr")->setText(QStringLiteral("192.168.1.2"));
    find<QPushButton>("btnCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.settings().type(), LinkType::Kiss);
    EXPECT_TRUE(dialog.settings().AutoConnect);
    EXPECT_EQ(dialog.settings().BaudRate, 3);
    EXPECT_EQ(dialog.settings().IPAddr, QStringLiteral("127.0.0.1"));

    // Back to AGWPE: both serial types off.
    link = dialog.settings();
    open();
    find<QRadioButton>("chkAGWPE")->click();
    EXPECT_EQ(changes.last().type(), LinkType::Agwpe);
    EXPECT_FALSE(changes.last().UseKISS || changes.last().Host);
}

TEST_F(CommsDialog, KissOverTcpHasItsOwnHostAndPort) {
    link.KissHost = "tnc.local";
    open();
    EXPECT_EQ(find<QLineEdit>("KissHost")->text(), "tnc.local");
    EXPECT_EQ(find<QLineEdit>("KissPort")->text(), "8001");
    EXPECT_FALSE(find<QGroupBox>("KissTcpGroup")->isEnabled());
    find<QRadioButton>("chkKISSTCP")->click();
    EXPECT_EQ(changes.last().type(), LinkType::KissTcp);
    EXPECT_TRUE(find<QGroupBox>("KissTcpGroup")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("TNCGroup")->isEnabled());
    EXPECT_FALSE(find<QGroupBox>("AGWGroup")->isEnabled());
    find<QLineEdit>("KissHost")->setText(" 10.0.0.5 ");
    find<QLineEdit>("KissPort")->setText("8100");
    find<QPushButton>("btnOK")->click();
    EXPECT_EQ(dialog.settings().type(), LinkType::KissTcp);
    EXPECT_EQ(dialog.settings().KissHost, "10.0.0.5");
    EXPECT_EQ(dialog.settings().KissPort, "8100");
    // An older copy, which knows only these two, takes it for AGWPE.
    EXPECT_FALSE(dialog.settings().UseKISS || dialog.settings().Host);
}

TEST_F(CommsDialog, OkStoresTheListsAddressAndADeviceForEachComNumber) {
    PtyPair pty;
    open();
    find<QRadioButton>("chkKISS")->click();
    list("cmbTNCBaud")->setCurrentIndex(5);
    list("cmbTNCPort")->setCurrentIndex(3);
    device()->setText(pty.path);
    EXPECT_TRUE(find<QLabel>("lblNoDevice")->isHidden());
    // A radio click leaves the choices made so far as they are.
    find<QRadioButton>("chkTNC")->click();
    find<QRadioButton>("chkKISS")->click();
    EXPECT_EQ(list("cmbTNCBaud")->currentIndex(), 5);
    EXPECT_EQ(list("cmbTNCPort")->currentIndex(), 3);

    // Another COM number shows its own device; coming back shows the one typed.
    list("cmbTNCPort")->setCurrentIndex(0);
    EXPECT_EQ(device()->text(), QStringLiteral("/dev/ttyS0"));
    device()->setText(QStringLiteral("/dev/serial/by-id/usb-Unplugged-if00"));
    EXPECT_FALSE(find<QLabel>("lblNoDevice")->isHidden()); // allowed, but marked
    list("cmbTNCPort")->setCurrentIndex(1);
    device()->clear(); // an emptied box keeps the usual device
    list("cmbTNCPort")->setCurrentIndex(3);
    EXPECT_EQ(device()->text(), pty.path);

    find<QLineEdit>("Addr")->setText(QStringLiteral("localhost"));
    find<QLineEdit>("Edit2")->setText(QStringLiteral("not checked"));
    find<QPushButton>("btnOK")->click();
    const LinkSettings& s = dialog.settings();
    EXPECT_EQ(s.type(), LinkType::Kiss);
    EXPECT_EQ(s.ComPort, 4);
    EXPECT_EQ(s.BaudRate, 5);
    EXPECT_EQ(s.ComDevices[3], pty.path);
    EXPECT_EQ(s.ComDevices[0], QStringLiteral("/dev/serial/by-id/usb-Unplugged-if00"));
    EXPECT_EQ(s.ComDevices[1], QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(s.IPAddr, QStringLiteral("localhost"));
    EXPECT_EQ(s.TCPPort, QStringLiteral("not checked"));
    EXPECT_EQ(changes.last().ComDevices, s.ComDevices);
}

TEST_F(CommsDialog, TncSettingsApplyWhenAcceptedEvenIfCommsIsCancelled) {
    link.Host = true;
    open();
    ModalWatch watch(QStringLiteral("frmSetTNC"), [](QDialog* d) {
        EXPECT_EQ(child<QLineEdit>(d, "Command")->text(), QStringLiteral("$03"));
        child<QLineEdit>(d, "Command")->setText(QStringLiteral("27"));
        child<QLineEdit>(d, "Convers")->setText(QStringLiteral("K"));
        child<QPushButton>(d, "btnOK")->click();
    });
    find<QPushButton>("btnTNC")->click();
    ASSERT_TRUE(watch.ran());
    EXPECT_EQ(setTnc.pos(), dialog.pos() + QPoint(20, 20));
    find<QPushButton>("btnCancel")->click();
    EXPECT_EQ(dialog.settings().CommandCode, 27);
    EXPECT_EQ(dialog.settings().Conv, QStringLiteral("K"));
    EXPECT_EQ(changes.last().CommandCode, 27);
}

class TncSettingsDialog : public ::testing::Test {
protected:
    TncSettingsDialog() : dialog(dialogs) {}
    void open() {
        dialog.setValues(link);
        dialog.show();
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(&dialog, name); }
    void ok() { child<QPushButton>(&dialog, "btnOK")->click(); }

    TestDialogs dialogs;
    LinkSettings link;
    TfrmSetTNC dialog;
};

TEST_F(TncSettingsDialog, ControlKeysTypeTheirCodes) {
    open();
    EXPECT_EQ(box("SendPac")->text(), QStringLiteral("$0D"));
    box("SendPac")->setText(QStringLiteral("13"));
    pressKey(box("SendPac"), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(box("SendPac")->text(), QStringLiteral("$0D"));
    EXPECT_EQ(box("SendPac")->cursorPosition(), 3);
    box("Command")->clear();
    ctrlKey(box("Command"), 'C');
    EXPECT_EQ(box("Command")->text(), QStringLiteral("$03"));
    // Backspace still edits; ordinary text is typed as it is; other boxes keep control keys out.
    pressKey(box("Command"), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(box("Command")->text(), QStringLiteral("$0"));
    box("Beac")->setText(QStringLiteral("B"));
    pressKey(box("Beac"), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(box("Beac")->text(), QStringLiteral("B"));
}

TEST_F(TncSettingsDialog, OkRefusesCodesThatAreNoByteAndStoresNothing) {
    const struct {
        const char* sendPac;
        const char* command;
        const char* message;
    } refused[] = {
        {"abc", "$03", "Error with \"SendPac\" code."},
        {"256", "$03", "Error with \"SendPac\" code."},
        {"-1", "$03", "Error with \"SendPac\" code."},
        {"13", "$1FF", "Error with \"Command\" code."},
        {"13", "x", "Error with \"Command\" code."},
    };
    for (const auto& row : refused) {
        dialogs.clear();
        open();
        box("SendPac")->setText(QString::fromLatin1(row.sendPac));
        box("Command")->setText(QString::fromLatin1(row.command));
        box("Convers")->setText(QStringLiteral("K"));
        ok();
        EXPECT_EQ(dialogs.texts(), QStringList{QString::fromLatin1(row.message)}) << row.sendPac;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.settings().Conv, QStringLiteral("CONV"));
        dialog.hide();
    }

    dialogs.clear();
    open();
    box("SendPac")->setText(QStringLiteral("13"));
    box("Command")->setText(QStringLiteral("$1B"));
    box("Cmdprompt")->setText(QStringLiteral("TNC>"));
    box("Beac")->setText(QStringLiteral("BEACON EVERY 10"));
    box("Convers")->setText(QStringLiteral("K"));
    box("ConOK")->setText(QStringLiteral("CONOK ON"));
    ok();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    const LinkSettings& s = dialog.settings();
    EXPECT_EQ(s.SendPac, QStringLiteral("13"));
    EXPECT_EQ(s.SendPacCode, 13);
    EXPECT_EQ(s.Command, QStringLiteral("$1B"));
    EXPECT_EQ(s.CommandCode, 27);
    EXPECT_EQ(s.CmdPrompt, QStringLiteral("TNC>"));
    EXPECT_EQ(s.Beacon, QStringLiteral("BEACON EVERY 10"));
    EXPECT_EQ(s.Conv, QStringLiteral("K"));
    EXPECT_EQ(s.ConOk, QStringLiteral("CONOK ON"));
}

class KissDialog : public ::testing::Test {
protected:
    KissDialog() : dialog(dialogs) { dialog.setHelpWindow(&help); }
    void open() {
        dialog.setValues(link);
        dialog.show();
    }
    QLineEdit* exitBox(int n) {
        return child<QLineEdit>(&dialog, QByteArray("EdEK" + QByteArray::number(n)).constData());
    }
    QLineEdit* enterBox(int n) {
        return child<QLineEdit>(&dialog,
                                QByteArray("EdEnterKiss" + QByteArray::number(n)).constData());
    }
    void ok() { child<QPushButton>(&dialog, "btnOK")->click(); }

    TestDialogs dialogs;
    LinkSettings link;
    TfrmKissHelp help;
    TfrmKiss dialog;
};

TEST_F(KissDialog, ShowsCodesAsDecimalAndKeepsWhatAZeroCannotShow) {
    link.EnterKiss = {QStringLiteral("KISS ON"), QStringLiteral("RESTART"), {}, {}};
    link.ExitKiss = {192, 255, 192, 0};
    link.Match = true;
    open();
    EXPECT_EQ(enterBox(1)->text(), QStringLiteral("KISS ON"));
    EXPECT_EQ(enterBox(2)->text(), QStringLiteral("RESTART"));
    EXPECT_EQ(exitBox(1)->text(), QStringLiteral("192"));
    EXPECT_EQ(exitBox(3)->text(), QStringLiteral("192"));
    EXPECT_EQ(exitBox(4)->text(), QString());
    EXPECT_EQ(exitBox(1)->maxLength(), 3);
    EXPECT_TRUE(child<QCheckBox>(&dialog, "chkMatch")->isChecked());
    exitBox(4)->setText(QStringLiteral("$C0"));
    child<QPushButton>(&dialog, "Button1")->click(); // Cancel
    dialog.hide();
    link.ExitKiss = {3, 0, 0, 0};
    open();
    EXPECT_EQ(exitBox(1)->text(), QStringLiteral("3"));
    EXPECT_EQ(exitBox(2)->text(), QStringLiteral("255"));
    EXPECT_EQ(exitBox(4)->text(), QStringLiteral("$C0"));
}

TEST_F(KissDialog, CtrlKeysFillTheExitBoxesOneAfterAnother) {
    open();
    ASSERT_TRUE(activate(&dialog));
    exitBox(1)->setFocus();
    for (int n = 1; n <= 3; ++n)
        ctrlKey(exitBox(n)->hasFocus() ? static_cast<QWidget*>(exitBox(n)) : &dialog, 'C');
    EXPECT_EQ(exitBox(1)->text(), QStringLiteral("$03"));
    EXPECT_EQ(exitBox(2)->text(), QStringLiteral("$03"));
    EXPECT_EQ(exitBox(3)->text(), QStringLiteral("$03"));
    EXPECT_EQ(QApplication::focusWidget(), exitBox(4));
    ok();
    EXPECT_EQ(dialog.settings().ExitKiss, (std::array<int, 4>{3, 3, 3, 0}));
}

TEST_F(KissDialog, OkKeepsClearedCodesAndRefusesBadOnesWhole) {
    link.ExitKiss = {192, 255, 192, 0};
    open();
    exitBox(2)->clear();
    exitBox(4)->setText(QStringLiteral("$C0"));
    enterBox(1)->setText(QStringLiteral("INTFACE KISS"));
    child<QCheckBox>(&dialog, "chkMatch")->setChecked(true);
    ok();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.settings().ExitKiss, (std::array<int, 4>{192, 255, 192, 192}));
    EXPECT_EQ(dialog.settings().EnterKiss[0], QStringLiteral("INTFACE KISS"));
    EXPECT_TRUE(dialog.settings().Match);

    for (const char* bad : {"xyz", "300", "-5"}) {
        dialogs.clear();
        link = dialog.settings();
        open();
        exitBox(1)->setText(QStringLiteral("27"));
        exitBox(3)->setText(QString::fromLatin1(bad));
        enterBox(1)->setText(QStringLiteral("CHANGED"));
        ok();
        EXPECT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown.value(0).kind, QStringLiteral("error"));
        EXPECT_EQ(dialogs.shown.value(0).text, QStringLiteral("Error in Exit Kiss sequence."));
        EXPECT_TRUE(dialog.isVisible()) << bad;
        EXPECT_EQ(dialog.settings().ExitKiss[0], 192) << bad;
        EXPECT_EQ(dialog.settings().EnterKiss[0], QStringLiteral("INTFACE KISS")) << bad;
        dialog.hide();
    }
}

TEST_F(KissDialog, HelpExplainsTheSequenceAndTheMatchOption) {
    open();
    ModalWatch watch(QStringLiteral("frmKissHelp"), [](QDialog* d) {
        const auto* memo = child<QPlainTextEdit>(d, "Memo1");
        const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Exit Kiss Help"));
        EXPECT_EQ(lines.size(), 15);
        EXPECT_EQ(lines.value(3),
                  QStringLiteral(" either decimal (eg 192  255  192) or hexadecimal"));
        EXPECT_EQ(lines.value(14), QStringLiteral(" to match either 'TNC' or 'Kiss'"));
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(246, 244, 218));
        d->reject();
    });
    child<QPushButton>(&dialog, "Button2")->click();
    EXPECT_TRUE(watch.ran());
    EXPECT_EQ(help.pos(), dialog.pos() + QPoint(40, 80));
}

TEST(LinkDialogs, EveryBoxCarriesItsLabelAsAccessibleName) {
    TestDialogs dialogs;
    ManualClock clock;
    LinkControl link(dialogs, clock);
    TAGWPE comms;
    TfrmSetTNC setTnc(dialogs);
    TfrmKiss kiss(dialogs);
    TfrmKissHelp help;
    TfrmTNC terminal(link, clock);
    for (const QWidget* dialog :
         std::initializer_list<const QWidget*>{&comms, &setTnc, &kiss, &help, &terminal}) {
        for (const QWidget* w : dialog->findChildren<QWidget*>()) {
            if (!qobject_cast<const QLineEdit*>(w) && !qobject_cast<const QComboBox*>(w) &&
                !qobject_cast<const QPlainTextEdit*>(w))
                continue;
            if (qobject_cast<const QComboBox*>(w->parentWidget()))
                continue; // a list's own edit line
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
        // A label that names a box is its buddy, so its shortcut reaches the box.
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->objectName().startsWith(QLatin1String("Label"))) {
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
            }
        }
    }
}

} // namespace
