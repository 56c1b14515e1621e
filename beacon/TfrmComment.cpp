// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/TfrmComment.h"

#include "beacon/Report.h"

#include "common/Clock.h"
#include "common/DateFormat.h"
#include "common/Dialogs.h"
#include "ui_TfrmComment.h"
#include "widgets/TfrmCHelp1.h"

#include <QKeyEvent>

namespace {

const QString kFilter =
    QStringLiteral("Text File  (*.txt)|*.txt|Text File  (*.dat)|*.dat|All Files (*.*)|*.*");

} // namespace

TfrmComment::TfrmComment(Dialogs& dialogs, const Clock& clock, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmComment>()), m_dialogs(dialogs), m_clock(clock),
      // One of the windows the main window creates at start-up, so it belongs to that window.
      m_help(new TfrmCHelp1(parent ? parent : this)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ui->cmbDate->addItems(CommentDateFormats::items());
    for (QWidget* box : {ui->Default1, ui->Default2, ui->Default3})
        box->installEventFilter(this);
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TfrmComment::TabChanged);
    connect(ui->cmbDate, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            ShowSample();
    });
    connect(ui->btnBrowse, &QPushButton::clicked, this, &TfrmComment::btnBrowseClick);
    connect(ui->btnBrowse1, &QPushButton::clicked, this, &TfrmComment::btnBrowse1Click);
    connect(ui->btnBrowse2, &QPushButton::clicked, this, &TfrmComment::btnBrowse2Click);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmComment::btnOKClick);
    connect(ui->btnCancel, &QPushButton::clicked, this, &TfrmComment::btnCancelClick);
    connect(ui->btnHelp, &QPushButton::clicked, this, &TfrmComment::btnHelpClick);
}

TfrmComment::~TfrmComment() = default;

void TfrmComment::setValues(const CommentSettings& values,
                            const std::array<QString, 3>& identifiers, bool weatherMode, int page) {
    m_values = values;
    m_identifiers = identifiers;
    m_weatherMode = weatherMode;
    m_page = page;
}

void TfrmComment::showEvent(QShowEvent* event) {
    frmShow();
    QDialog::showEvent(event);
}

void TfrmComment::frmShow() {
    m_filling = true;
    QWidget* pages[3] = {ui->Tab, ui->Tab1, ui->Tab2};
    ui->PageControl1->setCurrentWidget(m_page == DateTimePage      ? ui->Tab3
                                       : m_page >= 0 && m_page < 3 ? pages[m_page]
                                                                   : ui->Tab);
    for (int k = 0; k < 3; ++k) {
        const QString caption = m_identifiers[size_t(k)].isEmpty()
                                    ? QStringLiteral("[Object %1]").arg(k + 1)
                                    : m_identifiers[size_t(k)];
        ui->PageControl1->setTabText(ui->PageControl1->indexOf(pages[k]), caption);
    }
    // The weather data file has no default: made-up readings would be worse than none.
    QPalette palette = ui->Default1->palette();
    palette.setColor(QPalette::Base, m_weatherMode ? palette.color(QPalette::Button)
                                                   : QWidget::palette().color(QPalette::Base));
    ui->Default1->setPalette(palette);
    ui->Default1->setEnabled(!m_weatherMode);
    ui->Label2->setEnabled(!m_weatherMode);
    if (m_weatherMode) {
        ui->Label1->setText(QStringLiteral("Wx data file:"));
        ui->PageControl1->setTabText(ui->PageControl1->indexOf(ui->Tab), QStringLiteral("Wx Data"));
    } else {
        ui->Label1->setText(QStringLiteral("Comment File"));
    }

    QLineEdit* files[3] = {ui->Comm, ui->Comm1, ui->Comm2};
    QLineEdit* defaults[3] = {ui->Default1, ui->Default2, ui->Default3};
    for (size_t k = 0; k < 3; ++k) {
        files[k]->setText(m_values.commentFiles[k]);
        defaults[k]->setText(m_values.defaultComments[k]);
    }
    ui->cmbDate->setCurrentIndex(m_values.dateIndex);
    ui->LabelDT->setText(formatDateTime(m_values.dateFormat, m_clock.nowLocal()));
    m_filling = false;
    TabChanged();
}

void TfrmComment::TabChanged() {
    // The help is about comment files, not formats.
    ui->btnHelp->setEnabled(ui->PageControl1->currentWidget() != ui->Tab3);
}

void TfrmComment::ShowSample() {
    const int index = ui->cmbDate->currentIndex();
    if (index < 0)
        return;
    // Takes effect at once, also if the dialog is then cancelled.
    m_values.dateIndex = index;
    m_values.dateFormat = CommentDateFormats::stored(index);
    ui->LabelDT->setText(formatDateTime(m_values.dateFormat, m_clock.nowLocal()));
}

void TfrmComment::btnBrowseClick() {
    browse(0);
}

void TfrmComment::btnBrowse1Click() {
    browse(1);
}

void TfrmComment::btnBrowse2Click() {
    browse(2);
}

void TfrmComment::browse(int page) {
    QLineEdit* files[3] = {ui->Comm, ui->Comm1, ui->Comm2};
    Dialogs::FileRequest request;
    request.filter = kFilter;
    request.defaultSuffix = QStringLiteral("txt");
    request.fileName = files[page]->text();
    switch (page) {
    case 0:
        request.title = m_weatherMode ? QStringLiteral("Wx data file..")
                                      : QStringLiteral("Select Object Comment File...");
        m_filterIndex = m_weatherMode ? 2 : 1;
        break;
    case 1:
        request.title = QStringLiteral("Select Object 2 Comment File...");
        break;
    default:
        request.title = QStringLiteral("Select Object 3 Comment File...");
        break;
    }
    request.filterIndex = m_filterIndex;
    // A cancelled choice leaves the box as it was: the operator may have typed the path.
    const std::optional<Dialogs::FileChoice> choice = m_dialogs.openFile(request);
    if (!choice)
        return;
    m_filterIndex = choice->filterIndex;
    files[page]->setText(choice->path);
}

bool TfrmComment::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* box = qobject_cast<QLineEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        // A default comment is sent when there is no file, so there is no file date for a
        // "$" to stand for; the current time is the nearest thing.
        if (box && box->text().isEmpty() && key->text() == QLatin1String("$")) {
            box->insert(QStringLiteral("%"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmComment::btnOKClick() {
    QLineEdit* files[3] = {ui->Comm, ui->Comm1, ui->Comm2};
    QLineEdit* defaults[3] = {ui->Default1, ui->Default2, ui->Default3};
    // A default comment goes on the air whenever its file is missing: it is held to what a
    // typed comment may hold.
    for (int k = 0; k < 3; ++k) {
        if (!defaults[k]->isEnabled())
            continue;
        const QString refusal = Report::commentRefusal(defaults[k]->text(), m_values.utf8Text);
        if (refusal.isEmpty())
            continue;
        QWidget* pages[3] = {ui->Tab, ui->Tab1, ui->Tab2};
        ui->PageControl1->setCurrentWidget(pages[k]);
        defaults[k]->setFocus();
        m_dialogs.information(QStringLiteral("Default comment %1: %2").arg(k + 1).arg(refusal));
        return;
    }
    for (size_t k = 0; k < 3; ++k) {
        m_values.commentFiles[k] = files[k]->text();
        m_values.defaultComments[k] = defaults[k]->text();
    }
    accept();
}

void TfrmComment::btnCancelClick() {
    reject();
}

void TfrmComment::btnHelpClick() {
    m_help->showAt(pos() + QPoint(100, 50));
}
