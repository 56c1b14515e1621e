#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Skyvane developers
"""Writes the user guide docs/skyvane.doc (RTF in Windows-1252, what Help File shows and
prints) from its source docs/guide.txt. Lines of the source: "# ", "## ", "### " headings;
"- message :: explanation" a troubleshooting entry; anything else a paragraph.

Usage: scripts/make-guide.py docs/guide.txt docs/skyvane.doc
"""
import sys
src = open(sys.argv[1], encoding='utf-8').read().splitlines()
out = [r"{\rtf1\ansi\ansicpg1252\deff0", r"{\fonttbl{\f0\fswiss Helvetica;}{\f1\fmodern Courier New;}}",
       r"{\info{\title Skyvane user guide}{\author The Skyvane developers}}", r"\fs22"]
def esc(t):
    r = []
    for ch in t:
        if ch in '\\{}': r.append('\\' + ch)
        elif ch == '\t': r.append(r'\tab ')
        elif ord(ch) < 128: r.append(ch)
        else: r.append("\\'%02x" % ch.encode('cp1252')[0])
    return ''.join(r)
for line in src:
    if line.startswith('### '):
        out.append(r"{\pard\sb120\b\fs26 " + esc(line[4:]) + r"\par}")
    elif line.startswith('## '):
        out.append(r"{\pard\sb240\b\fs32 " + esc(line[3:]) + r"\par}")
    elif line.startswith('# '):
        out.append(r"{\pard\b\fs40 " + esc(line[2:]) + r"\par}")
    elif line.startswith('- '):
        # a troubleshooting entry: message in bold, then its explanation
        msg, _, rest = line[2:].partition(' :: ')
        out.append(r"{\pard\sb120{\b " + esc(msg) + r"}\par}")
        out.append(r"{\pard\li360 " + esc(rest) + r"\par}")
    elif line.strip() == '':
        continue
    else:
        out.append(r"{\pard\sb60 " + esc(line) + r"\par}")
out.append("}")
open(sys.argv[2], 'w', encoding='cp1252', newline='\r\n').write('\n'.join(out) + '\n')
