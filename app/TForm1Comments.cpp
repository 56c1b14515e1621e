// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
// The main window's comment handlers: the time button, the use-comment-file boxes, the Comment
// Files dialog and its help.
#include "app/TForm1.h"

#include "beacon/Report.h"
#include "beacon/TfrmComment.h"
#include "ui_TForm1.h"
#include "widgets/TfrmCHelp.h"

#include <QFileInfo>

namespace {

struct CommentControls {
    QCheckBox* useFile;
    QLineEdit* comment;
};

CommentControls commentControlsOf(Ui::TForm1* ui, int index) {
    switch (index) {
    case 0:
        return {ui->chkFile, ui->Comment};
    case 1:
        return {ui->chkFile1, ui->Comment1};
    default:
        return {ui->chkFile2, ui->Comment2};
    }
}

} // namespace

void TForm1::setupComments() {
    connect(ui->btnTime, &QToolButton::clicked, this, &TForm1::btnTimeClick);
    connect(ui->chkFile, &QCheckBox::clicked, this, &TForm1::chkFileClick);
    connect(ui->chkFile1, &QCheckBox::clicked, this, &TForm1::chkFile1Click);
    connect(ui->chkFile2, &QCheckBox::clicked, this, &TForm1::chkFile2Click);
    connect(ui->mnuCommentFiles, &QAction::triggered, this, &TForm1::mnuCommentFilesClick);
    connect(ui->DateTimeFormat1, &QAction::triggered, this, &TForm1::DateTimeFormat1Click);
    connect(ui->mnuCHelp, &QAction::triggered, this, &TForm1::mnuCHelpClick);
    // Screen readers and desktop automation find the toolbar buttons by what their hints say,
    // also while hints are switched off.
    for (QToolButton* b : {ui->btnConnect1, ui->btnDisconnect, ui->btnLoad, ui->btnHide,
                           ui->btnStopAll, ui->btnTime})
        b->setAccessibleName(b->toolTip());
}

void TForm1::btnTimeClick() {
    const int k = ui->Page->currentIndex();
    if (k < 0 || k > 2)
        return;
    QLineEdit* box = commentControlsOf(ui.get(), k).comment;
    box->setText(Report::withTimeMarker(box->text()));
    m_objects[k].comment = box->text();
}

void TForm1::chkFileClick() {
    useCommentFile(0, ui->chkFile->isChecked());
}

void TForm1::chkFile1Click() {
    useCommentFile(1, ui->chkFile1->isChecked());
}

void TForm1::chkFile2Click() {
    useCommentFile(2, ui->chkFile2->isChecked());
}

void TForm1::useCommentFile(int index, bool on) {
    const CommentControls c = commentControlsOf(ui.get(), index);
    m_objects[index].useCommentFile = on;
    if (on) {
        // The weather data now comes from the file, not from the dialog.
        if (index == 0)
            ui->btnWx->setEnabled(false);
        ReadCommentFile(index + 1);
    } else {
        c.comment->clear();
        m_objects[index].comment.clear();
        if (index == 0)
            ui->btnWx->setEnabled(true);
        ReadTime();
        UpdateHeader(index + 1);
    }
    // The weather data comes from the file while the box is ticked, so it is not typed.
    if (index == 0)
        ui->Comment->setReadOnly(on && weatherMode());
}

QString TForm1::commentFileStatus(int index) const {
    return (index == 0 && weatherMode() ? QStringLiteral("  Wx data file: ")
                                        : QStringLiteral("  Comment file: ")) +
           commentFileName(index);
}

void TForm1::showCommentFiles(int page) {
    if (!frmComment)
        return;
    CommentSettings values;
    std::array<QString, 3> identifiers;
    for (size_t k = 0; k < 3; ++k) {
        values.commentFiles[k] = m_objects[k].commentFile;
        values.defaultComments[k] = m_objects[k].defaultComment;
        identifiers[k] = m_objects[k].identifier;
    }
    values.dateFormat = m_dateFormat;
    values.dateIndex = m_dateIndex;
    frmComment->setValues(values, identifiers, weatherMode(), page);
    frmComment->move(x() + 50, y() + 80);
    frmComment->exec();

    // Cancel leaves the files and defaults as they were; a format chosen stays either way.
    const CommentSettings& chosen = frmComment->values();
    for (size_t k = 0; k < 3; ++k) {
        m_objects[k].commentFile = chosen.commentFiles[k];
        m_objects[k].defaultComment = chosen.defaultComments[k];
        // A ticked box that becomes disabled stays ticked.
        commentControlsOf(ui.get(), int(k))
            .useFile->setEnabled(QFileInfo::exists(chosen.commentFiles[k]));
    }
    m_dateFormat = chosen.dateFormat;
    m_dateIndex = chosen.dateIndex;
    const int shown = ui->Page->currentIndex();
    if (shown >= 0 && shown < 3)
        barPanel(0)->setText(commentFileStatus(shown));
}

void TForm1::mnuCommentFilesClick() {
    showCommentFiles(ui->Page->currentIndex());
}

void TForm1::DateTimeFormat1Click() {
    showCommentFiles(TfrmComment::DateTimePage);
}

void TForm1::mnuCHelpClick() {
    if (frmCHelp)
        frmCHelp->showAt(pos() + QPoint(150, 50));
}
