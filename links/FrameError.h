// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <stdexcept>

// A report that cannot be put on the air as asked (a callsign AX.25 cannot carry, a digipeater
// entry too long for its slot). Nothing has been written when it is thrown; message() is meant
// for the user and names the offending text.
class FrameError : public std::runtime_error {
public:
    explicit FrameError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
