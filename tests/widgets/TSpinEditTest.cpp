// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TSpinEdit.h"
#include "support/Keys.h"
#include "support/TestDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An interval box as the main window sets it up.
struct IntervalBox {
    IntervalBox() {
        spin = new TSpinEdit(&window);
        spin->setRange(10, 120);
        spin->setIncrement(5);
        spin->setMaxLength(3);
        spin->setAlignment(Qt::AlignRight);
        spin->setDialogs(&dialogs);
        spin->setValue(10);
    }
    QLineEdit* edit() const { return spin->findChild<QLineEdit*>(); }
    void leave() {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(spin, &out);
    }
    void retype(const QString& text) {
        edit()->selectAll();
        typeText(spin, text);
    }

    TestDialogs dialogs;
    QWidget window;
    TSpinEdit* spin = nullptr;
};

TEST(TSpinEdit, NewBoxIsEmptyAndLeftAligned) {
    TSpinEdit spin;
    EXPECT_EQ(spin.width(), 100);
    EXPECT_TRUE(spin.alignment() & Qt::AlignLeft);
    EXPECT_EQ(spin.text(), "");
    EXPECT_EQ(spin.Value(), spin.MinValue());
}

TEST(TSpinEdit, OnlyDigitsSignsAndTheDecimalSeparatorAreTyped) {
    IntervalBox box;
    box.retype("a");
    EXPECT_EQ(box.dialogs.beeps, 1);
    EXPECT_EQ(box.spin->text(), "10");
    box.retype("Z");
    box.retype(" ");
    EXPECT_EQ(box.dialogs.beeps, 3);
    EXPECT_EQ(box.spin->text(), "10");

    box.retype("+");
    EXPECT_EQ(box.spin->text(), "+");
    box.retype("-");
    EXPECT_EQ(box.spin->text(), "-");
    box.retype(QLocale().decimalPoint());
    EXPECT_EQ(box.spin->text(), QLocale().decimalPoint());
    box.retype("45");
    EXPECT_EQ(box.spin->Value(), 45);
    EXPECT_EQ(box.dialogs.beeps, 3);
    // Control keys such as Backspace still edit.
    pressKey(box.spin, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(box.spin->text(), "4");
    // No more than three characters.
    box.retype("1234");
    EXPECT_EQ(box.spin->text(), "123");
}

TEST(TSpinEdit, OutOfRangeTextIsCorrectedOnLeaving) {
    IntervalBox box;
    box.retype("200");
    EXPECT_EQ(box.spin->text(), "200");
    box.leave();
    EXPECT_EQ(box.spin->text(), "120");
    box.retype("5");
    box.leave();
    EXPECT_EQ(box.spin->text(), "10");
    box.retype("55");
    box.leave();
    EXPECT_EQ(box.spin->text(), "55");
    // Text that is no number stands for the lowest value, and shows it once left.
    box.retype("+-");
    EXPECT_EQ(box.spin->Value(), 10);
    box.leave();
    EXPECT_EQ(box.spin->text(), "10");
}

TEST(TSpinEdit, ArrowsStepWithinTheRange) {
    IntervalBox box;
    pressKey(box.spin, Qt::Key_Down);
    EXPECT_EQ(box.spin->Value(), 10);
    pressKey(box.spin, Qt::Key_Up);
    EXPECT_EQ(box.spin->Value(), 15);
    box.spin->setValue(118);
    pressKey(box.spin, Qt::Key_Up);
    EXPECT_EQ(box.spin->Value(), 120);
    // The buttons step the same way.
    box.spin->stepUp();
    EXPECT_EQ(box.spin->Value(), 120);
    box.spin->stepDown();
    EXPECT_EQ(box.spin->Value(), 115);
    EXPECT_EQ(box.dialogs.beeps, 0);
}

TEST(TSpinEdit, EqualLimitsMeanNoLimit) {
    TSpinEdit spin;
    spin.setIncrement(7);
    spin.setValue(-300);
    EXPECT_EQ(spin.Value(), -300);
    spin.stepBy(1);
    EXPECT_EQ(spin.Value(), -293);
}

TEST(TSpinEdit, ReadOnlyBeepsInsteadOfStepping) {
    IntervalBox box;
    box.spin->setReadOnly(true);
    pressKey(box.spin, Qt::Key_Up);
    box.spin->stepUp();
    EXPECT_EQ(box.spin->Value(), 10);
    EXPECT_EQ(box.dialogs.beeps, 2);
}

TEST(TSpinEdit, WithoutEditorOnlyTheArrowsChangeTheValue) {
    IntervalBox box;
    box.spin->setEditorEnabled(false);
    box.edit()->setCursorPosition(2);
    typeText(box.spin, "5");
    pressKey(box.spin, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(box.spin->text(), "10");
    pressKey(box.spin, Qt::Key_Up);
    EXPECT_EQ(box.spin->Value(), 15);
}

TEST(TSpinEdit, EnterBeepsWithoutADefaultButton) {
    IntervalBox box;
    pressKey(box.spin, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(box.dialogs.beeps, 1);
    EXPECT_EQ(box.spin->text(), "10");
}

TEST(TSpinEdit, EnterClicksTheWindowsDefaultButtons) {
    TestDialogs dialogs;
    QDialog dialog;
    auto* spin = new TSpinEdit(&dialog);
    spin->setDialogs(&dialogs);
    spin->setRange(10, 120);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* other = new QPushButton(QStringLiteral("Other"), &dialog);
    int okClicks = 0;
    int otherClicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++okClicks; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherClicks; });
    spin->setValue(20);
    pressKey(spin, Qt::Key_Enter, QStringLiteral("\r"));
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(otherClicks, 0);
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST(TSpinEdit, ClickThatBringsTheFocusLeavesTheTextSelected) {
    IntervalBox box;
    auto* other = new QLineEdit(&box.window);
    other->move(0, 40);
    box.window.show();
    QApplication::setActiveWindow(&box.window);
    other->setFocus();
    ASSERT_TRUE(other->hasFocus());
    box.spin->setValue(55);
    ASSERT_FALSE(box.spin->hasFocus());

    QLineEdit* edit = box.edit();
    const QPoint at(edit->width() - 4, edit->height() / 2);
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(box.spin->hasFocus());
    EXPECT_EQ(edit->selectedText(), "55");

    // Later clicks place the caret as usual.
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(edit->selectedText(), "");
}

} // namespace
