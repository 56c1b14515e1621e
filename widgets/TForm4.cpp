// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/TForm4.h"

#include "common/Dialogs.h"
#include "ui_TForm4.h"
#include "widgets/RtfReader.h"

#include <QFile>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QPrinter>
#include <QPrinterInfo>
#include <QShowEvent>

Q_LOGGING_CATEGORY(lcHelp, "skyvane.help")

namespace {
// A help document is a few hundred kilobytes at most; a larger file is not one.
constexpr qint64 MaxDocumentBytes = 16 * 1024 * 1024;
} // namespace

TForm4::TForm4(Dialogs& dialogs, const QString& documentPath, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TForm4>()), m_dialogs(dialogs),
      m_path(documentPath) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    auto* bar = new QMenuBar(this);
    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    m_stayOnTop = options->addAction(QStringLiteral("Stay On &Top"));
    m_stayOnTop->setObjectName(QStringLiteral("StayOnTop1"));
    m_stayOnTop->setCheckable(true);
    options->addSeparator();
    m_print = options->addAction(QStringLiteral("&Print"));
    m_print->setObjectName(QStringLiteral("mnuPrint"));
    layout()->setMenuBar(bar);
    connect(m_stayOnTop, &QAction::triggered, this, &TForm4::StayOnTop1Click);
    connect(m_print, &QAction::triggered, this, &TForm4::mnuPrintClick);
    qCInfo(lcHelp) << "Help document:" << m_path;
}

TForm4::~TForm4() = default;

void TForm4::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_restacking)
        frmShow();
}

void TForm4::frmShow() {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        ui->Help->clear();
        m_dialogs.error(
            QStringLiteral("Cannot open file \"%1\". %2").arg(m_path, file.errorString()));
        return;
    }
    if (file.size() > MaxDocumentBytes) {
        ui->Help->clear();
        m_dialogs.error(QStringLiteral("\"%1\" is not a help document.").arg(m_path));
        return;
    }
    readRtf(file.readAll(), *ui->Help->document());
    ui->Help->moveCursor(QTextCursor::Start);
}

void TForm4::StayOnTop1Click() {
    // Changing a window's flags hides it; show it again where it was, with the reader's place
    // in the document kept.
    const bool wasVisible = isVisible();
    m_restacking = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, m_stayOnTop->isChecked());
    if (wasVisible) {
        QDialog::show();
        raise();
    }
    m_restacking = false;
}

void TForm4::mnuPrintClick() {
    if (m_printer) {
        m_printer->setDocName(QStringLiteral("Skyvane"));
        ui->Help->document()->print(m_printer);
        return;
    }
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        m_dialogs.error(QStringLiteral("There is no printer to print the help on. Set up a "
                                       "default printer in your desktop's printer settings."));
        return;
    }
    QPrinter printer(info);
    printer.setDocName(QStringLiteral("Skyvane"));
    ui->Help->document()->print(&printer);
}
