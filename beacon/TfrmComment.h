// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "beacon/CommentSettings.h"

#include <QDialog>
#include <array>
#include <memory>

class Clock;
class Dialogs;
class TfrmCHelp1;

namespace Ui {
class TfrmComment;
}

// The Comment Files dialog: each object's comment file and default comment, and the date/time
// format of the comment markers. Created hidden at start-up and reused. It works on its own
// copy of the settings; the caller takes values() back after every showing, since a format
// chosen here takes effect even when the dialog is then cancelled.
class TfrmComment : public QDialog {
    Q_OBJECT
public:
    // The page that the main window's active tab asks for while the format menu item opens it.
    static constexpr int DateTimePage = 99;

    TfrmComment(Dialogs& dialogs, const Clock& clock, QWidget* parent = nullptr);
    ~TfrmComment() override;

    // What the next showing fills in. `page` is the main window's active tab's tag: 0..2 for
    // an object's page, DateTimePage for the format page. In weather mode object 1's page
    // is about the weather data file, which has no default.
    void setValues(const CommentSettings& values, const std::array<QString, 3>& identifiers,
                   bool weatherMode, int page);
    const CommentSettings& values() const { return m_values; }

    void frmShow();
    void TabChanged();
    void ShowSample();
    void btnBrowseClick();
    void btnBrowse1Click();
    void btnBrowse2Click();
    void btnOKClick();
    void btnCancelClick();
    void btnHelpClick();

protected:
    // Filling happens when the dialog is shown, never on a repaint, so typing survives a file
    // dialog that covered this one.
    void showEvent(QShowEvent* event) override;
    // The default-comment boxes' key filter (a "$" into an empty box becomes "%").
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void browse(int page);

    std::unique_ptr<Ui::TfrmComment> ui;
    Dialogs& m_dialogs;
    const Clock& m_clock;
    TfrmCHelp1* m_help = nullptr;
    CommentSettings m_values;
    std::array<QString, 3> m_identifiers;
    bool m_weatherMode = false;
    int m_page = 0;
    int m_filterIndex = 1; // the file dialog's filter, kept between Browse clicks as it was
    bool m_filling = false;
};
