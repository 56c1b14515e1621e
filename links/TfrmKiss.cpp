// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "links/TfrmKiss.h"

#include "common/Dialogs.h"
#include "links/KeyCode.h"
#include "links/TncCodes.h"
#include "ui_TfrmKiss.h"
#include "widgets/TfrmKissHelp.h"

TfrmKiss::TfrmKiss(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmKiss>()), m_dialogs(dialogs) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_enter[0] = ui->EdEnterKiss1;
    m_enter[1] = ui->EdEnterKiss2;
    m_enter[2] = ui->EdEnterKiss3;
    m_enter[3] = ui->EdEnterKiss4;
    m_exit[0] = ui->EdEK1;
    m_exit[1] = ui->EdEK2;
    m_exit[2] = ui->EdEK3;
    m_exit[3] = ui->EdEK4;
    for (QLineEdit* box : m_exit)
        box->installEventFilter(this);
    connect(ui->btnOK, &QPushButton::clicked, this, &TfrmKiss::btnOKClick);
    connect(ui->Button1, &QPushButton::clicked, this, &TfrmKiss::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TfrmKiss::Button2Click);
}

TfrmKiss::~TfrmKiss() = default;

void TfrmKiss::showEvent(QShowEvent* event) {
    frmShow();
    QDialog::showEvent(event);
}

bool TfrmKiss::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (QLineEdit* box : m_exit)
            if (watched == box && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
                return KeyPress1(box, typedCode(key));
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmKiss::frmShow() {
    // A zero is no code: its box keeps whatever it showed last.
    for (size_t i = 0; i < 4; ++i)
        if (m_link.ExitKiss[i] != 0)
            m_exit[i]->setText(QString::number(m_link.ExitKiss[i]));
    for (size_t i = 0; i < 4; ++i)
        m_enter[i]->setText(m_link.EnterKiss[i]);
    ui->chkMatch->setChecked(m_link.Match);
}

bool TfrmKiss::KeyPress1(QLineEdit* box, int code) {
    const auto text = TncCodes::keyText(code);
    if (!text)
        return false;
    box->setText(*text);
    box->end(false);
    // Several control keys in a row fill the boxes one after another.
    focusNextChild();
    return true;
}

void TfrmKiss::btnOKClick() {
    // Every box is checked before anything is kept, so a refused sequence leaves the stored
    // one whole; a code above 255 would go out as some other byte.
    std::array<int, 4> codes = m_link.ExitKiss;
    for (size_t i = 0; i < 4; ++i) {
        const QString text = m_exit[i]->text();
        if (text.isEmpty())
            continue;
        const auto code = TncCodes::byteValue(text);
        if (!code) {
            m_dialogs.error(QStringLiteral("Error in Exit Kiss sequence."));
            return;
        }
        codes[i] = *code;
    }
    for (size_t i = 0; i < 4; ++i)
        m_link.EnterKiss[i] = m_enter[i]->text();
    m_link.ExitKiss = codes;
    m_link.Match = ui->chkMatch->isChecked();
    accept();
}

void TfrmKiss::Button1Click() {
    reject();
}

void TfrmKiss::Button2Click() {
    if (!m_help)
        return;
    m_help->move(x() + 40, y() + 80);
    m_help->exec();
}
