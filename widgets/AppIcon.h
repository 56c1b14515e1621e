// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QIcon>

// The program's picture: the window icon, the about box, and the icon installed for desktops.
QIcon appIcon();
