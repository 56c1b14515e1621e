# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Skyvane developers
# Fails when docs/skyvane.doc is not what scripts/make-guide.py writes from docs/guide.txt.
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${SOURCE} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make-guide.py failed (${status})")
endif()
file(SHA256 ${OUT} written)
file(SHA256 ${DOCUMENT} committed)
if(NOT written STREQUAL committed)
    message(FATAL_ERROR "docs/skyvane.doc differs from what docs/guide.txt gives: run "
                        "scripts/make-guide.py docs/guide.txt docs/skyvane.doc")
endif()
