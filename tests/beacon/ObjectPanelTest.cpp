// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/ObjectPanel.h"
#include "beacon/Report.h"
#include "beacon/SymbolTable.h"
#include "support/Keys.h"
#include "support/ManualClock.h"
#include "support/SlotServices.h"
#include "support/TestDialogs.h"
#include "widgets/TSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One object's tab built from plain controls, without the main window around it: the panel
// needs nothing else.
struct Tab {
    explicit Tab(int index) {
        sheet = new QWidget;
        page.addTab(sheet, QStringLiteral("Object %1").arg(index + 1));
        c.page = &page;
        c.sheet = sheet;
        c.caption = new QLabel(sheet);
        c.identifier = new QLineEdit(sheet);
        c.identifier->setMaxLength(9);
        c.symbol = new QComboBox(sheet);
        c.symbol->addItems(Symbols::itemTexts(index + 1));
        c.symbol->setCurrentIndex(-1);
        c.latitude = new QLineEdit(sheet);
        c.longitude = new QLineEdit(sheet);
        c.header = new QLineEdit(sheet);
        c.comment = new QLineEdit(sheet);
        c.commentCaption = index == 0 ? new QLabel(sheet) : nullptr;
        c.useFile = new QCheckBox(sheet);
        c.send = new QPushButton(sheet);
        c.start = new QPushButton(sheet);
        c.stop = new QPushButton(sheet);
        c.del = new QPushButton(sheet);
        c.interval = new TSpinEdit(sheet);
        c.weather = index == 0 ? new QPushButton(sheet) : nullptr;
        ObjectSlotServices services = testSlotServices(markers, connected);
        services.utf8Text = [this] { return utf8; };
        slot = std::make_unique<ObjectSlot>(index, dialogs, clock, services);
        panel = std::make_unique<ObjectPanel>(c, *slot, dialogs,
                                              [] { return QStringLiteral("G4ABC-1"); });
        QObject::connect(
            slot.get(), &ObjectSlot::reportReady,
            [this](int, const QString& info, const QString& destination, const QString& name) {
                reports << destination + QLatin1Char(':') + info;
                names << name;
            });
        // The station repeats a kill; its first copy is the object's killed report as it
        // stands.
        QObject::connect(slot.get(), &ObjectSlot::killRequested,
                         [this](int, const BeaconObject& o) {
                             reports << QStringLiteral("APRS:") + Report::objectHeader(o);
                         });
        QObject::connect(panel.get(), &ObjectPanel::mapLabelText,
                         [this](int, const QString& text) { label = text; });
        slot->setTimeStamp("061523z");
    }
    void place() { panel->placeAt("5130.00N", "00045.00W", "51.30.00N", "000.45.00W"); }
    void choose(const QString& symbol) {
        const int i = c.symbol->findText(symbol);
        c.symbol->setCurrentIndex(i);
        emit c.symbol->activated(i);
    }
    void complete(const QString& name, const QString& symbol = "Home") {
        place();
        c.identifier->setText(name);
        choose(symbol);
    }

    QTabWidget page;
    QWidget* sheet;
    ObjectControls c;
    TestDialogs dialogs;
    ManualClock clock;
    CommentMarkers markers;
    bool connected = true;
    bool utf8 = false; // the station sends text as UTF-8
    std::unique_ptr<ObjectSlot> slot;
    std::unique_ptr<ObjectPanel> panel;
    QStringList reports;
    QStringList names;
    QString label;
};

