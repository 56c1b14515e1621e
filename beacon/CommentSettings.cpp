// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/CommentSettings.h"

namespace CommentDateFormats {

QStringList items() {
    return {QStringLiteral("dd hh:mm"), QStringLiteral("dd hhmm"), QStringLiteral("ddhhmm"),
            QStringLiteral("hh:mm"), QStringLiteral("hhmm")};
}

QString stored(int index) {
    const QStringList all = items();
    if (index < 0 || index >= all.size())
        return {};
    const QString item = all[index];
    return item.left(item.size() - 2) + item.right(2).toUpper();
}

} // namespace CommentDateFormats
