// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QIcon>

// The toolbar's small pictures, drawn rather than shipped so they stay crisp at any scale.
enum class ToolbarIcon { Connect, Disconnect, LoadMap, Details, StopAll, Time };

QIcon toolbarIcon(ToolbarIcon which);
