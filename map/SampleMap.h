// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QString>

// The sample map for a first start, copied into "maps" beside the settings file where it is
// not there yet so that its objects file can be written; empty when no sample map is shipped.
QString sampleMapPath(const QString& settingsPath);
