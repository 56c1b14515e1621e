// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QWidget>

class HeardModel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// View > Heard: the frames heard on the channel lately, newest first, with a filter and copy.
// Modeless; shows the station's model, so it keeps filling while it is hidden.
class TfrmHeard : public QWidget {
    Q_OBJECT
public:
    TfrmHeard(HeardModel& model, QWidget* parent = nullptr);

    void edtFilterChange();
    void btnCopyClick();
    // The selected rows (all shown when none is selected), newest first, one line each as the
    // clipboard receives them.
    QString selectedText() const;

private:
    HeardModel& m_model;
    QSortFilterProxyModel* m_filter;
    QLineEdit* m_filterEdit;
    QTableView* m_list;
    QPushButton* m_copy;
};
