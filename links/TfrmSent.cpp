// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TfrmSent.h"

#include "ui_TfrmSent.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>

namespace {
enum Column { Time, Object, Link, Bytes, Airtime, Result, Report };
constexpr int RecordRole = Qt::UserRole;
} // namespace

TfrmSent::TfrmSent(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TfrmSent>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::Window);
    connect(ui->cmbObject, &QComboBox::currentIndexChanged, this, &TfrmSent::cmbObjectChange);
    connect(ui->btnCopy, &QPushButton::clicked, this, &TfrmSent::btnCopyClick);
    auto* copy = new QShortcut(QKeySequence::Copy, ui->lstSent);
    connect(copy, &QShortcut::activated, this, &TfrmSent::btnCopyClick);
    ui->lstSent->setColumnWidth(Time, 150);
    ui->lstSent->setColumnWidth(Object, 110);
}

TfrmSent::~TfrmSent() = default;

namespace {
QString airtimeOf(const SentRecord& r) {
    return r.onAir() ? QString::number(r.seconds, 'f', 3) + QStringLiteral(" s")
                     : QStringLiteral("\u2014");
}
} // namespace

QString TfrmSent::textOf(const SentRecord& r) {
    QString text = r.utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                   QStringLiteral("Z  Object %1 %2  %3  %4 bytes  %5  ")
                       .arg(r.slot)
                       .arg(r.identifier, r.link)
                       .arg(r.bytes)
                       .arg(airtimeOf(r));
    if (r.heard)
        text += QStringLiteral("HEARD (%1)  %2").arg(r.message, r.monitor);
    else
        text += r.sent ? r.monitor : QStringLiteral("FAILED (%1)  %2").arg(r.message, r.monitor);
    return text;
}

void TfrmSent::setRecords(const QList<SentRecord>& records) {
    m_records = records;
    cmbObjectChange();
}

void TfrmSent::addRecord(const SentRecord& record) {
    m_records.append(record);
    const int filter = ui->cmbObject->currentIndex();
    if (filter == 0 || filter == record.slot)
        addRow(record);
}

void TfrmSent::addRow(const SentRecord& r) {
    auto* item = new QTreeWidgetItem;
    item->setText(Time, r.utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    item->setText(Object, QStringLiteral("%1 %2").arg(r.slot).arg(r.identifier));
    item->setText(Link, r.link);
    item->setText(Bytes, QString::number(r.bytes));
    item->setText(Airtime, airtimeOf(r));
    item->setText(Result, r.heard  ? QStringLiteral("Heard: ") + r.message
                          : r.sent ? (r.message.isEmpty() ? QStringLiteral("Sent")
                                                          : QStringLiteral("Sent: ") + r.message)
                                   : QStringLiteral("Failed: ") + r.message);
    item->setText(Report, r.monitor);
    item->setTextAlignment(Bytes, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(Airtime, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(Time, RecordRole, int(m_records.size() - 1));
    // Newest first.
    ui->lstSent->insertTopLevelItem(0, item);
}

void TfrmSent::cmbObjectChange() {
    ui->lstSent->clear();
    const int filter = ui->cmbObject->currentIndex();
    const QList<SentRecord> all = m_records;
    m_records.clear();
    for (const SentRecord& r : all) {
        m_records.append(r);
        if (filter == 0 || filter == r.slot)
            addRow(r);
    }
}

QString TfrmSent::selectedText() const {
    QList<int> rows;
    for (const QTreeWidgetItem* item : ui->lstSent->selectedItems())
        rows.append(item->data(Time, RecordRole).toInt());
    std::sort(rows.begin(), rows.end());
    QStringList lines;
    for (int row : rows)
        lines.append(textOf(m_records.at(row)));
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void TfrmSent::btnCopyClick() {
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}
