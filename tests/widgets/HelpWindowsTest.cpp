// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "support/TestDialogs.h"
#include "widgets/RtfReader.h"
#include "widgets/TForm4.h"
#include "widgets/TfrmAbout.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

const QString Guide = QStringLiteral(SKYVANE_SOURCE_DIR "/docs/skyvane.doc");

// The character format at the first occurrence of `text` in the document.
QTextCharFormat formatAt(const QTextDocument& doc, const QString& text) {
    QTextCursor found = doc.find(text);
    QTextCursor c(found.block());
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

TEST(RtfReader, TextFormatsAndSkippedGroups) {
    struct Row {
        const char* rtf;
        const char* text; // blocks joined by "|"
    };
    const Row rows[] = {
        {R"({\rtf1 one\par two\par})", "one|two|"},
        {R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red0\green0\blue0;}{\stylesheet{\s0 Normal;}})"
         R"({\info{\title T}}{\*\generator W;}body})",
         "body"},
        {R"({\rtf1 a\tab b\line c})", "a\tb\u2028c"},
        {R"({\rtf1 caf\'e9 \'80 \\ \{x\}})", "caf\u00e9 \u20ac \\ {x}"},
        {R"({\rtf1\uc1 \u8364?5 and \u-3 ?x})", "\u20ac5 and \ufffdx"},
        {R"({\rtf1 {\pict\pngblip 89504e47}after})", "after"},
        {"{\\rtf1 line\r\nend}", "lineend"},
        // Cut short or hostile files give what they hold, never a crash.
        {R"({\rtf1 cut\'4)", "cut"},
        {R"({\rtf1 {{{{{deep}}}}} \fs99999999999 big\)", "deep big"},
        {"", ""},
    };
    for (const Row& r : rows) {
        QTextDocument doc;
        readRtf(QByteArray(r.rtf), doc);
        QStringList blocks;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            blocks << b.text();
        EXPECT_EQ(blocks.join(QLatin1Char('|')), QString::fromUtf8(r.text)) << r.rtf;
    }

    QTextDocument doc;
    readRtf(R"({\rtf1 plain {\b bold {\i both}} \ul under\ulnone  {\fs40 big} \b on\b0 off})", doc);
    EXPECT_EQ(formatAt(doc, QStringLiteral("plain")).fontWeight(), QFont::Normal);
    EXPECT_EQ(formatAt(doc, QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, QStringLiteral("both")).fontItalic());
    EXPECT_EQ(formatAt(doc, QStringLiteral("both")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, QStringLiteral("under")).fontUnderline());
    EXPECT_DOUBLE_EQ(formatAt(doc, QStringLiteral("big")).fontPointSize(), 20.0);
    EXPECT_EQ(formatAt(doc, QStringLiteral("on")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(doc, QStringLiteral("off")).fontWeight(), QFont::Normal);
    EXPECT_FALSE(formatAt(doc, QStringLiteral("off")).fontItalic());
}

// The format of the paragraph whose whole text is `text`.
QTextCharFormat paragraphFormat(const QTextDocument& doc, const QString& text) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.text() == text) {
            QTextCursor c(b);
            c.movePosition(QTextCursor::NextCharacter);
            return c.charFormat();
        }
    ADD_FAILURE() << "no paragraph " << text.toStdString();
    return {};
}

QTextEdit* helpBox(TForm4& form) {
    return form.findChild<QTextEdit*>(QStringLiteral("Help"));
}

