// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "beacon/TfrmComment.h"
#include "links/LinkControl.h"
#include "map/MapView.h"
#include "station/Station.h"
#include "support/DecodeAprs.h"
#include "support/Direwolf.h"
#include "support/Keys.h"
#include "support/PacketEngine.h"
#include "support/Wait.h"
#include "widgets/HelpWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolButton>
#include <cstdio>

namespace {

// The main window on the sample map, connected to a packet engine on 127.0.0.1, at 19:05 local
// time (18:05 UTC) on 6 March.
class CommentsWindow : public ObjectsFixture {
protected:
    void SetUp() override {
        m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(18, 5), Qt::UTC));
        m_clock.setLocalOffset(3600);
        start();
        editStation(*m_form, [&](StationSettings& s) { s.MyCall = "G4ABC-1"; });
        m_form->stationCore().setDateFormat("hhMM");
        m_form->stationCore().setDateIndex(4);
    }
    void connectTo(const QString& port) {
        editLink(*m_form, [&](LinkSettings& s) { s.IPAddr = "127.0.0.1"; });
        editLink(*m_form, [&](LinkSettings& s) { s.TCPPort = port; });
        m_form->link()->setBusyInterval(1);
        m_form->btnConnect1Click();
        ASSERT_TRUE(waitUntil([&] { return m_form->link()->isConnected(); }));
    }
    QString writeComment(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QCheckBox* useFile(int k) const {
        return find<QCheckBox>((QByteArray("chkFile") + suffix(k)).constData());
    }
    // Sends object k now and returns the comment that went out.
    QString send(int k) {
        const qsizetype before = m_engine.frames.size();
        button("btnSend", k)->click();
        if (!m_engine.waitForFrames(before + 1))
            return QStringLiteral("(nothing sent)");
        waitUntil([&] { return !m_form->link()->isBusy(); });
        return QString::fromLatin1(m_engine.frames.last().info.mid(37));
    }
    // Runs `inside` once the modal window opened by `open` is showing, then goes on.
    void whileModal(const std::function<void()>& open,
                    const std::function<void(QWidget*)>& inside) {
        bool ran = false;
        QTimer::singleShot(0, m_form.get(), [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            inside(modal);
            ran = true;
            if (modal->isVisible())
                modal->close();
        });
        open();
        EXPECT_TRUE(ran);
    }
    template <class T> static T* in(QWidget* w, const char* name) {
        return w->findChild<T*>(QLatin1String(name));
    }

    PacketEngine m_engine;
};

TEST_F(CommentsWindow, MarkersBecomeTimesAtSendTimeAndComeBackAfterwards) {
    connectTo(m_engine.port());
    complete(0, "TENT");
    complete(1, "CAR");
    complete(2, "BUOY");

    // Typed: the current local time in the chosen format.
    box("Comment", 0)->setText("% Net at");
    EXPECT_EQ(send(0), "1905 Net at");
    EXPECT_EQ(box("Comment", 0)->text(), "% Net at");

    // From a file: the file's own date, read word first with month 01.
    const QString wordFirst = writeComment("word.txt", "Tue 06 07 14:30\r\n$ Tide low\r\n");
    m_form->panel(2)->slot().setCommentFile(wordFirst);
    m_form->stationCore().setDateFormat("dd/mm/yy hh:MM");
    box("Comment", 1)->setText("untouched");
    useFile(2)->setEnabled(true);
    useFile(2)->click();
    EXPECT_EQ(box("Comment", 2)->text(), "$ Tide low");
    EXPECT_EQ(send(2), "06/01/07 14:30 Tide low");
    // Object 3 read its own file and nobody else's.
    EXPECT_EQ(box("Comment", 1)->text(), "untouched");
    EXPECT_EQ(box("Comment", 2)->text(), "$ Tide low");

    // The file gone: the default comment with the current time.
    m_form->stationCore().setDateFormat("hhMM");
    QFile::remove(wordFirst);
    m_form->panel(2)->slot().setDefaultComment("% No data available");
    EXPECT_EQ(send(2), "1905 No data available");
    EXPECT_EQ(box("Comment", 2)->text(), "% No data available");

    // A file rewritten between sends: the newest line 2 goes out.
    writeComment("word.txt", "06/03/26 18:00\r\n$ first\r\n");
    EXPECT_EQ(send(2), "1800 first");
    const QString renamed = writeComment("new.txt", "06/03/26 18:30\r\n$ second\r\n");
    ASSERT_TRUE(::rename(QFile::encodeName(renamed).constData(),
                         QFile::encodeName(wordFirst).constData()) == 0);
    EXPECT_EQ(send(2), "1830 second");
    EXPECT_TRUE(m_dialogs.shown.isEmpty()) << m_dialogs.texts().join('|').toStdString();
}

