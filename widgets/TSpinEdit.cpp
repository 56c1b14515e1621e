// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TSpinEdit.h"

#include "common/Dialogs.h"
#include "common/Numbers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // The text is free while typing; keeping it is this class's job, not the base class's.
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    resize(100, sizeHint().height());
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit valueChanged(Value()); });
}

int TSpinEdit::Value() const {
    const auto v = tryStrToInt(lineEdit()->text());
    return v ? *v : m_min;
}

void TSpinEdit::setValue(int value) {
    lineEdit()->setText(QString::number(limited(value)));
}

void TSpinEdit::setRange(int min, int max) {
    m_min = min;
    m_max = max;
}

void TSpinEdit::setEditorEnabled(bool on) {
    m_editorEnabled = on;
}

void TSpinEdit::setReadOnly(bool on) {
    m_readOnly = on;
    lineEdit()->setReadOnly(on);
}

int TSpinEdit::MaxLength() const {
    return lineEdit()->maxLength();
}

void TSpinEdit::setMaxLength(int length) {
    lineEdit()->setMaxLength(length > 0 ? length : 32767);
}

int TSpinEdit::limited(int value) const {
    if (m_min == m_max)
        return value;
    return qBound(m_min, value, m_max);
}

void TSpinEdit::beep() {
    if (m_dialogs)
        m_dialogs->beep();
    else
        QApplication::beep();
}

void TSpinEdit::stepBy(int steps) {
    if (m_readOnly) {
        beep();
        return;
    }
    setValue(Value() + steps * m_increment);
    if (m_autoSelect)
        selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    // Always enabled: a read-only box answers a step with a beep rather than ignoring it.
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State TSpinEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

void TSpinEdit::pressEnter() {
    // Enter clicks the window's default buttons, as a dialog would; with none it beeps.
    QWidget* form = window();
    const auto buttons = form->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    const int selStart = lineEdit()->selectionStart();
    const int selLength = lineEdit()->selectedText().size();
    const int cursor = lineEdit()->cursorPosition();
    bool clicked = false;
    for (QPushButton* b : buttons) {
        if (!b->isDefault() || !b->isEnabled())
            continue;
        b->setFocus(Qt::OtherFocusReason);
        b->click();
        clicked = true;
    }
    if (!clicked) {
        beep();
        return;
    }
    setFocus(Qt::OtherFocusReason);
    if (m_autoSelect)
        selectAll();
    else if (selStart >= 0)
        lineEdit()->setSelection(selStart, selLength);
    else
        lineEdit()->setCursorPosition(cursor);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    m_pendingReselect = false;
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        pressEnter();
        return;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        event->accept();
        stepBy(key == Qt::Key_Up ? 1 : -1);
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = text.at(0);
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7f;
        if (!m_editorEnabled && (!control || key == Qt::Key_Backspace)) {
            event->accept();
            return;
        }
        if (!control) {
            const QString decimal = QLocale().decimalPoint();
            const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                                 c == QLatin1Char('+') || c == QLatin1Char('-') ||
                                 decimal.startsWith(c);
            if (!allowed) {
                event->accept();
                beep();
                return;
            }
        }
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) {
        if (!m_editorEnabled || m_readOnly) {
            event->accept();
            return;
        }
    }
    if (!m_editorEnabled && (key == Qt::Key_Delete)) {
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusInEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusInEvent(event);
    // The press that brings the focus would leave a bare caret where it landed; its release
    // selects everything again.
    if (event->reason() == Qt::MouseFocusReason &&
        !(QApplication::mouseButtons() & (Qt::RightButton | Qt::MiddleButton)))
        m_pendingReselect = true;
    if (m_autoSelect)
        selectAll();
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    // Text that is out of range, or that is no number at all, is replaced by the value the
    // box stands for, so what is shown is what the program uses.
    const auto parsed = tryStrToInt(lineEdit()->text());
    if (!parsed || limited(*parsed) != *parsed)
        setValue(Value());
    QAbstractSpinBox::focusOutEvent(event);
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_pendingReselect) {
            m_pendingReselect = false;
            m_reselectOnRelease = true;
        } else if (event->type() == QEvent::MouseButtonRelease && m_reselectOnRelease) {
            m_reselectOnRelease = false;
            lineEdit()->selectAll();
        }
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}
