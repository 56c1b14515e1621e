// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QAbstractSpinBox>

class Dialogs;

// A numeric edit box with up/down buttons whose text may lie outside its range while the user
// types; the range is enforced by the arrows and when the box is left. Keys other than digits,
// signs and the decimal separator are refused with a beep.
class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE setValue USER true)
    Q_PROPERTY(int MinValue READ MinValue WRITE setMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE setMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE setIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    // The text read as an integer; text that is not one counts as MinValue.
    int Value() const;
    // Shows the value, limited to the range unless MinValue equals MaxValue.
    void setValue(int value);

    int MinValue() const { return m_min; }
    int MaxValue() const { return m_max; }
    void setMinValue(int v) { m_min = v; }
    void setMaxValue(int v) { m_max = v; }
    void setRange(int min, int max);
    int Increment() const { return m_increment; }
    void setIncrement(int v) { m_increment = v; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void setEditorEnabled(bool on);
    // Read-only boxes still step from code, but the arrows and keys beep instead.
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    bool AutoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }
    int MaxLength() const;
    void setMaxLength(int length);

    // Beeps go through the program's dialogs seam when one is given.
    void setDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }

signals:
    // The text changed (typed, stepped or set): Value() as it reads now.
    void valueChanged(int value);

public:
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int limited(int value) const;
    void beep();
    void pressEnter();

    int m_min = 0;
    int m_max = 0;
    int m_increment = 1;
    bool m_editorEnabled = true;
    bool m_readOnly = false;
    bool m_autoSelect = true;
    bool m_pendingReselect = false;
    bool m_reselectOnRelease = false;
    Dialogs* m_dialogs = nullptr;
};
