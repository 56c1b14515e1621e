// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <thread>

// The first question about fonts makes fontconfig read its configuration (some fifty XML files)
// and its font caches, which takes several milliseconds; Qt asks when the first control measures
// its text. Made on a second thread while the application object loads its platform plugin, it
// is off the window's path. Fontconfig sets up its configuration once even if asked from two
// threads at a time, so a question from Qt before wait() is answered correctly, only slower.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits until the configuration is read (at once when it is, or when no thread was had).
    void wait();

private:
    std::thread m_thread;
};
