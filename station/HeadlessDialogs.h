// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/Dialogs.h"

#include <cstdio>

class Clock;

// The dialogs of a station nobody watches: every message becomes one line on a stream
// (standard error, which journald keeps), stamped with the UTC time. Nothing waits for an
// answer: a question takes the answer that changes nothing.
class HeadlessDialogs : public Dialogs {
public:
    HeadlessDialogs(Clock& clock, std::FILE* out = stderr) : m_clock(clock), m_out(out) {}

    // One line: "2026-03-06T15:23:00Z text", the text's line breaks as spaces.
    void line(const QString& text);

    void information(const QString& text, const QString& title = {}) override;
    void error(const QString& text, const QString& title = {}) override;
    bool okCancel(const QString& text) override;
    Answer yesNoCancel(const QString& text) override;
    bool yesNo(const QString& text) override;
    std::optional<FileChoice> openFile(const FileRequest& request) override;
    void beep() override {}

private:
    Clock& m_clock;
    std::FILE* m_out;
};
