// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>
#include <QStringList>

// The digipeater entries of a path text such as "RELAY, WIDE": split at each ",", blanks and
// control characters trimmed from each entry. An empty entry still counts (",WIDE" has two);
// a trailing "," adds none.
QStringList unprotoPathEntries(const QString& path);