TEST_F(CommentsWindow, TimeButtonMarksTheShownObjectsCommentOnce) {
    complete(1, "CAR");
    showTab(1);
    const struct {
        QString before;
        QString after;
    } rows[] = {{"Hello", "% Hello"},
                {"% Hello", "% Hello"},
                {QString(39, 'c'), "% " + QString(38, 'c')},
                {"", "% "}};
    for (const auto& row : rows) {
        box("Comment", 1)->setText(row.before);
        find<QToolButton>("btnTime")->click();
        EXPECT_EQ(box("Comment", 1)->text(), row.after) << row.before.toStdString();
        EXPECT_EQ(m_form->panel(1)->object().comment, row.after);
    }
    EXPECT_EQ(box("Comment", 0)->text(), "");
}

TEST_F(CommentsWindow, UseFileBoxesReadTheFileAndObjectOneKeepsItsWeatherDataFromIt) {
    const QString file = writeComment("wx.txt", "05/03/26 14:30\r\n090/005g012t068\r\n");
    place(0);
    chooseSymbol(0, "Weather Station");
    m_form->panel(0)->slot().setCommentFile(file);
    useFile(0)->setEnabled(true);

    useFile(0)->click();
    EXPECT_EQ(box("Comment", 0)->text(), "090/005g012t068");
    EXPECT_TRUE(box("Comment", 0)->isReadOnly());
    EXPECT_FALSE(find<QPushButton>("btnWx")->isEnabled());
    // The report carries the time the readings were taken.
    EXPECT_TRUE(m_form->panel(0)->object().header.startsWith("/051430/"))
        << m_form->panel(0)->object().header.toStdString();

    useFile(0)->click();
    EXPECT_EQ(box("Comment", 0)->text(), "");
    EXPECT_FALSE(box("Comment", 0)->isReadOnly());
    EXPECT_TRUE(find<QPushButton>("btnWx")->isEnabled());
    EXPECT_TRUE(m_form->panel(0)->object().header.startsWith("/061905/"));
}

TEST_F(CommentsWindow, CommentFilesDialogFromTheMenus) {
    complete(2, "BUOY");
    const QString file = writeComment("buoy.txt", "06/03/26 18:00\r\nCalm\r\n");
    showTab(2);
    EXPECT_FALSE(useFile(2)->isEnabled());
    whileModal([&] { find<QAction>("mnuCommentFiles")->trigger(); },
               [&](QWidget* dialog) {
                   auto* pages = in<QTabWidget>(dialog, "PageControl1");
                   EXPECT_EQ(pages->currentWidget()->objectName(), "Tab2");
                   EXPECT_EQ(pages->tabText(2), "BUOY");
                   EXPECT_EQ(pages->tabText(0), "[Object 1]");
                   EXPECT_EQ(dialog->pos(), m_form->pos() + QPoint(50, 80));
                   auto* defaults = in<QLineEdit>(dialog, "Default3");
                   defaults->clear();
                   defaults->setFocus();
                   typeText(defaults, "$ Buoy");
                   in<QLineEdit>(dialog, "Comm2")->setText(file);
                   in<QPushButton>(dialog, "btnOK")->click();
               });
    EXPECT_EQ(m_form->panel(2)->object().commentFile, file);
    EXPECT_EQ(m_form->panel(2)->object().defaultComment, "% Buoy");
    EXPECT_TRUE(useFile(2)->isEnabled());
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Comment file: buoy.txt");

    // The format page: Cancel keeps a format chosen there and nothing else.
    whileModal([&] { find<QAction>("DateTimeFormat1")->trigger(); },
               [&](QWidget* dialog) {
                   EXPECT_EQ(in<QTabWidget>(dialog, "PageControl1")->currentWidget()->objectName(),
                             "Tab3");
                   in<QComboBox>(dialog, "cmbDate")->setCurrentIndex(0);
                   EXPECT_EQ(in<QLabel>(dialog, "LabelDT")->text(), "06 19:05");
                   in<QLineEdit>(dialog, "Comm2")->clear();
                   in<QPushButton>(dialog, "btnCancel")->click();
               });
    EXPECT_EQ(m_form->dateFormat(), "dd hh:MM");
    EXPECT_EQ(m_form->dateIndex(), 0);
    EXPECT_EQ(m_form->panel(2)->object().commentFile, file);

    // A file that goes away leaves a ticked box ticked but disabled.
    useFile(2)->click();
    ASSERT_TRUE(useFile(2)->isChecked());
    QFile::remove(file);
    whileModal([&] { find<QAction>("mnuCommentFiles")->trigger(); },
               [&](QWidget* dialog) { in<QPushButton>(dialog, "btnOK")->click(); });
    EXPECT_FALSE(useFile(2)->isEnabled());
    EXPECT_TRUE(useFile(2)->isChecked());

    whileModal([&] { find<QAction>("mnuCHelp")->trigger(); },
               [&](QWidget* help) {
                   EXPECT_EQ(help->objectName(), "frmCHelp");
                   EXPECT_EQ(help->windowTitle(), "Comment File Help");
                   EXPECT_EQ(help->pos(), m_form->pos() + QPoint(150, 50));
                   auto* text = in<QPlainTextEdit>(help, "Memo1");
                   EXPECT_TRUE(text->isReadOnly());
                   EXPECT_EQ(text->palette().color(QPalette::Base), kHelpTextColour);
                   EXPECT_TRUE(text->toPlainText().contains("Skyvane.doc"));
               });
}

