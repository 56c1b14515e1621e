// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/ObjectsFixture.h"
#include "support/Keys.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QToolButton>

namespace {

using ObjectEditing = ObjectsFixture;

TEST_F(ObjectEditing, IdentifierBecomesNameFieldTabCaptionAndHeader) {
    start();
    m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(15, 23), Qt::UTC));
    m_form->ReadTime();
    place(1);
    chooseSymbol(1, "Car");
    // Typed in lower case, as an operator may.
    typeText(box("Identifier", 1), "abc");
    EXPECT_EQ(box("Identifier", 1)->text(), "ABC");
    const BeaconObject& o = m_form->panel(1)->object();
    EXPECT_EQ(o.identifier, "ABC");
    EXPECT_EQ(o.nameField, ";ABC      *");
    EXPECT_EQ(page()->tabText(1), "ABC");
    EXPECT_EQ(box("Header", 1)->text(), ";ABC      *061523z5115.00N/00015.00W>");
    EXPECT_EQ(o.header, box("Header", 1)->text());
    EXPECT_EQ(box("Header", 1)->cursorPosition(), 0); // the name is what shows
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    // The stopped label beside the symbol carries the name, 8 pixels a character.
    auto* label = find<QLabel>("IDPanel101");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "ABC");
    EXPECT_EQ(label->width(), 24);
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(find<QLabel>("IDPanel01")->isHidden());

    // Erasing the identifier leaves a header without a name; the tab keeps its number.
    name(1, "");
    EXPECT_EQ(page()->tabText(1), "Object 2");
    EXPECT_EQ(o.nameField, ";         *");
}

TEST_F(ObjectEditing, NothingIsNamedOrGivenASymbolBeforeItHasAPlace) {
    start();
    showTab(2);
    box("Identifier", 2)->setText("X");
    EXPECT_EQ(box("Identifier", 2)->text(), "");
    EXPECT_EQ(m_form->panel(2)->object().identifier, "");
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Select a location on the map first."});

    m_dialogs.clear();
    chooseSymbol(2, "Park");
    EXPECT_EQ(symbols(2)->currentIndex(), -1);
    EXPECT_EQ(m_form->panel(2)->object().symbolNumber, 0);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Select a location on the map first."});
    EXPECT_TRUE(box("Header", 2)->text().isEmpty());
}

TEST_F(ObjectEditing, SymbolTakesNumberTableAndCodeFromTheTable) {
    start();
    place(2);
    name(2, "PARK1");
    chooseSymbol(2, "Park");
    const BeaconObject& o = m_form->panel(2)->object();
    EXPECT_EQ(o.symbolNumber, 9);
    EXPECT_EQ(o.table, "\\");
    EXPECT_EQ(o.code, ";");
    EXPECT_TRUE(box("Header", 2)->text().endsWith("5115.00N\\00015.00W;"));
    chooseSymbol(2, "Phone");
    EXPECT_EQ(o.symbolNumber, 11);
    EXPECT_TRUE(box("Header", 2)->text().endsWith("5115.00N/00015.00W$"));
}

TEST_F(ObjectEditing, IdentifiersOfAllThreeObjectsMustDiffer) {
    start();
    complete(0, "AID1");
    complete(1, "AID2");
    complete(2, "AID3");
    m_dialogs.clear();

    // Object 2 given object 1's name: the box being left is emptied.
    name(1, "AID1");
    m_form->CheckID(1);
    EXPECT_EQ(box("Identifier", 1)->text(), "");
    EXPECT_EQ(box("Identifier", 0)->text(), "AID1");
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Identifiers must be different."});

    // Object 3 is compared too: one name on two objects would make them one on the air.
    m_dialogs.clear();
    name(2, "AID1");
    m_form->CheckID(2);
    EXPECT_EQ(box("Identifier", 2)->text(), "");
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Identifiers must be different."});

    // Object 1 given object 3's name, and object 2 given it too.
    m_dialogs.clear();
    name(2, "AID3");
    name(0, "AID3");
    m_form->CheckID(0);
    EXPECT_EQ(box("Identifier", 0)->text(), "");
    name(1, "AID3");
    m_form->CheckID(1);
    EXPECT_EQ(box("Identifier", 1)->text(), "");
    EXPECT_EQ(box("Identifier", 2)->text(), "AID3");
    EXPECT_EQ(m_dialogs.texts(), QStringList(2, QStringLiteral("Identifiers must be different.")));
    name(0, "AID1");

    // Different names pass, and empty boxes are never "the same".
    m_dialogs.clear();
    name(2, "AID3");
    m_form->CheckID(2);
    m_form->CheckID(1);
    EXPECT_EQ(box("Identifier", 2)->text(), "AID3");
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(ObjectEditing, LeavingTheIdentifierBoxRunsTheCheck) {
    start();
    complete(0, "SAME");
    place(1);
    box("Identifier", 1)->setText("SAME");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box("Identifier", 1), &out);
    EXPECT_EQ(box("Identifier", 1)->text(), "");
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Identifiers must be different."});
}

