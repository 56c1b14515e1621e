// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/TfrmWx.h"

#include "support/Keys.h"
#include "support/TestDialogs.h"
#include "widgets/TForm14.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

// Failures show the texts, not their bytes.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const char* const kFields[] = {"Direction", "Speed",       "Gust",     "Rain24",  "RainM",
                               "Rain",      "Temperature", "Pressure", "Humidity"};

class WeatherDialog : public ::testing::Test {
protected:
    WeatherDialog() : dialog(dialogs, &owner) {
        owner.move(200, 120);
        owner.show();
        dialog.setHelpWindow(&help);
    }
    void open(bool metric) {
        WeatherEntry entry = dialog.values();
        entry.metric = metric;
        dialog.setValues(entry);
        dialog.show();
    }
    template <class T = QLineEdit> T* find(const char* name) {
        T* w = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QString text(const char* name) { return find<QLineEdit>(name)->text(); }
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    // Empties the field and types into it, key by key.
    void type(const char* name, const QString& keys) {
        QLineEdit* field = find(name);
        field->clear();
        field->setFocus();
        typeText(field, keys);
    }
    void toggleMetric() { find<QCheckBox>("chkMetric")->click(); }
    void ok() { find<QPushButton>("btnOK")->click(); }

    QWidget owner;
    TestDialogs dialogs;
    TForm14 help;
    TfrmWx dialog;
};

} // namespace

TEST_F(WeatherDialog, FormHasItsFieldsInOrderWithLabelsAsNames) {
    open(false);
    EXPECT_EQ(dialog.windowTitle(), "Weather Data");
    EXPECT_EQ(dialog.pos(), owner.pos() + QPoint(10, 50));
    QStringList groups;
    for (auto* g : dialog.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{"Wind ", "Rain ", "Air "}));

    const char* names[] = {"Direction",   "Speed",          "Gusts (>5mins)",
                           "Last 24 hrs", "Since midnight", "Last Hour",
                           "Temperature", "Pressure",       "Humidity"};
    // The tab order: each step goes to the next widget that takes the focus by Tab.
    auto next = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    QWidget* w = find("Direction");
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(w->objectName(), kFields[i]);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->text(QAccessible::Name), names[i]);
        w = next(w);
    }
    for (const char* name : {"chkMetric", "btnOK", "btnCancel", "Button1"}) {
        EXPECT_EQ(w->objectName(), name);
        w = next(w);
    }
    EXPECT_EQ(label("Label4"), "mph");
    EXPECT_EQ(label("Label10"), "mph");
    EXPECT_EQ(label("Label8"), "inches (0.00  to  9.99)");
    EXPECT_EQ(label("Label14"), QString::fromUtf8("\u00B0F"));
}

TEST_F(WeatherDialog, TypingStopsAtEachFieldsLength) {
    open(true);
    const int lengths[] = {3, 4, 4, 4, 4, 4, 3, 6, 2};
    for (int i = 0; i < 9; ++i) {
        type(kFields[i], "123456789");
        EXPECT_EQ(text(kFields[i]), QString("123456789").left(lengths[i])) << kFields[i];
    }
}

