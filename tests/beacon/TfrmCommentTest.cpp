// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "beacon/TfrmComment.h"
#include "support/Keys.h"
#include "support/ManualClock.h"
#include "support/TestDialogs.h"
#include "widgets/HelpWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class CommentDialog : public ::testing::Test {
protected:
    CommentDialog() : clock(QDateTime(QDate(2026, 3, 6), QTime(18, 5), Qt::UTC), 3600) {
        values.commentFiles = {"/data/one.txt", "/data/two.txt", ""};
        values.defaultComments = {"% No data available", "Two default", ""};
        values.dateFormat = "hhMM";
        values.dateIndex = 4;
    }
    void open(int page = 0, bool weather = false) {
        dialog.setValues(values, identifiers, weather, page);
        dialog.show();
    }
    template <class T> T* find(const char* name) {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
    QTabWidget* pages() { return find<QTabWidget>("PageControl1"); }
    QString caption(const char* page) {
        return pages()->tabText(pages()->indexOf(find<QWidget>(page)));
    }
    void click(const char* name) { find<QPushButton>(name)->click(); }

    TestDialogs dialogs;
    ManualClock clock;
    TfrmComment dialog{dialogs, clock};
    CommentSettings values;
    std::array<QString, 3> identifiers = {"TENT", "", "CAR"};
};

TEST_F(CommentDialog, ShowsThePageTheMainWindowAsksForWithTheStoredValues) {
    const struct {
        int tag;
        const char* page;
        bool help;
    } rows[] = {{0, "Tab", true}, {1, "Tab1", true}, {2, "Tab2", true}, {99, "Tab3", false}};
    for (const auto& row : rows) {
        open(row.tag);
        EXPECT_EQ(pages()->currentWidget(), find<QWidget>(row.page)) << row.tag;
        EXPECT_EQ(find<QPushButton>("btnHelp")->isEnabled(), row.help) << row.tag;
        dialog.hide();
    }
    open(0);
    EXPECT_EQ(caption("Tab"), "TENT");
    EXPECT_EQ(caption("Tab1"), "[Object 2]");
    EXPECT_EQ(caption("Tab2"), "CAR");
    EXPECT_EQ(caption("Tab3"), "Date/Time");
    EXPECT_EQ(box("Comm")->text(), "/data/one.txt");
    EXPECT_EQ(box("Comm1")->text(), "/data/two.txt");
    EXPECT_EQ(box("Default1")->text(), "% No data available");
    EXPECT_EQ(box("Default2")->text(), "Two default");
    EXPECT_EQ(box("Default3")->maxLength(), 40);
    EXPECT_EQ(find<QComboBox>("cmbDate")->currentIndex(), 4);
    EXPECT_EQ(find<QLabel>("LabelDT")->text(), "1905");
    EXPECT_EQ(find<QLabel>("Label1")->text(), "Comment File");
    EXPECT_TRUE(box("Default1")->isEnabled());
    // The help is about files, so it goes while the format page is shown.
    pages()->setCurrentWidget(find<QWidget>("Tab3"));
    EXPECT_FALSE(find<QPushButton>("btnHelp")->isEnabled());
    pages()->setCurrentWidget(find<QWidget>("Tab2"));
    EXPECT_TRUE(find<QPushButton>("btnHelp")->isEnabled());
    // Screen readers find every box by its label.
    const struct {
        const char* box;
        const char* name;
    } labels[] = {{"Comm", "Comment File"},
                  {"Comm1", "Comment File"},
                  {"Default2", "Default comment (if file is busy or not present):"}};
    for (const auto& l : labels) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(find<QWidget>(l.box));
        ASSERT_NE(a, nullptr) << l.box;
        EXPECT_EQ(a->text(QAccessible::Name), l.name) << l.box;
    }
    // A list is named by its current item and labelled by its label.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(find<QWidget>("cmbDate"));
    const auto labelled = list->relations(QAccessible::Label);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled[0].first->text(QAccessible::Name), "Date/Time format:");
}

TEST_F(CommentDialog, WeatherModeMakesPageOneTheDataFilesPage) {
    open(0, true);
    EXPECT_EQ(caption("Tab"), "Wx Data");
    EXPECT_EQ(find<QLabel>("Label1")->text(), "Wx data file:");
    EXPECT_FALSE(box("Default1")->isEnabled());
    EXPECT_FALSE(find<QLabel>("Label2")->isEnabled());
    EXPECT_EQ(box("Default1")->palette().color(QPalette::Base),
              box("Default1")->palette().color(QPalette::Button));
    dialog.hide();

    open(0, false);
    EXPECT_EQ(caption("Tab"), "TENT");
    EXPECT_EQ(find<QLabel>("Label1")->text(), "Comment File");
    EXPECT_TRUE(box("Default1")->isEnabled());
    EXPECT_TRUE(find<QLabel>("Label2")->isEnabled());
    dialog.hide();

    // A screen reader reads the label as it is now.
    open(0, true);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(box("Comm"))->text(QAccessible::Name),
              "Wx data file:");
}

