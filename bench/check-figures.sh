#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Skyvane developers
# The benchmark probes print their figures with a full stop under a decimal-comma desktop
# language too: the bench scripts read them as numbers. Usage: check-figures.sh BENCH_DIR MAP
set -eu
bench=$1
map=$2
export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen
fail=0
check() { # name, text: every figure with a fraction has a full stop, none a comma
    if ! printf '%s\n' "$2" | grep -Eq '[0-9]\.[0-9]' || printf '%s\n' "$2" | grep -Eq '[0-9],[0-9]'; then
        echo "$1 printed: $2" >&2
        fail=1
    fi
}
check heard-probe "$("$bench/heard-probe" | grep 'ms of CPU')"
check map-load-probe "$("$bench/map-load-probe" "$map")"
check map-window-probe "$("$bench/map-window-probe" window "$map")"
check run-measured "$("$bench/run-measured" true 2>&1 >/dev/null | grep '^@@')"
exit $fail
