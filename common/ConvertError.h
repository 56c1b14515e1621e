// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <stdexcept>

// A text that should have been a number. Handlers catch it at their boundary and show
// message() in an error box; it never travels through Qt's event loop.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    static ConvertError integer(const QString& text) {
        return ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    static ConvertError floatingPoint(const QString& text) {
        return ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }

    const QString& message() const { return m_message; }

private:
    QString m_message;
};
