// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

// An INI file held in memory and read and written key by key, with the behaviour users of
// older Windows programs' settings files rely on: section and key names match without regard
// to case, a missing file, section or key gives the caller's default, writing a key creates
// its section or key where needed and leaves every other line (comments included) as it was.
// On disk the text is Windows-1252 with CRLF line ends; LF-only files read the same. A file
// holding text that Windows-1252 cannot write (a folder named in Cyrillic), or one that was
// read as UTF-8, is written as UTF-8 with a byte order mark instead, so nothing is lost.
class IniFile {
public:
    // Values longer than this are cut when read back, as the settings routines always did.
    static constexpr int MaxStringLength = 1023;

    IniFile() = default;

    // Reads the file at path. A file that does not exist is an empty INI file and not an
    // error. A file that exists but cannot be read leaves this object empty and returns false;
    // errorString() then names the path and the reason.
    bool load(const QString& path);
    // Writes the whole file through a temporary file in the same folder that replaces the old
    // file only once it is complete, so a failed save leaves the old file whole. On failure
    // returns false and errorString() names the path and the reason.
    bool save(const QString& path) const;
    QString errorString() const { return m_error; }

    // Loads the file at path to update it and write it back. A file that cannot be read, or
    // could not be read when it was loaded before (`unreadableBefore`), is first moved aside
    // (keepAside) so the write never replaces it; `keptAs` then names where it went. False,
    // with errorString(), when it could not be moved: the caller must not write then.
    bool loadForUpdate(const QString& path, bool unreadableBefore, QString* keptAs);
    // Renames the file (or whatever stands there) at path to
    // "<path>.unreadable-YYYYMMDD-HHMMSS" in local time, a number added when that is taken;
    // the new path, or empty when it could not be renamed.
    static QString keepAside(const QString& path, const QDateTime& now);
    // What the user is told, once, about a file kept aside.
    static QString keptAsideMessage(const QString& path, const QString& keptAs);

    void parse(const QByteArray& bytes);
    QByteArray toBytes() const;

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // Read as an integer: non-zero is true, a text that is not a number gives the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);

    bool hasSection(const QString& section) const;
    bool hasKey(const QString& section, const QString& key) const;
    // Names as spelt in the file, in file order.
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    void removeKey(const QString& section, const QString& key);
    void removeSection(const QString& section);
    void clear();

private:
    struct Line {
        QString text; // the line as it stands in the file, without its line end
        QString key;  // empty unless the line is "key=value"
        QString value;
    };
    struct Section {
        QString header; // the "[name]" line as written
        QString name;
        std::vector<Line> lines;
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    static Line* findLine(Section& section, const QString& key);
    static const Line* findLine(const Section& section, const QString& key);

    std::vector<Line> m_preamble; // lines before the first section, kept but never read
    std::vector<Section> m_sections;
    bool m_readAsUtf8 = false;
    mutable QString m_error;
};
