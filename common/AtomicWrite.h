// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to a temporary file in the folder of `path` and renames it over `path` only
// once it is complete, so that a failed write (a full disk, a folder that cannot be written)
// leaves whatever stood there whole. False with the system's reason in `reason`.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason);
