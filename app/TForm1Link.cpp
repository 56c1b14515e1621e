// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

// Link control is wired in here; until then closing and Station Setup have no link to drop.
void TForm1::setupLink() {}
void TForm1::btnDisconnectClick() {}
