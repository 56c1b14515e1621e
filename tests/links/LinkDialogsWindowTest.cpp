// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/MainWindowFixture.h"

#include "links/DialogTestSupport.h"
#include "support/Keys.h"
#include "support/PtyPair.h"
#include "support/Wait.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace {

class LinkDialogsWindow : public MainWindowFixture {
protected:
    // Opens the Comms dialog from its menu entry and lets `action` work it.
    void comms(const std::function<void(QDialog*)>& action) {
        ModalWatch watch(QStringLiteral("AGWPE"), action);
        find<QAction>("mnuHost")->trigger();
        ASSERT_TRUE(watch.ran());
    }
    bool terminalOffered() {
        QMenu* view = find<QMenu>("mnuView");
        emit view->aboutToShow();
        return find<QAction>("Debug1")->isEnabled();
    }
};

} // namespace

TEST_F(LinkDialogsWindow, KissTncOnAChosenDeviceAndBackAgainLastAcrossRestarts) {
    PtyPair pty;
    ScriptedTnc tnc(pty, ScriptedTnc::Mode::Silent);
    start();
    ASSERT_FALSE(QFile::exists(iniPath()));
    EXPECT_FALSE(terminalOffered());
    comms([&](QDialog* d) {
        EXPECT_TRUE(child<QRadioButton>(d, "chkAGWPE")->isChecked());
        child<QRadioButton>(d, "chkKISS")->click();
        child<QComboBox>(d, "cmbTNCPort")->setCurrentIndex(2);
        child<QComboBox>(d, "cmbDevice")->setEditText(pty.path);
        child<QComboBox>(d, "cmbTNCBaud")->setCurrentIndex(6);
        child<QPushButton>(d, "btnOK")->click();
    });
    EXPECT_TRUE(terminalOffered());
    ASSERT_TRUE(closeWindow());

    restart();
    EXPECT_TRUE(terminalOffered());
    // The terminal opens the link it was set to and works on it.
    {
        ModalWatch watch(QStringLiteral("frmTNC"), [&](QDialog* d) {
            EXPECT_EQ(d->pos(), m_form->pos() + QPoint(100, 60));
            child<QLineEdit>(d, "Edit1")->setText(QStringLiteral("DISPLAY"));
            pressKey(child<QLineEdit>(d, "Edit1"), Qt::Key_Return, QStringLiteral("\r"));
            child<QPushButton>(d, "Button2")->click();
        });
        find<QAction>("Debug1")->trigger();
        EXPECT_TRUE(watch.ran());
    }
    EXPECT_TRUE(waitUntil([&] { return tnc.received.endsWith("DISPLAY\r\n"); }));
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), QStringLiteral("Not Connected"));

    comms([&](QDialog* d) {
        EXPECT_TRUE(child<QRadioButton>(d, "chkKISS")->isChecked());
        EXPECT_EQ(child<QComboBox>(d, "cmbTNCPort")->currentText(), QStringLiteral("COM3"));
        EXPECT_EQ(child<QComboBox>(d, "cmbDevice")->currentText(), pty.path);
        EXPECT_EQ(child<QComboBox>(d, "cmbTNCBaud")->currentText(), QStringLiteral("57600"));
        // Back to the packet engine; Cancel keeps the type, as the click took effect.
        child<QRadioButton>(d, "chkAGWPE")->click();
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_FALSE(terminalOffered());
    ASSERT_TRUE(closeWindow());

    restart();
    comms([&](QDialog* d) {
        EXPECT_TRUE(child<QRadioButton>(d, "chkAGWPE")->isChecked());
        EXPECT_EQ(child<QComboBox>(d, "cmbTNCPort")->currentText(), QStringLiteral("COM3"));
        EXPECT_EQ(child<QComboBox>(d, "cmbDevice")->currentText(), pty.path);
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_TRUE(m_dialogs.texts().filter(QStringLiteral("COM")).isEmpty());
}