// The guide as the viewer shows it: its headings bold and larger than its paragraphs, and the
// same text printed to a PDF file.
TEST(HelpViewer, ShowsAndPrintsTheGuide) {
    TestDialogs dialogs;
    TForm4 form(dialogs, Guide);
    form.show();
    QTextDocument* doc = helpBox(form)->document();
    ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.first().text.toStdString();
    const QTextCharFormat heading = paragraphFormat(*doc, QStringLiteral("The links"));
    const QTextCharFormat body = formatAt(*doc, QStringLiteral("Only one link is in use"));
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    EXPECT_GT(heading.fontPointSize(), body.fontPointSize());
    EXPECT_EQ(body.fontWeight(), QFont::Normal);
    EXPECT_TRUE(helpBox(form)->isReadOnly());

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("guide.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    form.setPrinter(&printer);
    form.printAction()->trigger();
    EXPECT_EQ(printer.docName(), QStringLiteral("Skyvane"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const char* expected : {"Skyvane user guide", "Placing and naming objects",
                                 "The TNC terminal", "Troubleshooting"})
        EXPECT_TRUE(printed.contains(QLatin1String(expected))) << expected;
}

TEST(HelpViewer, StayOnTopPrintWithoutPrinterAndAMissingDocument) {
    TestDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("skyvane.doc"));
    QFile::copy(Guide, path);
    TForm4 form(dialogs, path);
    form.show();

    form.stayOnTopAction()->trigger();
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form.isVisible());
    form.stayOnTopAction()->trigger();
    EXPECT_FALSE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form.isVisible());

    if (QPrinterInfo::defaultPrinter().isNull()) {
        form.printAction()->trigger();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_TRUE(dialogs.shown.first().text.contains(QLatin1String("no printer")));
        dialogs.shown.clear();
    }

    // Reloaded at every showing: a document that has gone since is named in the message.
    form.hide();
    QFile::remove(path);
    form.show();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown.first().text.contains(path));
    EXPECT_TRUE(helpBox(form)->toPlainText().isEmpty());
}

TEST(AboutBox, ShowsTheProgramsPicture) {
    TfrmAbout about;
    const QLabel* picture = about.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull()) << "the picture's resource is not linked in";
    const QLabel* version = about.findChild<QLabel*>(QStringLiteral("Version"));
    EXPECT_TRUE(version->text().contains(QRegularExpression(
        QStringLiteral(R"(^Version \d+\.\d+\.\d+, released \d{4}-\d{2}-\d{2}$)"))))
        << version->text().toStdString();
}

// Every C++ string literal of the program's sources, adjacent literals joined.
QStringList programLiterals() {
    QStringList literals;
    const QStringList folders = {"app",      "beacon",  "common",  "links",  "map",
                                 "settings", "station", "weather", "widgets"};
    static const QRegularExpression literal(
        QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)"(\s*"((?:[^"\\\n]|\\.)*)")*)re"));
    for (const QString& folder : folders) {
        QDirIterator it(QStringLiteral(SKYVANE_SOURCE_DIR "/") + folder,
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            f.open(QIODevice::ReadOnly);
            const QString source = QString::fromUtf8(f.readAll());
            for (auto m = literal.globalMatch(source); m.hasNext();) {
                QString joined = m.next().captured(0);
                // "a" "b" -> ab; then the escapes a message can hold.
                joined.replace(QRegularExpression(QStringLiteral(R"("\s*")")), QString());
                joined = joined.mid(1, joined.size() - 2);
                joined.replace(QLatin1String("\\\""), QLatin1String("\""));
                joined.replace(QLatin1String("\\r\\n"), QLatin1String(" "));
                joined.replace(QLatin1String("\\n"), QLatin1String(" "));
                joined.replace(QLatin1String("\\\\"), QLatin1String("\\"));
                literals << joined;
            }
        }
    }
    return literals;
}

// The troubleshooting section quotes messages; each must be one the program can show, so the
// guide cannot drift from the code. A placeholder such as <file> stands for what the program
// fills in, so each text between placeholders must appear in one of the program's literals.
TEST(UserGuide, TroubleshootingQuotesOnlyRealMessages) {
    QTextDocument doc;
    QFile f(Guide);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    readRtf(f.readAll(), doc);
    const QString text = doc.toPlainText();
    const qsizetype start = text.lastIndexOf(QLatin1String("\nTroubleshooting\n"));
    ASSERT_GE(start, 0);
    const QString section = text.mid(start);
    const QStringList literals = programLiterals();
    ASSERT_GT(literals.size(), 100);

    static const QRegularExpression quoted(QStringLiteral("\u201C([^\u201D]+)\u201D|\"([^\"]+)\""));
    static const QRegularExpression placeholder(QStringLiteral("<[^>]+>"));
    int messages = 0;
    for (auto m = quoted.globalMatch(section); m.hasNext();) {
        const auto match = m.next();
        const QString message = match.captured(1) + match.captured(2);
        ++messages;
        for (QString fragment : message.split(placeholder)) {
            fragment = fragment.trimmed();
            if (fragment.size() < 3)
                continue;
            const bool known = std::any_of(literals.begin(), literals.end(),
                                           [&](const QString& l) { return l.contains(fragment); });
            EXPECT_TRUE(known) << "\"" << message.toStdString()
                               << "\": no message of the program holds \"" << fragment.toStdString()
                               << "\"";
        }
    }
    EXPECT_GT(messages, 20);
}

} // namespace