// A comment that cannot go on the air is refused as it is typed or pasted, with a message,
// and the comment stays as it was; taking characters out is always possible.
TEST(ObjectPanel, CommentsRefuseWhatCannotGoOnTheAir) {
    Tab t(1);
    t.complete("TENT");
    t.c.comment->setText("Caf\u00e9");
    typeText(t.c.comment, "|");
    EXPECT_EQ(t.c.comment->text(), "Caf\u00e9");
    t.c.comment->setText("Caf\u00e9 \u65e5");
    EXPECT_EQ(t.c.comment->text(), "Caf\u00e9");
    EXPECT_EQ(t.panel->object().comment, "Caf\u00e9");
    ASSERT_EQ(t.dialogs.texts().size(), 2);
    EXPECT_TRUE(t.dialogs.texts()[1].contains("Send text as UTF-8"));

    t.utf8 = true;
    t.c.comment->setText("Caf\u00e9 \u65e5\u672c");
    EXPECT_EQ(t.panel->object().comment, "Caf\u00e9 \u65e5\u672c");
    t.c.comment->setText(QString(14, QChar(0x65e5))); // 42 bytes
    EXPECT_EQ(t.panel->object().comment, "Caf\u00e9 \u65e5\u672c");
    t.utf8 = false;
    t.c.comment->setText("Caf\u00e9 \u65e5");
    EXPECT_EQ(t.panel->object().comment, "Caf\u00e9 \u65e5");
    EXPECT_EQ(t.dialogs.texts().size(), 3);
}

TEST(ObjectPanel, NamesAndSymbolsWaitForAPlace) {
    Tab t(1);
    t.c.identifier->setText("TENT");
    t.choose("Car");
    EXPECT_EQ(t.dialogs.texts(), QStringList(2, "Select a location on the map first."));
    EXPECT_EQ(t.c.identifier->text(), "");
    EXPECT_EQ(t.panel->object().symbolNumber, 0);

    t.place();
    EXPECT_TRUE(t.panel->hasPosition());
    EXPECT_EQ(t.c.latitude->text(), "51.30.00N");
    t.c.identifier->setText("TENT");
    t.choose("Car");
    EXPECT_EQ(t.panel->object().nameField, ";TENT     *");
    EXPECT_EQ(t.page.tabText(0), "TENT");
    EXPECT_EQ(t.label, "TENT");
    EXPECT_EQ(t.c.header->text(), ";TENT     *061523z5130.00N/00045.00W>");
}

// The schedule itself is the slot's; the tab shows whether it runs and locks what must not
// change while it does.
TEST(ObjectPanel, TheTabFollowsItsSlotStartingAndStopping) {
    Tab t(2);
    t.connected = false;
    EXPECT_FALSE(t.panel->start(false));
    EXPECT_EQ(t.dialogs.texts(), QStringList{"Not connected to host."});
    EXPECT_TRUE(t.c.start->isVisibleTo(t.sheet));
    t.connected = true;
    t.complete("TENT");
    t.c.comment->setText("Open");
    t.c.interval->setValue(10);
    ASSERT_TRUE(t.panel->start(false));
    EXPECT_TRUE(t.panel->running());
    EXPECT_EQ(t.slot->object().interval, 10);
    EXPECT_FALSE(t.c.start->isVisibleTo(t.sheet));
    EXPECT_TRUE(t.c.stop->isVisibleTo(t.sheet));
    EXPECT_FALSE(t.c.del->isEnabled());
    ASSERT_EQ(t.reports.size(), 1);
    EXPECT_EQ(t.reports[0], "APRS:;TENT     *061523z5130.00N/00045.00W-Open");
    EXPECT_EQ(t.names, QStringList{"TENT"});
    t.c.stop->click();
    EXPECT_FALSE(t.slot->running());
    EXPECT_TRUE(t.c.start->isVisibleTo(t.sheet));
    EXPECT_TRUE(t.c.del->isEnabled());
}

