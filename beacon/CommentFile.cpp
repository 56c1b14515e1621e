// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/CommentFile.h"

#include "beacon/BeaconObject.h"
#include "beacon/Report.h"
#include "common/Cp1252.h"
#include "common/DateFormat.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcComment, "skyvane.comment")

namespace {

using namespace std::chrono_literals;

// A file changed less than this long ago may still be in its writer's hands.
constexpr auto Quiet = 250ms;
// The pause between two looks at a file that is being written.
constexpr auto Step = 20ms;
// A file that never holds still for this long is reported instead of blocking the window.
constexpr auto Patience = 2s;

// What identifies one version of a file: a rename puts another inode at the path, a rewrite
// in place changes the size or the modification time.
struct Version {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const Version&) const = default;
};

Version versionOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size,
            qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

qint64 nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

struct Look {
    enum class Kind { Whole, Torn, Missing, Refused } kind = Kind::Missing;
    Version version;
    QByteArray bytes;
    QString reason; // for Refused
};

QString systemError(int error) {
    return qt_error_string(error);
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// One read of the whole file, with the file's version taken before and after it and the path
// checked to still lead to the file that was read.
Look lookOnce(const QByteArray& path) {
    Look look;
    // Non-blocking, so that a pipe put where the file was cannot hold the open.
    const Fd fd(::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return look;
        look.kind = Look::Kind::Refused;
        look.reason = systemError(error);
        return look;
    }
    struct stat before {};
    if (::fstat(fd.get(), &before) != 0) {
        look.kind = Look::Kind::Refused;
        look.reason = systemError(errno);
        return look;
    }
    look.kind = Look::Kind::Refused;
    if (S_ISDIR(before.st_mode)) {
        look.reason = QStringLiteral("it is a folder.");
        return look;
    }
    // A pipe or a device would block the send until someone writes to it.
    if (!S_ISREG(before.st_mode)) {
        look.reason = QStringLiteral("it is not a regular file.");
        return look;
    }
    const QString tooLarge =
        QStringLiteral("it is larger than %1 KiB.").arg(MaxCommentFileSize / 1024);
    if (before.st_size > MaxCommentFileSize) {
        look.reason = tooLarge;
        return look;
    }
    // One byte more than allowed tells a file that grew during the read.
    look.bytes.resize(MaxCommentFileSize + 1);
    qsizetype total = 0;
    while (total < look.bytes.size()) {
        const ssize_t n =
            ::read(fd.get(), look.bytes.data() + total, size_t(look.bytes.size() - total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            look.reason = systemError(errno);
            look.bytes.clear();
            return look;
        }
        if (n == 0)
            break;
        total += n;
    }
    look.bytes.truncate(total);
    if (total > MaxCommentFileSize) {
        look.reason = tooLarge;
        look.bytes.clear();
        return look;
    }
    struct stat after {};
    struct stat atPath {};
    if (::fstat(fd.get(), &after) != 0) {
        look.reason = systemError(errno);
        return look;
    }
    look.version = versionOf(after);
    const bool pathSame = ::stat(path.constData(), &atPath) == 0 && atPath.st_dev == after.st_dev &&
                          atPath.st_ino == after.st_ino;
    const bool unchanged = versionOf(before) == look.version && total == after.st_size;
    look.kind = pathSame && unchanged ? Look::Kind::Whole : Look::Kind::Torn;
    return look;
}

QString cannotRead(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot read the comment file %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

int fullYear(int year, int digits, const QDateTime& now) {
    if (digits > 2)
        return year;
    const int current = now.date().year();
    int full = current - current % 100 + year;
    if (full > current + 50)
        full -= 100;
    else if (full <= current - 50)
        full += 100;
    return full;
}

} // namespace

CommentFileText commentFileLines(const QByteArray& bytes) {
    CommentFileText result;
    result.state = CommentFileText::State::Read;
    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    const bool utf8 = bytes.startsWith(utf8Bom);
    const auto decode = [utf8](const QByteArray& line) {
        return utf8 ? QString::fromUtf8(line) : Cp1252::toUnicode(line);
    };
    qsizetype start = utf8 ? utf8Bom.size() : 0;
    for (int line = 0; line < 2 && start < bytes.size(); ++line) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        (line == 0 ? result.line1 : result.line2) = decode(bytes.mid(start, end - start));
        if (line == 1)
            result.line2Ended = end < bytes.size();
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return result;
}

// Every send reads the whole file afresh and takes it only when one version of it was read
// whole: the file's inode, size and modification time are the same before and after the read,
// and its path still leads to that inode (a writer that renames a new file over the old one
// during the read is noticed). A file changed within the last moments may be one that its
// writer is still filling in place, so it is taken only once a second look finds it unchanged
// with line 2 ended by a line break, or once it has been left alone for a while.
CommentFileText readCommentFile(const QString& path) {
    CommentFileText result;
    if (path.isEmpty())
        return result;
    const QByteArray native = QFile::encodeName(path);
    const auto giveUp = std::chrono::steady_clock::now() + Patience;
    std::optional<Look> previous;
    for (;;) {
        Look look = lookOnce(native);
        if (look.kind == Look::Kind::Missing)
            return result;
        if (look.kind == Look::Kind::Refused) {
            result.state = CommentFileText::State::Unreadable;
            result.error = cannotRead(path, look.reason);
            qCWarning(lcComment) << "refused" << path << look.reason;
            return result;
        }
        const bool late = std::chrono::steady_clock::now() >= giveUp;
        if (look.kind == Look::Kind::Whole) {
            const CommentFileText text = commentFileLines(look.bytes);
            const qint64 age = nowNs() - look.version.modifiedNs;
            const bool again = previous && previous->kind == Look::Kind::Whole &&
                               previous->version == look.version && previous->bytes == look.bytes;
            // A modification time ahead of the clock cannot age; two equal looks must do.
            if (age >= std::chrono::nanoseconds(Quiet).count() ||
                (again && (text.line2Ended || age < 0 || late)))
                return text;
        }
        if (late) {
            result.state = CommentFileText::State::Unreadable;
            result.error = cannotRead(path, QStringLiteral("it keeps changing."));
            qCWarning(lcComment) << "never still" << path;
            return result;
        }
        previous = std::move(look);
        std::this_thread::sleep_for(Step);
    }
}

CommentFileText glanceAtCommentFile(const QString& path) {
    CommentFileText result;
    if (path.isEmpty())
        return result;
    const Look look = lookOnce(QFile::encodeName(path));
    switch (look.kind) {
    case Look::Kind::Missing:
        return result;
    case Look::Kind::Refused:
        result.state = CommentFileText::State::Unreadable;
        result.error = cannotRead(path, look.reason);
        return result;
    case Look::Kind::Whole:
        if (nowNs() - look.version.modifiedNs >= std::chrono::nanoseconds(Quiet).count())
            return commentFileLines(look.bytes);
        break;
    case Look::Kind::Torn:
        break;
    }
    result.state = CommentFileText::State::Busy;
    return result;
}

std::optional<QDateTime> commentFileDateTime(const QString& line1, const QDateTime& now) {
    if (line1.isEmpty())
        return std::nullopt;
    QString text = line1;
    if (!text[0].isDigit() || text[0].unicode() > '9') {
        const qsizetype blank = text.indexOf(QLatin1Char(' '));
        if (blank < 0)
            return std::nullopt;
        text = text.mid(blank + 1);
        text = text.left(2) + QStringLiteral("/01/") + text.mid(2);
    }
    // Day, month, optional year, optional time; blanks are allowed around the separators, as
    // the word-first form leaves one after the month.
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*([0-9]{1,2})\s*[/.\-]\s*([0-9]{1,2})(?:\s*[/.\-]\s*(?:([0-9]{4}|[0-9]{1,2})(?!\s*:))?)?)"
        R"((?:\s+([0-9]{1,2})\s*:\s*([0-9]{1,2})(?:\s*:\s*([0-9]{1,2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const QString yearText = m.captured(3);
    const int year = yearText.isEmpty() ? now.date().year()
                                        : fullYear(yearText.toInt(), int(yearText.size()), now);
    int hour = m.captured(4).isEmpty() ? 0 : m.captured(4).toInt();
    const int minute = m.captured(5).isEmpty() ? 0 : m.captured(5).toInt();
    const int second = m.captured(6).isEmpty() ? 0 : m.captured(6).toInt();
    const QString half = m.captured(7).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    if (now.timeSpec() == Qt::OffsetFromUTC)
        return QDateTime(date, time, Qt::OffsetFromUTC, now.offsetFromUtc());
    return QDateTime(date, time, now.timeSpec());
}

CommentFromFile commentFromFile(const CommentFileText& file, const QString& defaultComment,
                                const QDateTime& now, const QString& format, bool utf8) {
    CommentFromFile result;
    result.fileTime = now;
    if (file.state == CommentFileText::State::Read) {
        result.comment = Report::fitComment(file.line2, utf8);
        if (const auto when = commentFileDateTime(file.line1, now))
            result.fileTime = *when;
    } else {
        result.comment = defaultComment;
    }
    result.fileDateText = formatDateTime(format, result.fileTime);
    result.currentTimeText = formatDateTime(format, now);
    return result;
}

CommentFromFile applyCommentFile(BeaconObject& object, bool weatherStation,
                                 const CommentFileText& file, const QDateTime& nowUtc,
                                 const QDateTime& nowLocal, const QString& format, bool utf8,
                                 bool utcWeather) {
    object.timeStamp = Report::timeStamp(nowUtc);
    CommentFromFile read = commentFromFile(file, weatherStation ? QString() : object.defaultComment,
                                           nowLocal, format, utf8);
    if (weatherStation && file.state == CommentFileText::State::Read)
        read.comment = Report::fitWeatherData(file.line2);
    object.comment = read.comment;
    if (weatherStation) {
        object.header = Report::weatherHeader(read.fileTime, object.latitude, object.table,
                                              object.longitude, object.code, utcWeather);
        read.currentTimeText = formatDateTime(QStringLiteral("ddhhnn"), read.fileTime);
    } else {
        object.header = Report::objectHeader(object);
    }
    return read;
}
