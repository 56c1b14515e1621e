// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "settings/IniFile.h"

#include "common/AtomicWrite.h"
#include "common/Cp1252.h"
#include "common/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcIni, "skyvane.ini")

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\v') || c == QLatin1Char('\f');
}

// Only blanks and tabs count: a no-break space (0xA0) is part of a value.
QString trimBlanks(const QString& s) {
    qsizetype start = 0;
    qsizetype end = s.size();
    while (start < end && isBlank(s[start]))
        ++start;
    while (end > start && isBlank(s[end - 1]))
        --end;
    return s.mid(start, end - start);
}

const QByteArray utf8Bom("\xEF\xBB\xBF");

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// A line break inside a value would split it into two lines of the file and turn the rest
// of the value into a stray key; keep one line per key.
QString oneLine(const QString& value) {
    QString s = value;
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

} // namespace

bool IniFile::load(const QString& path) {
    clear();
    m_error.clear();
    QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    if (info.isDir()) {
        m_error = QStringLiteral("Unable to read %1: it is a folder").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Unable to read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_error = QStringLiteral("Unable to read %1: %2").arg(path, file.errorString());
        return false;
    }
    parse(bytes);
    return true;
}

bool IniFile::loadForUpdate(const QString& path, bool unreadableBefore, QString* keptAs) {
    if (keptAs)
        keptAs->clear();
    const bool readable = load(path);
    const QFileInfo info(path);
    if ((readable && !unreadableBefore) || (!info.exists() && !info.isSymLink())) {
        m_error.clear();
        return true;
    }
    if (info.isDir()) {
        // A folder is nobody's settings: it stays where it is, and so no file can go there.
        clear();
        m_error = QStringLiteral("Unable to write to %1: it is a folder").arg(path);
        return false;
    }
    // What is there may be the user's only copy of their settings or objects, unreadable to
    // us for now (another owner, a damaged disc): it is kept, never written over.
    clear();
    const QString aside = keepAside(path, QDateTime::currentDateTime());
    if (aside.isEmpty()) {
        m_error = QStringLiteral("Unable to write to %1: it could not be read, and it could not "
                                 "be moved aside to keep it")
                      .arg(path);
        qCWarning(lcIni) << m_error;
        return false;
    }
    qCWarning(lcIni) << path << "could not be read; kept as" << aside;
    if (keptAs)
        *keptAs = aside;
    m_error.clear();
    return true;
}

QString IniFile::keepAside(const QString& path, const QDateTime& now) {
    // ASCII digits whatever the user's language.
    const QDate d = now.date();
    const QTime t = now.time();
    const QString base =
        path + QString::asprintf(".unreadable-%04d%02d%02d-%02d%02d%02d", d.year(), d.month(),
                                 d.day(), t.hour(), t.minute(), t.second());
    for (int n = 1; n < 100; ++n) {
        const QString target = n == 1 ? base : base + QStringLiteral("-%1").arg(n);
        const QFileInfo taken(target);
        if (taken.exists() || taken.isSymLink())
            continue;
        // QDir::rename moves folders and dangling links as well as files, and never replaces
        // what stands at the target.
        if (QDir().rename(path, target))
            return target;
        return {};
    }
    return {};
}

QString IniFile::keptAsideMessage(const QString& path, const QString& keptAs) {
    return QStringLiteral("%1 could not be read, so it has been kept as %2 and a new file "
                          "written in its place.")
        .arg(path, keptAs);
}

bool IniFile::save(const QString& path) const {
    m_error.clear();
    QString reason;
    if (!writeFileAtomically(path, toBytes(), &reason)) {
        m_error = QStringLiteral("Unable to write to %1: %2").arg(path, reason);
        qCWarning(lcIni) << m_error;
        return false;
    }
    return true;
}

void IniFile::parse(const QByteArray& bytes) {
    clear();
    // An editor that saves UTF-8 with a byte order mark would otherwise hide the first section
    // behind it; such a file is read as UTF-8 and stays UTF-8 when written back.
    m_readAsUtf8 = bytes.startsWith(utf8Bom);
    const QString text =
        m_readAsUtf8 ? QString::fromUtf8(bytes.mid(utf8Bom.size())) : Cp1252::toUnicode(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    Section* current = nullptr;
    for (QString raw : lines) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString t = trimBlanks(raw);
        if (t.startsWith(QLatin1Char('['))) {
            qsizetype close = t.indexOf(QLatin1Char(']'));
            if (close < 0)
                close = t.size();
            m_sections.push_back(Section{raw, trimBlanks(t.mid(1, close - 1)), {}});
            current = &m_sections.back();
            continue;
        }
        Line line{raw, {}, {}};
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (!t.startsWith(QLatin1Char(';')) && eq > 0) {
            line.key = trimBlanks(t.left(eq));
            line.value = trimBlanks(t.mid(eq + 1));
        }
        (current ? current->lines : m_preamble).push_back(line);
    }
}

