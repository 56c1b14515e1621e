// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TfrmHeard.h"

#include "links/HeardModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

TfrmHeard::TfrmHeard(HeardModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_filter(new QSortFilterProxyModel(this)),
      m_filterEdit(new QLineEdit(this)), m_list(new QTableView(this)),
      m_copy(new QPushButton(QStringLiteral("&Copy"), this)) {
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmHeard"));
    setWindowTitle(QStringLiteral("Heard"));
    resize(760, 420);

    m_filter->setSourceModel(&m_model);
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_filter->setFilterKeyColumn(-1); // any column: a call, a port, an object's name

    auto* label = new QLabel(QStringLiteral("&Filter:"), this);
    label->setBuddy(m_filterEdit);
    m_filterEdit->setObjectName(QStringLiteral("edtFilter"));
    m_filterEdit->setAccessibleName(QStringLiteral("Filter"));
    m_filterEdit->setPlaceholderText(QStringLiteral("Callsign, port or text"));
    m_filterEdit->setClearButtonEnabled(true);
    m_copy->setObjectName(QStringLiteral("btnCopy"));
    m_copy->setToolTip(QStringLiteral("Copy the selected frames, or all shown"));

    m_list->setObjectName(QStringLiteral("lstHeard"));
    m_list->setAccessibleName(QStringLiteral("Frames heard"));
    m_list->setModel(m_filter);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->horizontalHeader()->setSectionResizeMode(HeardModel::Frame, QHeaderView::Stretch);
    m_list->setColumnWidth(HeardModel::Time, 80);
    m_list->setColumnWidth(HeardModel::Port, 110);
    m_list->setColumnWidth(HeardModel::Ours, 140);

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(m_filterEdit, 1);
    top->addWidget(m_copy);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(m_list, 1);

    connect(m_filterEdit, &QLineEdit::textChanged, this, &TfrmHeard::edtFilterChange);
    connect(m_copy, &QPushButton::clicked, this, &TfrmHeard::btnCopyClick);
    auto* copy = new QShortcut(QKeySequence::Copy, m_list);
    connect(copy, &QShortcut::activated, this, &TfrmHeard::btnCopyClick);
}

void TfrmHeard::edtFilterChange() {
    m_filter->setFilterFixedString(m_filterEdit->text());
}

QString TfrmHeard::selectedText() const {
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.append(m_filter->mapToSource(index).row());
    if (rows.isEmpty())
        for (int r = 0; r < m_filter->rowCount(); ++r)
            rows.append(m_filter->mapToSource(m_filter->index(r, 0)).row());
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows)
        lines.append(HeardModel::lineOf(m_model.row(row)));
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TfrmHeard::btnCopyClick() {
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}
