// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Every message box and file dialog of the program goes through this seam, so that tests
// can read the texts and script the answers.
class Dialogs {
public:
    enum class Answer { Yes, No, Cancel };

    struct FileRequest {
        QString title;
        QString fileName;      // initial file or folder
        QString filter;        // "Text File  (*.txt)|*.txt|All Files (*.*)|*.*"
        int filterIndex = 1;   // 1-based, as the filter list is written
        QString defaultSuffix; // without the dot
    };
    struct FileChoice {
        QString path;
        int filterIndex = 1;
    };

    virtual ~Dialogs() = default;

    // An information box with one OK button; title empty means the program's name.
    virtual void information(const QString& text, const QString& title = {}) = 0;
    // An error box with one OK button.
    virtual void error(const QString& text, const QString& title = {}) = 0;
    // A confirmation box with OK and Cancel; true for OK.
    virtual bool okCancel(const QString& text) = 0;
    // A confirmation box with Yes, No and Cancel.
    virtual Answer yesNoCancel(const QString& text) = 0;
    // A question with Yes and No, No being the default button; true for Yes.
    virtual bool yesNo(const QString& text) = 0;
    // A file-open dialog; nothing when cancelled.
    virtual std::optional<FileChoice> openFile(const FileRequest& request) = 0;
    // The system beep.
    virtual void beep() = 0;
};
