// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

FontConfigWarmUp::FontConfigWarmUp() {
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No second thread: Qt reads the configuration itself when it first needs it.
    }
}

FontConfigWarmUp::~FontConfigWarmUp() {
    wait();
}

void FontConfigWarmUp::wait() {
    if (m_thread.joinable())
        m_thread.join();
}
