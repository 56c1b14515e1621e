// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

// The hourglass of the main window, shown while anything holds it: a start-up connect, a
// close, a busy period or a TNC wait. Every hold is matched by one release; Stop All and the
// window's end let go of every hold at once, so no hourglass outlives what it stood for.
class WaitCursor {
public:
    WaitCursor() = default;
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { releaseAll(); }

    void hold();
    // Lets go of one hold; nothing when none is held.
    void release();
    void releaseAll();
    int holds() const { return m_holds; }

private:
    int m_holds = 0;
};
