// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>

// The frames heard on the channel, newest first, as the Heard window lists them: at most the
// last 1000, so that days of a busy channel take no more memory than an hour.
class HeardModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Port, Frame, Ours, ColumnCount };
    static constexpr int MaxRows = 1000;

    struct Row {
        QDateTime utc;
        QString port;    // "AGWPE port 1", "KISS port 2"
        QString monitor; // SRC>DST,PATH:info
        QString ours;    // "AID1" for a copy of our report, "same name as AID1" for a clash
    };

    explicit HeardModel(QObject* parent = nullptr);

    void add(const Row& row);
    const Row& row(int index) const { return m_rows[index]; }
    // One line a row: "2026-12-09 12:03:06Z  AGWPE port 1  SRC>DST:info", the mark last.
    static QString lineOf(const Row& row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<Row> m_rows;
};
