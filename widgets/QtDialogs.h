// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/Dialogs.h"

class QWidget;

// The real message boxes and file dialogs, parented to the active window.
class QtDialogs : public Dialogs {
public:
    void information(const QString& text, const QString& title = {}) override;
    void error(const QString& text, const QString& title = {}) override;
    bool okCancel(const QString& text) override;
    Answer yesNoCancel(const QString& text) override;
    bool yesNo(const QString& text) override;
    std::optional<FileChoice> openFile(const FileRequest& request) override;
    void beep() override;
};
