// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
// The main window's comment handlers: the time button, the use-comment-file boxes, the Comment
// Files dialog and its help.
#include "app/TForm1.h"

#include "beacon/TfrmComment.h"
#include "station/Station.h"
#include "ui_TForm1.h"
#include "widgets/TfrmCHelp.h"

void TForm1::setupComments() {
    connect(ui->btnTime, &QToolButton::clicked, this, &TForm1::btnTimeClick);
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
    if (ObjectPanel* p = shownPanel())
        p->insertTimeMarker();
}

void TForm1::showCommentFiles(int page) {
    createOtherWindows();
    CommentSettings values;
    std::array<QString, 3> identifiers;
    for (size_t k = 0; k < 3; ++k) {
        const BeaconObject& o = m_panels[k]->object();
        values.commentFiles[k] = o.commentFile;
        values.defaultComments[k] = o.defaultComment;
        identifiers[k] = o.identifier;
    }
    values.dateFormat = dateFormat();
    values.dateIndex = dateIndex();
    values.utf8Text = station().Utf8Text;
    m_windows.frmComment->setValues(values, identifiers, weatherMode(), page);
    m_windows.frmComment->move(x() + 50, y() + 80);
    m_windows.frmComment->exec();

    // Cancel leaves the files and defaults as they were; a format chosen stays either way.
    const CommentSettings& chosen = m_windows.frmComment->values();
    for (size_t k = 0; k < 3; ++k) {
        m_panels[k]->slot().setCommentFile(chosen.commentFiles[k]);
        m_panels[k]->slot().setDefaultComment(chosen.defaultComments[k]);
        m_panels[k]->offerCommentFile();
    }
    m_station->setDateFormat(chosen.dateFormat);
    m_station->setDateIndex(chosen.dateIndex);
    if (const ObjectPanel* shown = shownPanel())
        barPanel(0)->setText(shown->commentFileStatus());
}

void TForm1::mnuCommentFilesClick() {
    showCommentFiles(ui->Page->currentIndex());
}

void TForm1::DateTimeFormat1Click() {
    showCommentFiles(TfrmComment::DateTimePage);
}

void TForm1::mnuCHelpClick() {
    createOtherWindows();
    m_windows.frmCHelp->showAt(pos() + QPoint(150, 50));
}