TEST_F(CommentDialog, BrowseAsksPerPageAndACancelKeepsWhatWasTyped) {
    open(1);
    box("Comm1")->setText("/typed/by/hand.txt");
    click("btnBrowse1"); // cancelled
    EXPECT_EQ(box("Comm1")->text(), "/typed/by/hand.txt");
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests[0].title, "Select Object 2 Comment File...");
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "/typed/by/hand.txt");
    EXPECT_EQ(dialogs.fileRequests[0].filter,
              "Text File  (*.txt)|*.txt|Text File  (*.dat)|*.dat|All Files (*.*)|*.*");
    EXPECT_EQ(dialogs.fileRequests[0].defaultSuffix, "txt");

    dialogs.fileAnswers.enqueue(Dialogs::FileChoice{"/data/three.dat", 3});
    click("btnBrowse2");
    EXPECT_EQ(box("Comm2")->text(), "/data/three.dat");
    EXPECT_EQ(dialogs.fileRequests[1].title, "Select Object 3 Comment File...");
    // Pages 2 and 3 keep the filter last chosen; page 1 picks its own.
    click("btnBrowse1");
    EXPECT_EQ(dialogs.fileRequests[2].filterIndex, 3);
    click("btnBrowse");
    EXPECT_EQ(dialogs.fileRequests[3].title, "Select Object Comment File...");
    EXPECT_EQ(dialogs.fileRequests[3].filterIndex, 1);
    dialog.hide();

    open(0, true);
    click("btnBrowse");
    EXPECT_EQ(dialogs.fileRequests[4].title, "Wx data file..");
    EXPECT_EQ(dialogs.fileRequests[4].filterIndex, 2);
}

TEST_F(CommentDialog, TypingSurvivesARepaintAndIsRefilledOnlyOnTheNextShowing) {
    open(1);
    box("Comm1")->setText("/new/path.txt");
    dialog.repaint();
    QApplication::processEvents();
    EXPECT_EQ(box("Comm1")->text(), "/new/path.txt");
    click("btnCancel");
    open(1);
    EXPECT_EQ(box("Comm1")->text(), "/data/two.txt");
}

TEST_F(CommentDialog, ADollarIntoAnEmptyDefaultBecomesPercent) {
    open(2);
    box("Default3")->setFocus();
    typeText(box("Default3"), "$ Camp");
    EXPECT_EQ(box("Default3")->text(), "% Camp");
    // Each box looks at its own text: Default2 is not empty, Default3 was.
    typeText(box("Default2"), "$");
    EXPECT_EQ(box("Default2")->text(), "Two default$");
    box("Default1")->clear();
    typeText(box("Default1"), "$");
    EXPECT_EQ(box("Default1")->text(), "%");
}

TEST_F(CommentDialog, OkStoresTheBoxesCancelOnlyTheChosenFormat) {
    const struct {
        int index;
        const char* stored;
        const char* sample;
    } formats[] = {{0, "dd hh:MM", "06 19:05"},
                   {1, "dd hhMM", "06 1905"},
                   {2, "ddhhMM", "061905"},
                   {3, "hh:MM", "19:05"},
                   {4, "hhMM", "1905"}};
    for (const auto& f : formats) {
        open(99);
        find<QComboBox>("cmbDate")->setCurrentIndex(f.index);
        EXPECT_EQ(find<QLabel>("LabelDT")->text(), f.sample) << f.index;
        box("Comm2")->setText("/not/kept.txt");
        click("btnCancel");
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.values().dateFormat, f.stored) << f.index;
        EXPECT_EQ(dialog.values().dateIndex, f.index);
        EXPECT_EQ(dialog.values().commentFiles[2], "");
    }

    open(2);
    box("Comm2")->setText("/data/three.txt");
    box("Default3")->setText("Three");
    click("btnOK");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().commentFiles[0], "/data/one.txt");
    EXPECT_EQ(dialog.values().commentFiles[2], "/data/three.txt");
    EXPECT_EQ(dialog.values().defaultComments[2], "Three");
    EXPECT_EQ(dialog.values().defaultComments[1], "Two default");
}

// A default comment goes on the air when its file is missing: OK refuses one that a typed
// comment could not hold, on its own page, and keeps the dialog open.
TEST_F(CommentDialog, OkRefusesADefaultCommentThatCouldNotGoOnTheAir) {
    const struct {
        const char* text;
        bool utf8;
        bool refused;
    } rows[] = {{"Open 9|17", false, true},
                {"Caf\u00e9 \u2713", false, true},
                {"Caf\u00e9 \u2713", true, false},
                {"Caf\u00e9", false, false}};
    for (const auto& row : rows) {
        values.utf8Text = row.utf8;
        dialogs.shown.clear();
        open(0);
        box("Default2")->setText(QString::fromUtf8(row.text));
        click("btnOK");
        EXPECT_EQ(dialog.isVisible(), row.refused) << row.text;
        EXPECT_EQ(dialogs.texts().size(), row.refused ? 1 : 0) << row.text;
        if (row.refused) {
            EXPECT_TRUE(dialogs.texts()[0].startsWith("Default comment 2: "));
            EXPECT_EQ(pages()->currentWidget(), find<QWidget>("Tab1"));
            dialog.reject();
        } else {
            EXPECT_EQ(dialog.values().defaultComments[1], QString::fromUtf8(row.text));
        }
    }
}

TEST_F(CommentDialog, HelpOpensItsOwnHelpWindowBesideTheDialog) {
    open(0);
    dialog.move(200, 120);
    QWidget* shown = nullptr;
    QPoint at;
    QColor colour;
    QTimer::singleShot(0, &dialog, [&] {
        shown = QApplication::activeModalWidget();
        if (!shown)
            return;
        at = shown->pos();
        if (auto* text = shown->findChild<QPlainTextEdit*>("Memo1")) {
            colour = text->palette().color(QPalette::Base);
            EXPECT_TRUE(text->isReadOnly());
            EXPECT_TRUE(text->toPlainText().contains("40"));
        }
        shown->close();
    });
    click("btnHelp");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->objectName(), "frmCHelp1");
    EXPECT_EQ(shown->windowTitle(), "Comment File Help");
    EXPECT_EQ(at, dialog.pos() + QPoint(100, 50));
    EXPECT_EQ(colour, kHelpTextColour);
    EXPECT_EQ(colour, QColor(0xF6, 0xF4, 0xDA));
}

} // namespace
