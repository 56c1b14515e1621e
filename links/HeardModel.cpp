// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/HeardModel.h"

HeardModel::HeardModel(QObject* parent) : QAbstractTableModel(parent) {}

void HeardModel::add(const Row& row) {
    if (m_rows.size() >= MaxRows) {
        beginRemoveRows({}, MaxRows - 1, int(m_rows.size()) - 1);
        m_rows.resize(MaxRows - 1);
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    m_rows.prepend(row);
    endInsertRows();
}

QString HeardModel::lineOf(const Row& row) {
    QString line = row.utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss'Z'")) +
                   QLatin1Char('\t') + row.port + QLatin1Char('\t') + row.monitor;
    if (!row.ours.isEmpty())
        line += QLatin1Char('\t') + row.ours;
    return line;
}

int HeardModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HeardModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HeardModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& r = m_rows[index.row()];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case Time:
            return r.utc.toUTC().toString(QStringLiteral("HH:mm:ss"));
        case Port:
            return r.port;
        case Frame:
            return r.monitor;
        case Ours:
            return r.ours;
        default:
            break;
        }
    }
    return {};
}

QVariant HeardModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time:
        return QStringLiteral("Time (UTC)");
    case Port:
        return QStringLiteral("Port");
    case Frame:
        return QStringLiteral("Frame");
    case Ours:
        return QStringLiteral("Our object");
    default:
        return {};
    }
}
