// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/AppIcon.h"

// Resources of a static library are only linked in when something names them.
static void initResources() {
    Q_INIT_RESOURCE(skyvane);
}

QIcon appIcon() {
    static const bool ready = (initResources(), true);
    Q_UNUSED(ready);
    return QIcon(QStringLiteral(":/app/skyvane.svg"));
}
