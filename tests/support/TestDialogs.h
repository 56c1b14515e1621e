// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "common/Dialogs.h"

#include <QQueue>
#include <QStringList>

// Records every message and answers from scripts; with no scripted answer, questions get OK /
// Yes and file dialogs are cancelled.
class TestDialogs : public Dialogs {
public:
    struct Shown {
        QString kind; // "information", "error", "okCancel", "yesNoCancel", "yesNo", "openFile"
        QString text;
        QString title;
    };

    void information(const QString& text, const QString& title = {}) override {
        shown.append({QStringLiteral("information"), text, title});
    }
    void error(const QString& text, const QString& title = {}) override {
        shown.append({QStringLiteral("error"), text, title});
    }
    bool okCancel(const QString& text) override {
        shown.append({QStringLiteral("okCancel"), text, {}});
        return okAnswers.isEmpty() ? true : okAnswers.dequeue();
    }
    Answer yesNoCancel(const QString& text) override {
        shown.append({QStringLiteral("yesNoCancel"), text, {}});
        return yesNoAnswers.isEmpty() ? Answer::Yes : yesNoAnswers.dequeue();
    }
    // Without a scripted answer: No, the box's default.
    bool yesNo(const QString& text) override {
        shown.append({QStringLiteral("yesNo"), text, {}});
        return yesAnswers.isEmpty() ? false : yesAnswers.dequeue();
    }
    std::optional<FileChoice> openFile(const FileRequest& request) override {
        fileRequests.append(request);
        shown.append({QStringLiteral("openFile"), request.title, {}});
        if (fileAnswers.isEmpty())
            return std::nullopt;
        return fileAnswers.dequeue();
    }
    void beep() override { ++beeps; }

    // The texts of every box shown, in order.
    QStringList texts() const {
        QStringList out;
        for (const auto& s : shown)
            if (s.kind != QLatin1String("openFile"))
                out << s.text;
        return out;
    }
    void clear() {
        shown.clear();
        fileRequests.clear();
        beeps = 0;
    }

    QList<Shown> shown;
    QList<FileRequest> fileRequests;
    QQueue<bool> okAnswers;
    QQueue<Answer> yesNoAnswers;
    QQueue<bool> yesAnswers;
    QQueue<std::optional<FileChoice>> fileAnswers;
    int beeps = 0;
};