TEST_F(ObjectEditing, Object1SwitchesToWeatherModeAndBack) {
    start();
    editStation(*m_form, [&](StationSettings& s) { s.MyCall = "G4ABC-13"; });
    m_clock.setUtc(QDateTime(QDate(2026, 3, 6), QTime(15, 23), Qt::UTC));
    m_clock.setLocalOffset(3600);
    QFile weather(path("weather.txt"));
    ASSERT_TRUE(weather.open(QIODevice::WriteOnly));
    weather.write("06/03/26 16:20\r\nc000s000g000t054\r\n");
    weather.close();
    m_form->panel(0)->slot().setCommentFile(weather.fileName());
    complete(0, "CAMP", "Campground");
    ASSERT_EQ(page()->tabText(0), "CAMP");

    chooseSymbol(0, "Weather Station");
    EXPECT_TRUE(m_form->weatherMode());
    EXPECT_EQ(page()->tabText(0), "");
    EXPECT_FALSE(find<QPushButton>("btnWx")->isHidden());
    EXPECT_FALSE(find<QFrame>("wxpanel")->isHidden());
    EXPECT_FALSE(find<QToolButton>("btnTime")->isEnabled());
    EXPECT_EQ(find<QCheckBox>("chkFile")->text(), "Use wx data file");
    EXPECT_EQ(find<QLabel>("Label7")->text(), "Weather Data:");
    EXPECT_EQ(find<QLabel>("Panel7")->text(), "Weather Data");
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Wx data file: weather.txt");
    // The weather station is labelled with the station's callsign.
    EXPECT_EQ(find<QLabel>("IDPanel1")->text(), "G4ABC-13");
    EXPECT_EQ(find<QLabel>("IDPanel1")->width(), 64);
    EXPECT_FALSE(find<QLabel>("IDPanel1")->isHidden());
    // The weather header is a position report with the local time.
    EXPECT_EQ(box("Header", 0)->text(), "/061623/5115.00N/00015.00W_");
    EXPECT_FALSE(find<QLineEdit>("Comment")->isReadOnly());
    // The data file in use makes the weather data read-only.
    find<QCheckBox>("chkFile")->setEnabled(true);
    find<QCheckBox>("chkFile")->click();
    EXPECT_TRUE(find<QLineEdit>("Comment")->isReadOnly());
    find<QCheckBox>("chkFile")->click();

    chooseSymbol(0, "Car");
    EXPECT_FALSE(m_form->weatherMode());
    EXPECT_TRUE(find<QPushButton>("btnWx")->isHidden());
    EXPECT_TRUE(find<QFrame>("wxpanel")->isHidden());
    EXPECT_TRUE(find<QToolButton>("btnTime")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("Comment")->isReadOnly());
    EXPECT_EQ(find<QCheckBox>("chkFile")->text(), "Use comment file");
    EXPECT_EQ(find<QLabel>("Label7")->text(), "Beacon Comment:");
    EXPECT_EQ(find<QLabel>("Panel7")->text(), "Object 1");
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Comment file: weather.txt");
    EXPECT_EQ(page()->tabText(0), "CAMP");
    EXPECT_EQ(box("Header", 0)->text(), ";CAMP     *061523z5115.00N/00015.00W>");
    EXPECT_EQ(find<QLabel>("IDPanel1")->text(), "CAMP");

    // A weather station has no identifier: typing into the box leaves it empty.
    chooseSymbol(0, "Weather Station");
    name(0, "WX");
    EXPECT_EQ(box("Identifier", 0)->text(), "");
    EXPECT_EQ(m_form->panel(0)->object().identifier, "");
    EXPECT_EQ(box("Header", 0)->text(), "/061623/5115.00N/00015.00W_");
}

