// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <clocale>

// Runs a block under a desktop language as a user's session would set it: the C library's
// locale (what QCoreApplication takes from LANG at start) and Qt's default locale. The
// previous settings come back when the block ends.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name)
        : m_previousC(std::setlocale(LC_ALL, nullptr)), m_previousQt(QLocale()) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
        QLocale::setDefault(QLocale(QString::fromLatin1(name).section(QLatin1Char('.'), 0, 0)));
    }
    ~ScopedLocale() {
        std::setlocale(LC_ALL, m_previousC.constData());
        QLocale::setDefault(m_previousQt);
    }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the machine lacks the locale; the caller should fail, not pass unexercised.
    bool active() const { return m_active; }
    // The C library's decimal point now in effect.
    static QString decimalPoint() { return QString::fromLatin1(std::localeconv()->decimal_point); }

private:
    QByteArray m_previousC;
    QLocale m_previousQt;
    bool m_active = false;
};

// The languages every locale-sensitive table runs under: the C locale, a decimal-comma one,
// and Turkish with its dotted and dotless i.
inline constexpr const char* TestLocales[] = {"C", "de_DE.UTF-8", "tr_TR.UTF-8"};