TEST(ObjectPanel, ObjectOneAsWeatherStationReportsToTheWeatherDestination) {
    Tab t(0);
    t.place();
    t.choose("Weather Station");
    EXPECT_TRUE(t.panel->weatherMode());
    EXPECT_EQ(t.c.caption->text(), "Weather Data");
    EXPECT_EQ(t.c.commentCaption->text(), "Weather Data:");
    EXPECT_EQ(t.label, "G4ABC-1");
    EXPECT_FALSE(t.c.weather->isHidden());
    // No identifier of its own, and none is needed; the log names it by the station.
    t.c.identifier->setText("WX");
    EXPECT_EQ(t.c.identifier->text(), "");
    t.panel->send();
    ASSERT_EQ(t.reports.size(), 1);
    EXPECT_TRUE(t.reports[0].startsWith("APWX:/")) << t.reports[0].toStdString();
    EXPECT_EQ(t.names, QStringList{"G4ABC-1"});
    // Ticking the data-file box takes the readings from the file, so the dialog button rests;
    // emptied, the object is an object again and the button works.
    t.c.useFile->setEnabled(true);
    t.c.useFile->setChecked(true);
    EXPECT_FALSE(t.c.weather->isEnabled());
    t.panel->empty();
    EXPECT_FALSE(t.panel->weatherMode());
    EXPECT_EQ(t.c.caption->text(), "Object 1");
    EXPECT_TRUE(t.c.weather->isHidden());
    EXPECT_TRUE(t.c.weather->isEnabled());
    EXPECT_FALSE(t.panel->object().useCommentFile);
}

// The Delete button's questions, and what each answer leaves behind.
TEST(ObjectPanel, DeleteAsksAndSendsTheKilledReportOnlyWhenTold) {
    const struct {
        const char* name;
        bool connected;
        bool ok;                // answer to "Delete Object?" (asked without a link)
        Dialogs::Answer notify; // answer to "Notify other stations?" (asked with one)
        QStringList asked;
        QStringList reports;
        bool emptied;
    } rows[] = {
        {"offline, cancelled", false, false, Dialogs::Answer::Yes, {"Delete Object?"}, {}, false},
        {"offline, confirmed", false, true, Dialogs::Answer::Yes, {"Delete Object?"}, {}, true},
        {"online, cancelled",
         true,
         true,
         Dialogs::Answer::Cancel,
         {"Notify other stations?"},
         {},
         false},
        {"online, no notice",
         true,
         true,
         Dialogs::Answer::No,
         {"Notify other stations?"},
         {},
         true},
        {"online, notified",
         true,
         true,
         Dialogs::Answer::Yes,
         {"Notify other stations?"},
         {"APRS:;TENT     _061523z5130.00N/00045.00W-"},
         true},
    };
    for (const auto& row : rows) {
        Tab t(1);
        t.complete("TENT");
        t.c.comment->setText("Open all night");
        t.dialogs.okAnswers.enqueue(row.ok);
        t.dialogs.yesNoAnswers.enqueue(row.notify);
        t.panel->deleteClicked(row.connected);
        EXPECT_EQ(t.dialogs.texts(), row.asked) << row.name;
        EXPECT_EQ(t.reports, row.reports) << row.name;
        EXPECT_EQ(!t.panel->hasPosition(), row.emptied) << row.name;
        EXPECT_EQ(t.c.identifier->text().isEmpty(), row.emptied) << row.name;
        EXPECT_EQ(t.panel->object().comment.isEmpty(), row.emptied || !row.reports.isEmpty())
            << row.name;
    }
}

// A comment file ticked is read at every send, its "$" marker becoming the file's time; the
// box shows the marker again afterwards and the objects file keeps what the box shows.
TEST(ObjectPanel, CommentFileIsReadAtEverySendAndItsMarkerComesBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tent.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("06/03/26 14:30\r\n$ Open\r\n");
    file.close();
    Tab t(2);
    t.complete("TENT");
    t.slot->setCommentFile(path);
    t.panel->offerCommentFile();
    ASSERT_TRUE(t.c.useFile->isEnabled());
    t.c.useFile->click();
    EXPECT_EQ(t.c.comment->text(), "$ Open");
    t.panel->send();
    ASSERT_EQ(t.reports.size(), 1);
    EXPECT_TRUE(t.reports[0].endsWith("-1430 Open")) << t.reports[0].toStdString();
    EXPECT_EQ(t.c.comment->text(), "$ Open");
    EXPECT_EQ(t.panel->object().comment, "$ Open");
    // Unticked, the box is for typing again.
    t.c.useFile->click();
    EXPECT_EQ(t.c.comment->text(), "");
    t.panel->insertTimeMarker();
    EXPECT_EQ(t.panel->object().comment, "% ");
}

} // namespace