QByteArray IniFile::toBytes() const {
    QString out;
    auto put = [&out](const QString& line) {
        out += line;
        out += QLatin1String("\r\n");
    };
    for (const Line& l : m_preamble)
        put(l.text);
    for (const Section& s : m_sections) {
        put(s.header);
        for (const Line& l : s.lines)
            put(l.text);
    }
    // Older copies of the program read only Windows-1252, so a file stays in it whenever it
    // can; writing "?" for a path it cannot hold would lose the map at the next start.
    if (m_readAsUtf8 || !Cp1252::canEncode(out))
        return utf8Bom + out.toUtf8();
    return Cp1252::fromUnicode(out);
}

IniFile::Section* IniFile::findSection(const QString& name) {
    const QString n = trimBlanks(name);
    for (Section& s : m_sections)
        if (sameName(s.name, n))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    return const_cast<IniFile*>(this)->findSection(name);
}

IniFile::Line* IniFile::findLine(Section& section, const QString& key) {
    const QString k = trimBlanks(key);
    if (k.isEmpty())
        return nullptr;
    for (Line& l : section.lines)
        if (!l.key.isEmpty() && sameName(l.key, k))
            return &l;
    return nullptr;
}

const IniFile::Line* IniFile::findLine(const Section& section, const QString& key) {
    return findLine(const_cast<Section&>(section), key);
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const Section* s = findSection(section);
    const Line* l = s ? findLine(*s, key) : nullptr;
    return (l ? l->value : defaultValue).left(MaxStringLength);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const Section* s = findSection(section);
    const Line* l = s ? findLine(*s, key) : nullptr;
    if (!l)
        return defaultValue;
    return tryStrToInt(l->value).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString sectionName = oneLine(trimBlanks(section));
    const QString keyName = oneLine(trimBlanks(key));
    const QString v = oneLine(value);
    Section* s = findSection(sectionName);
    if (!s) {
        // A blank line between sections keeps a file written from scratch easy to read.
        if (!m_sections.empty() || !m_preamble.empty()) {
            std::vector<Line>& before = m_sections.empty() ? m_preamble : m_sections.back().lines;
            if (before.empty() || !trimBlanks(before.back().text).isEmpty())
                before.push_back(Line{});
        }
        m_sections.push_back(
            Section{QLatin1Char('[') + sectionName + QLatin1Char(']'), sectionName, {}});
        s = &m_sections.back();
    }
    if (Line* l = findLine(*s, keyName)) {
        l->value = trimBlanks(v);
        l->text = l->key + QLatin1Char('=') + v;
        return;
    }
    // New keys go after the section's last non-blank line, so the blank line that separates
    // it from the next section stays at its end.
    auto pos = s->lines.end();
    while (pos != s->lines.begin() && trimBlanks((pos - 1)->text).isEmpty())
        --pos;
    s->lines.insert(pos, Line{keyName + QLatin1Char('=') + v, keyName, trimBlanks(v)});
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    return s && findLine(*s, key);
}

QStringList IniFile::sections() const {
    QStringList out;
    for (const Section& s : m_sections) {
        bool seen = false;
        for (const QString& n : out)
            seen = seen || sameName(n, s.name);
        if (!seen)
            out << s.name;
    }
    return out;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    const Section* s = findSection(section);
    if (!s)
        return out;
    for (const Line& l : s->lines) {
        if (l.key.isEmpty())
            continue;
        bool seen = false;
        for (const QString& k : out)
            seen = seen || sameName(k, l.key);
        if (!seen)
            out << l.key;
    }
    return out;
}

void IniFile::removeKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s)
        return;
    const QString k = trimBlanks(key);
    std::erase_if(s->lines, [&](const Line& l) { return !l.key.isEmpty() && sameName(l.key, k); });
}

void IniFile::removeSection(const QString& section) {
    const QString n = trimBlanks(section);
    std::erase_if(m_sections, [&](const Section& s) { return sameName(s.name, n); });
}

void IniFile::clear() {
    m_preamble.clear();
    m_sections.clear();
    m_readAsUtf8 = false;
}
