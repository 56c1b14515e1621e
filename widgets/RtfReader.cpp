// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/RtfReader.h"

#include "common/Cp1252.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>

namespace {

struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24; // \fsN: the word processors' default of 12 points
    bool skip = false;   // inside a table or destination that holds no text
    int unicodeSkip = 1; // \ucN: characters that stand in for each \uN
};

class Reader {
public:
    Reader(const QByteArray& rtf, QTextDocument& document) : m_rtf(rtf), m_cursor(&document) {
        document.clear();
    }

    void run() {
        while (m_pos < m_rtf.size()) {
            const char c = m_rtf[m_pos];
            if (c == '{') {
                ++m_pos;
                flush();
                m_stack.append(m_state);
            } else if (c == '}') {
                ++m_pos;
                flush();
                if (!m_stack.isEmpty())
                    m_state = m_stack.takeLast();
            } else if (c == '\\') {
                controlWord();
            } else {
                ++m_pos;
                // Line ends in the file are only layout of the source.
                if (c != '\r' && c != '\n')
                    addText(QString(Cp1252::toUnicode((unsigned char)c)));
            }
        }
        flush();
    }

private:
    void controlWord() {
        ++m_pos; // the backslash
        if (m_pos >= m_rtf.size())
            return;
        const char c = m_rtf[m_pos];
        if (!isLetter(c)) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        QByteArray word;
        while (m_pos < m_rtf.size() && isLetter(m_rtf[m_pos]))
            word += m_rtf[m_pos++];
        bool hasValue = false;
        int value = 0;
        bool negative = false;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_rtf.size() && m_rtf[m_pos] >= '0' && m_rtf[m_pos] <= '9') {
            hasValue = true;
            value = value * 10 + (m_rtf[m_pos++] - '0');
            if (value > 1000000)
                value = 1000000; // no control word needs more; keeps a hostile file harmless
        }
        if (negative)
            value = -value;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == ' ')
            ++m_pos; // the delimiter belongs to the control word
        apply(word, hasValue, value);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            addText(QString(QLatin1Char(c)));
            break;
        case '~':
            addText(QString(QChar(0xA0)));
            break;
        case '-':
            break; // an optional hyphen
        case '_':
            addText(QStringLiteral("-"));
            break;
        case '*':
            m_state.skip = true; // a destination this reader need not know
            break;
        case '\'': {
            const QByteArray hex = m_rtf.mid(m_pos, 2);
            bool ok = false;
            const int byte = hex.toInt(&ok, 16);
            // A cut-short escape stands for nothing; its digit is not text either.
            m_pos += hex.size();
            if (ok && hex.size() == 2)
                addText(QString(Cp1252::toUnicode((unsigned char)byte)));
            break;
        }
        case '\r':
        case '\n':
            paragraph(); // "\" at a line end is an old spelling of \par
            break;
        default:
            break;
        }
    }

    void apply(const QByteArray& word, bool hasValue, int value) {
        static const QByteArray skipped[] = {
            "fonttbl",      "colortbl",  "stylesheet",        "info",    "pict",
            "header",       "footer",    "headerl",           "headerr", "footerl",
            "footerr",      "listtable", "listoverridetable", "object",  "themedata",
            "latentstyles", "generator", "xmlnstbl"};
        for (const QByteArray& s : skipped)
            if (word == s) {
                flush();
                m_state.skip = true;
                return;
            }
        const bool on = !hasValue || value != 0;
        if (word == "par") {
            paragraph();
        } else if (word == "line") {
            addText(QString(QChar::LineSeparator));
        } else if (word == "tab") {
            addText(QStringLiteral("\t"));
        } else if (word == "b") {
            setFormat([&] { m_state.bold = on; });
        } else if (word == "i") {
            setFormat([&] { m_state.italic = on; });
        } else if (word == "ul") {
            setFormat([&] { m_state.underline = on; });
        } else if (word == "ulnone") {
            setFormat([&] { m_state.underline = false; });
        } else if (word == "fs" && hasValue && value > 0) {
            setFormat([&] { m_state.halfPoints = value; });
        } else if (word == "plain") {
            setFormat([&] {
                m_state.bold = m_state.italic = m_state.underline = false;
                m_state.halfPoints = 24;
            });
        } else if (word == "uc" && hasValue && value >= 0) {
            m_state.unicodeSkip = value;
        } else if (word == "u" && hasValue) {
            addText(QString(QChar(char16_t(value < 0 ? value + 65536 : value))));
            skipFallback();
        } else if (word == "emdash") {
            addText(QString(QChar(0x2014)));
        } else if (word == "endash") {
            addText(QString(QChar(0x2013)));
        } else if (word == "bullet") {
            addText(QString(QChar(0x2022)));
        } else if (word == "lquote" || word == "rquote") {
            addText(QString(QChar(word == "lquote" ? 0x2018 : 0x2019)));
        } else if (word == "ldblquote" || word == "rdblquote") {
            addText(QString(QChar(word == "ldblquote" ? 0x201C : 0x201D)));
        }
    }

    // The characters after \uN that readers without Unicode would show instead.
    void skipFallback() {
        for (int n = 0; n < m_state.unicodeSkip && m_pos < m_rtf.size(); ++n) {
            if (m_rtf[m_pos] == '\\' && m_pos + 3 < m_rtf.size() && m_rtf[m_pos + 1] == '\'')
                m_pos += 4;
            else if (m_rtf[m_pos] == '{' || m_rtf[m_pos] == '}')
                break;
            else
                ++m_pos;
        }
    }

    template <typename Change> void setFormat(Change change) {
        flush();
        change();
    }

    void addText(const QString& text) {
        if (m_state.skip)
            return;
        m_pending += text;
    }

    void paragraph() {
        if (m_state.skip)
            return;
        flush();
        m_cursor.insertBlock(QTextBlockFormat());
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        QTextCharFormat format;
        format.setFontWeight(m_state.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(m_state.italic);
        format.setFontUnderline(m_state.underline);
        format.setFontPointSize(m_state.halfPoints / 2.0);
        m_cursor.insertText(m_pending, format);
        m_pending.clear();
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    const QByteArray& m_rtf;
    QTextCursor m_cursor;
    qsizetype m_pos = 0;
    State m_state;
    QVector<State> m_stack;
    QString m_pending;
};

} // namespace

void readRtf(const QByteArray& rtf, QTextDocument& document) {
    Reader(rtf, document).run();
}
