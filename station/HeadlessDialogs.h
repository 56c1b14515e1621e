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
    // How much a line matters, as syslog and the journal number it.
    enum class Priority { Error = 3, Warning = 4, Notice = 5, Info = 6, Debug = 7 };

    // `journal`: the stream is the journal's, which reads a "<N>" in front of a line as its
    // priority.
    HeadlessDialogs(Clock& clock, std::FILE* out = stderr, bool journal = false)
        : m_clock(clock), m_out(out), m_journal(journal) {}

    // One line: "2026-03-06T15:23:00Z text", the text's line breaks as spaces; "<N>" first for
    // the journal.
    void line(const QString& text, Priority priority = Priority::Info);

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
    bool m_journal;
};

// Whether standard error is a stream of the journal: systemd names it in JOURNAL_STREAM as
// "device:inode", which must be standard error's own (a child started from the service with
// its standard error elsewhere inherits the variable).
bool standardErrorIsJournal(const QString& journalStream);

// The program's own log lines (a name clash, a kill dropped) go to standard error with the
// journal priority of their kind when `journal`, else as Qt writes them.
void routeLogToStandardError(bool journal);
