// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QString titleOr(const QString& title) {
    return title.isEmpty() ? QStringLiteral("Skyvane") : title;
}

// "Text File  (*.txt)|*.txt|All Files (*.*)|*.*" -> Qt's "Text File  (*.txt);;All Files (*)"
QStringList qtFilters(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out;
}

} // namespace

void QtDialogs::information(const QString& text, const QString& title) {
    QMessageBox::information(QApplication::activeWindow(), titleOr(title), text);
}

void QtDialogs::error(const QString& text, const QString& title) {
    QMessageBox::critical(QApplication::activeWindow(), titleOr(title), text);
}

bool QtDialogs::okCancel(const QString& text) {
    return QMessageBox::question(QApplication::activeWindow(), titleOr({}), text,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

Dialogs::Answer QtDialogs::yesNoCancel(const QString& text) {
    switch (QMessageBox::question(QApplication::activeWindow(), titleOr({}), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool QtDialogs::yesNo(const QString& text) {
    return QMessageBox::question(QApplication::activeWindow(), titleOr({}), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<Dialogs::FileChoice> QtDialogs::openFile(const FileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.fileName);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = qtFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().constFirst(),
                      int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

void QtDialogs::beep() {
    QApplication::beep();
}
