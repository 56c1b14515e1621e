// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDialog>
#include <memory>

class Dialogs;
class QAction;
class QPrinter;

namespace Ui {
class TForm4;
}

// The help document viewer: modeless, resizable, reloading the document at every showing so
// that an edited document shows the next time.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4(Dialogs& dialogs, const QString& documentPath, QWidget* parent = nullptr);
    ~TForm4() override;

    void frmShow();
    void StayOnTop1Click();
    void mnuPrintClick();

    // The printer "&Print" uses; nothing (the default) means the desktop's default printer.
    void setPrinter(QPrinter* printer) { m_printer = printer; }
    QAction* stayOnTopAction() const { return m_stayOnTop; }
    QAction* printAction() const { return m_print; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TForm4> ui;
    Dialogs& m_dialogs;
    QString m_path;
    QPrinter* m_printer = nullptr;
    QAction* m_stayOnTop = nullptr;
    QAction* m_print = nullptr;
    bool m_restacking = false;
};