TEST_F(CommentsWindow, CommentFilesOfUnplacedObjectsSurviveTheObjectsFile) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(SKYVANE_SOURCE_DIR "/maps/strait-of-dover.jpg"),
                            path("dover.jpg")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SKYVANE_SOURCE_DIR "/maps/strait-of-dover.inf"),
                            path("dover.inf")));
    QFile obd(path("dover.obd"));
    ASSERT_TRUE(obd.open(QIODevice::WriteOnly));
    obd.write("[Object2]\r\nLatitude=\r\nCommentFile=/data/car.txt\r\nDefault=Parked\r\n");
    obd.close();
    m_dialogs.fileAnswers.enqueue(Dialogs::FileChoice{path("dover.jpg"), 1});
    m_form->btnLoadClick();
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded());
    EXPECT_EQ(m_form->panel(1)->object().commentFile, "/data/car.txt");
    ASSERT_TRUE(m_form->SaveMapIni());
    ASSERT_TRUE(obd.open(QIODevice::ReadOnly));
    const QByteArray saved = obd.readAll();
    EXPECT_TRUE(saved.contains("CommentFile=/data/car.txt") && saved.contains("Default=Parked"))
        << saved.toStdString();
}

TEST_F(CommentsWindow, BoxesAndToolbarButtonsAreNamedForScreenReaders) {
    const struct {
        const char* control;
        const char* name;
    } rows[] = {{"Identifier", "Identifier:"},
                {"Comment", "Beacon Comment:"},
                {"Comment2", "Beacon Comment:"},
                {"Latitude1", "Latitude:"},
                {"btnTime", "Include local time in comment"}};
    for (const auto& row : rows) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(find<QWidget>(row.control));
        ASSERT_NE(a, nullptr) << row.control;
        EXPECT_EQ(a->text(QAccessible::Name), row.name) << row.control;
    }
    // Lists and interval boxes are labelled by their labels.
    for (const char* control : {"cmbSymbol", "cmbSymbol2", "spinInterval1"}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(find<QWidget>(control));
        ASSERT_NE(a, nullptr) << control;
        EXPECT_EQ(a->relations(QAccessible::Label).size(), 1) << control;
    }
}

// A "$"-marked comment file report as an APRS receiver reads it.
TEST_F(CommentsWindow, FileDateReachesTheAirThroughDirewolf) {
    Direwolf direwolf;
    ASSERT_TRUE(direwolf.ready()) << direwolf.error().toStdString();
    editStation(*m_form, [&](StationSettings& s) { s.MyCall = "N0CALL-1"; });
    editStation(*m_form, [&](StationSettings& s) { s.Destination = "APRS"; });
    connectTo(QString::number(direwolf.agwPort()));
    complete(1, "CAMP");
    m_form->stationCore().setDateFormat("dd hh:MM");
    m_form->panel(1)->slot().setCommentFile(
        writeComment("camp.txt", "05/03/26 14:30\r\n$ Water point open\r\n"));
    useFile(1)->setEnabled(true);
    useFile(1)->click();
    button("btnSend", 1)->click();

    const QString info = m_form->panel(1)->object().header + "05 14:30 Water point open";
    const QString line = "N0CALL-1>APRS:" + info;
    ASSERT_TRUE(direwolf.waitForLog("[0L] " + line + "\n")) << direwolf.log().toStdString();
    const QStringList decoded = decodeAprs({line}, "N0CALL-1");
    ASSERT_EQ(decoded.size(), 1);
    EXPECT_TRUE(decoded[0].contains("CAMP")) << decoded[0].toStdString();
    EXPECT_TRUE(decoded[0].contains("05 14:30 Water point open")) << decoded[0].toStdString();
    EXPECT_EQ(box("Comment", 1)->text(), "$ Water point open");
}

} // namespace
