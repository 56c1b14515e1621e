// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QDateTime>
#include <QString>

// Formats a date and time with the format language users type into comment settings:
// specifiers are case-insensitive; "d"/"dd" day, "h"/"hh" hour, "n"/"nn" minute,
// "m"/"mm" month, except right after an hour specifier where they mean minutes,
// "s"/"ss" second, "yy"/"yyyy" year; text in quotes is copied; anything else is literal.
QString formatDateTime(const QString& format, const QDateTime& when);
