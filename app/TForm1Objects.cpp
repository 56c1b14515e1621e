// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

// Object editing and scheduling are wired in here.
void TForm1::setupObjects() {}