TEST_F(WeatherDialog, KeyFiltersFollowTheUnits) {
    struct Row {
        bool metric;
        const char* field;
        const char* keys;
        const char* shown;
    };
    const Row rows[] = {
        {false, "Direction", "a1-2.", "12"},
        {false, "Temperature", "-5", "5"},
        {false, "Humidity", "5x5", "55"},
        {false, "Speed", "1.5", "15"},
        {true, "Temperature", "-5", "-5"},
        {true, "Speed", "1.5", "1.5"},
        {true, "Humidity", "a", "a"},
        // Rain: digits and points; a first point becomes "0."; in English units one digit
        // before the point.
        {false, "Rain", ".", "0."},
        {false, "Rain24", ".5", "0.5"},
        {false, "RainM", "1.25", "1.25"},
        {false, "Rain", "125", "1"},
        {false, "Rain", "a-", ""},
        {true, "Rain", "12.5", "12.5"},
        {true, "RainM", ".25", "0.25"},
        {true, "Rain24", "-3", "3"},
        // Pressure: digits and points in both unit systems.
        {false, "Pressure", "1013.2x", "1013.2"},
        {true, "Pressure", "-985", "985"},
    };
    for (const Row& r : rows) {
        open(r.metric);
        type(r.field, r.keys);
        EXPECT_EQ(text(r.field), r.shown) << r.field << " " << r.keys << " metric " << r.metric;
        dialog.hide();
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(WeatherDialog, KeysReplacingASelectionSeeTheFieldWithoutIt) {
    open(false);
    QLineEdit* rain = find("Rain");
    type("Rain", "5");
    rain->selectAll();
    typeText(rain, "7");
    EXPECT_EQ(rain->text(), "7");
    type("Rain", "1.25");
    rain->selectAll();
    typeText(rain, ".");
    EXPECT_EQ(rain->text(), "0.");
    EXPECT_EQ(rain->cursorPosition(), 2);
    // Backspace and the editing keys are not filtered.
    pressKey(rain, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(rain->text(), "0");
    pressKey(rain, Qt::Key_Home);
    pressKey(rain, Qt::Key_Delete, QStringLiteral("\x7f"));
    EXPECT_EQ(rain->text(), "");
}

TEST_F(WeatherDialog, TogglingConvertsTheFieldsAndLabels) {
    open(false);
    type("Direction", "270");
    type("Speed", "25");
    type("Gust", "10");
    type("RainM", "9.99");
    type("Rain", "0.05");
    type("Temperature", "0");
    type("Pressure", "1013.2");
    type("Humidity", "55");
    toggleMetric();
    EXPECT_EQ(text("Speed"), "40.2");
    EXPECT_EQ(text("Gust"), "16.1");
    EXPECT_EQ(text("RainM"), "254.2");
    EXPECT_EQ(text("Rain"), "1.272");
    EXPECT_EQ(text("Rain24"), "");
    EXPECT_EQ(text("Temperature"), "-17.");
    EXPECT_EQ(label("Label4"), "km/h");
    EXPECT_EQ(label("Label10"), "km/h");
    EXPECT_EQ(label("Label8"), "mm  (0 to 250)");
    EXPECT_EQ(label("Label14"), QString::fromUtf8("\u00B0C"));

    type("Temperature", "37");
    toggleMetric();
    EXPECT_EQ(text("Speed"), "24");
    EXPECT_EQ(text("Gust"), "10");
    EXPECT_EQ(text("RainM"), "9.99");
    EXPECT_EQ(text("Rain"), "0.05");
    EXPECT_EQ(text("Temperature"), "98.5");
    EXPECT_EQ(label("Label8"), "inches (0.00  to  9.99)");
    EXPECT_EQ(label("Label14"), QString::fromUtf8("\u00B0F"));
    // Direction, pressure and humidity are the same in both systems.
    EXPECT_EQ(text("Direction"), "270");
    EXPECT_EQ(text("Pressure"), "1013.2");
    EXPECT_EQ(text("Humidity"), "55");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(WeatherDialog, AFrostToggledToEnglishKeepsItsSign) {
    open(true);
    type("Temperature", "-20");
    toggleMetric();
    EXPECT_EQ(text("Temperature"), "-4");
    ok();
    EXPECT_EQ(dialog.values().data, "---/---t-04w");
}

TEST_F(WeatherDialog, ToggleStopsAtAFieldThatIsNotANumber) {
    open(true);
    type("Speed", "16.1");
    type("Gust", "1x");
    type("Rain", "10");
    toggleMetric();
    EXPECT_EQ(dialogs.texts(), QStringList{"'1x' is not a valid floating point value"});
    EXPECT_EQ(dialogs.shown.value(0).kind, "error");
    EXPECT_FALSE(find<QCheckBox>("chkMetric")->isChecked());
    EXPECT_EQ(text("Speed"), "10");
    EXPECT_EQ(text("Gust"), "1x");
    EXPECT_EQ(text("Rain"), "10");
    EXPECT_EQ(label("Label4"), "km/h");
}

TEST_F(WeatherDialog, OkBuildsTheWeatherString) {
    struct Row {
        bool metric;
        QList<std::pair<const char*, const char*>> typed;
        const char* data;
    };
    const Row rows[] = {
        {false, {}, "---/---w"},
        {false,
         {{"Direction", "90"},
          {"Speed", "5"},
          {"Gust", "12"},
          {"Temperature", "68"},
          {"Rain", "0.05"},
          {"Humidity", "55"},
          {"Pressure", "1013.2"}},
         "090/005g012t068r005h55b10132w"},
        {false, {{"Direction", "5"}, {"Humidity", "7"}}, "005/---h07w"},
        {false,
         {{"Rain24", "0.5"}, {"Humidity", "0"}, {"Pressure", "1013"}},
         "---/---p050h00b10130w"},
        {true, {{"Temperature", "-20"}}, "---/---t-04w"},
        {true, {{"Temperature", "20"}, {"Speed", "10"}, {"RainM", "25.4"}}, "---/006t068P100w"},
    };
    for (const Row& r : rows) {
        open(r.metric);
        for (const char* f : kFields)
            find(f)->clear();
        for (const auto& [field, keys] : r.typed)
            type(field, keys);
        ok();
        EXPECT_FALSE(dialog.isVisible()) << r.data;
        EXPECT_EQ(dialog.values().data, r.data);
        EXPECT_EQ(dialog.values().metric, r.metric);
    }
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
}

TEST_F(WeatherDialog, OkCorrectsTheDirectionInPlace) {
    open(false);
    type("Direction", "360");
    ok();
    EXPECT_EQ(text("Direction"), "0");
    EXPECT_EQ(dialog.values().data, "000/---w");
    open(false);
    type("Direction", "361");
    ok();
    EXPECT_EQ(text("Direction"), "359");
    EXPECT_EQ(dialog.values().data, "359/---w");
}

TEST_F(WeatherDialog, OkRefusesWhatCannotBeSentAndWritesNothing) {
    open(false);
    type("Speed", "5");
    ok();
    const WeatherEntry before = dialog.values();
    ASSERT_EQ(before.data, "---/005w");
    struct Row {
        bool metric;
        const char* field;
        const char* keys;
        const char* message;
    };
    const Row rows[] = {
        {true, "Direction", "9x", "'9x' is not a valid integer value"},
        {true, "Speed", "1..", "'1..' is not a valid floating point value"},
        {false, "Pressure", "10.1.", "'10.1.' is not a valid floating point value"},
        {false, "Speed", "1000", "Wind speed must be from 0 to 999 mph."},
        {true, "Rain", "300", "Rain in the last hour must be from 0 to 253.9 mm."},
    };
    for (const Row& r : rows) {
        for (const char* f : kFields)
            find(f)->clear();
        dialogs.clear();
        open(r.metric);
        type("Direction", "361");
        if (QLatin1String(r.field) != QLatin1String("Direction"))
            type(r.field, r.keys);
        else
            type("Direction", r.keys);
        ok();
        EXPECT_EQ(dialogs.texts(), QStringList{r.message});
        EXPECT_EQ(dialogs.shown.value(0).kind, "error");
        EXPECT_TRUE(dialog.isVisible()) << r.message;
        EXPECT_EQ(dialog.values().data, before.data);
        EXPECT_EQ(dialog.values().metric, r.metric);
        // A direction correction made before the refused field stays.
        if (QLatin1String(r.field) != QLatin1String("Direction"))
            EXPECT_EQ(text("Direction"), "359") << r.message;
        dialog.hide();
    }
}

TEST_F(WeatherDialog, ReopeningKeepsTheBoxAndTheFields) {
    open(false);
    type("Speed", "10");
    type("Pressure", "985");
    toggleMetric();
    ok();
    ASSERT_TRUE(dialog.values().metric);
    const QString sent = dialog.values().data;
    open(dialog.values().metric);
    EXPECT_TRUE(find<QCheckBox>("chkMetric")->isChecked());
    EXPECT_EQ(text("Speed"), "16.1");
    EXPECT_EQ(text("Pressure"), "985");
    EXPECT_EQ(label("Label4"), "km/h");

    // Cancel leaves the last OK's string and setting as they were.
    toggleMetric();
    find<QPushButton>("btnCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.values().metric);
    EXPECT_EQ(dialog.values().data, sent);

    // Shown again with the stored setting metric, the box is ticked and the fields converted
    // before the dialog is seen.
    open(true);
    EXPECT_TRUE(find<QCheckBox>("chkMetric")->isChecked());
    EXPECT_EQ(text("Speed"), "16.1");
    EXPECT_EQ(label("Label14"), QString::fromUtf8("\u00B0C"));
}

TEST_F(WeatherDialog, HelpShowsTheWeatherHelpBesideTheDialog) {
    open(false);
    QString shownText;
    QPoint shownAt;
    QColor background;
    QTimer::singleShot(0, [&] {
        auto* memo = help.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        if (memo) {
            shownText = memo->toPlainText();
            background = memo->palette().color(QPalette::Base);
        }
        shownAt = help.pos();
        help.close();
    });
    find<QPushButton>("Button1")->click();
    EXPECT_EQ(help.windowTitle(), "Weather data ");
    EXPECT_EQ(shownAt, dialog.pos() + QPoint(30, 40));
    EXPECT_EQ(background, QColor(246, 244, 218));
    const QStringList lines = {"",
                               " If you prefer to use metric units, check the 'Use",
                               " metric units'  checkbox before you enter any data.",
                               QString(38, ' ') + "~~~~~",
                               " The APRS standard is to transmit the data using",
                               " English units so there may be some mathematical",
                               " inaccuracies when you use metric units.",
                               "",
                               " You may leave some boxes blank if you don't",
                               " want to send that data but you should, at least,",
                               " enter values for wind direction and speed. Don't",
                               " enter values of 0 unless you want to actually",
                               " transmit  a value of 0."};
    EXPECT_EQ(shownText.split('\n'), lines);
}