TEST_F(ObjectEditing, TabsShowTheirCommentFileAndLeavePickingMode) {
    start();
    m_form->panel(0)->slot().setCommentFile("/data/one.txt");
    m_form->panel(1)->slot().setCommentFile("/data/two.txt");
    m_form->panel(2)->slot().setCommentFile("");
    for (int k = 0; k < 3; ++k)
        m_form->panel(k)->setPicking(true);
    showTab(1);
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Comment file: two.txt");
    EXPECT_FALSE(m_form->panel(0)->picking());
    EXPECT_TRUE(m_form->panel(1)->picking());
    EXPECT_FALSE(m_form->panel(2)->picking());
    showTab(2);
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Comment file: ");
    EXPECT_FALSE(m_form->panel(1)->picking());
    showTab(0);
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Comment file: one.txt");
    EXPECT_TRUE(find<QFrame>("wxpanel")->isHidden());

    // With object 1 the weather station, its tab shows the weather panel; others do not.
    place(0);
    chooseSymbol(0, "Weather Station");
    showTab(1);
    EXPECT_TRUE(find<QFrame>("wxpanel")->isHidden());
    showTab(0);
    EXPECT_FALSE(find<QFrame>("wxpanel")->isHidden());
    EXPECT_EQ(m_form->barPanel(0)->text(), "  Wx data file: one.txt");
}

TEST_F(ObjectEditing, DeleteWithoutLinkAsksAndCancelChangesNothing) {
    start();
    complete(1, "TENT");
    box("Comment", 1)->setText("Open all night");
    m_dialogs.okAnswers.enqueue(false);
    button("btnDelete", 1)->click();
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Delete Object?"});
    EXPECT_EQ(box("Identifier", 1)->text(), "TENT");
    EXPECT_EQ(box("Comment", 1)->text(), "Open all night");
    EXPECT_TRUE(m_form->panel(1)->hasPosition());
    EXPECT_FALSE(box("Header", 1)->text().isEmpty());
}

TEST_F(ObjectEditing, DeleteWithoutLinkEmptiesTheObjectCompletely) {
    start();
    complete(2, "TENT", "Advisory");
    box("Comment", 2)->setText("Open all night");
    const BeaconObject& o = m_form->panel(2)->object();
    m_form->panel(2)->slot().setCommentFile("/data/tent.txt");
    find<QCheckBox>("chkFile2")->setEnabled(true);
    find<QCheckBox>("chkFile2")->setChecked(true);
    m_form->panel(0)->slot().setCommentFile("/data/keep.txt");

    m_dialogs.okAnswers.enqueue(true);
    button("btnDelete", 2)->click();
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Delete Object?"});
    for (const char* b : {"Identifier", "Latitude", "Longitude", "Header", "Comment"})
        EXPECT_EQ(box(b, 2)->text(), "") << b;
    EXPECT_EQ(symbols(2)->currentIndex(), -1);
    EXPECT_EQ(o.identifier, "");
    EXPECT_EQ(o.latitude, "");
    EXPECT_EQ(o.longitude, "");
    EXPECT_EQ(o.header, "");
    EXPECT_EQ(o.symbolNumber, 0);
    EXPECT_EQ(o.code, "");
    EXPECT_EQ(o.table, "\\"); // the table character is left
    for (const char* picture : {"Symbol2", "Advise2", "IDPanel02", "IDPanel102"})
        EXPECT_TRUE(find<QWidget>(picture)->isHidden()) << picture;
    EXPECT_FALSE(o.hasPosition);
    EXPECT_EQ(o.commentFile, "");
    EXPECT_FALSE(o.useCommentFile);
    EXPECT_FALSE(find<QCheckBox>("chkFile2")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkFile2")->isEnabled());
    EXPECT_EQ(m_form->panel(0)->object().commentFile, "/data/keep.txt");

    // The emptied object takes a new name only after a new place.
    m_dialogs.clear();
    name(2, "AGAIN");
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Select a location on the map first."});
}

TEST_F(ObjectEditing, DeletingTheWeatherStationAsksForItAndReturnsToObjectMode) {
    start();
    place(0);
    chooseSymbol(0, "Weather Station");
    m_dialogs.okAnswers.enqueue(true);
    showTab(0);
    find<QPushButton>("btnDelete")->click();
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Delete Weather Symbol?"});
    EXPECT_FALSE(m_form->weatherMode());
    EXPECT_TRUE(find<QPushButton>("btnWx")->isHidden());
    EXPECT_TRUE(find<QFrame>("wxpanel")->isHidden());
    EXPECT_EQ(find<QLabel>("Panel7")->text(), "Object 1");
    EXPECT_EQ(box("Header", 0)->text(), "");
}

TEST_F(ObjectEditing, DeleteCalledByMapLoadingEmptiesTheActiveObjectWithoutQuestions) {
    start();
    complete(1, "GONE");
    showTab(1);
    m_form->btnDeleteClick(m_form.get());
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
    EXPECT_EQ(box("Identifier", 1)->text(), "");
    EXPECT_FALSE(m_form->panel(1)->hasPosition());
}

} // namespace
