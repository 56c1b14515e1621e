// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "weather/TfrmWx.h"

#include "support/Keys.h"
#include "support/ScopedLocale.h"
#include "support/TestDialogs.h"
#include "widgets/TForm14.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    // Empties every field, opens the dialog in the units and types the readings.
    void enter(bool metric, const QList<std::pair<const char*, const char*>>& readings) {
        dialog.hide();
        for (const char* f : kFields)
            find(f)->clear();
        open(metric);
        for (const auto& [field, keys] : readings)
            type(field, keys);
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
    EXPECT_EQ(dialog.pos(), owner.pos() + QPoint(10, 50));
    QStringList groups;
    for (auto* g : dialog.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{"Wind ", "Rain ", "Air "}));
    // Tab order, and each field named by its label.
    const char* names[] = {"Direction",   "Speed",          "Gusts (>5mins)",
                           "Last 24 hrs", "Since midnight", "Last Hour",
                           "Temperature", "Pressure",       "Humidity"};
    QWidget* w = find("Direction");
    for (int i = 0; i < 13; ++i) {
        if (i < 9) {
            EXPECT_EQ(w->objectName(), kFields[i]);
            EXPECT_EQ(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), names[i]);
        } else {
            EXPECT_EQ(w->objectName(),
                      (QStringList{"chkMetric", "btnOK", "btnCancel", "Button1"}[i - 9]));
        }
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(label("Label8"), "inches (0.00  to  9.99)");
    EXPECT_EQ(label("Label14"), QString::fromUtf8("\u00B0F"));
}

TEST_F(WeatherDialog, KeyFiltersAndLengthsFollowTheUnits) {
    struct Row {
        bool metric;
        const char* field;
        const char* keys;
        const char* shown;
    };
    const Row rows[] = {
        {false, "Direction", "a1-2.3", "123"},
        {false, "Temperature", "-5", "5"},
        {false, "Humidity", "5x55", "55"},
        {false, "Speed", "1.5", "15"},
        {true, "Temperature", "-5.5", "-5."},
        {true, "Speed", "1.50", "1.50"},
        {true, "Gust", "12345", "1234"},
        {true, "Humidity", "ab", "ab"},
        // Rain: digits and points; a first point becomes "0."; in English units one digit
        // before the point.
        {false, "Rain", ".", "0."},
        {false, "Rain24", ".5", "0.5"},
        {false, "RainM", "1.255", "1.25"},
        {false, "Rain", "125", "1"},
        {false, "Rain", "a-", ""},
        {true, "Rain", "12.5", "12.5"},
        {true, "Rain24", "-3", "3"},
        // Pressure: digits and points in both unit systems.
        {false, "Pressure", "1013.2x5", "1013.2"},
        {true, "Pressure", "-985", "985"},
    };
    for (const Row& r : rows) {
        enter(r.metric, {{r.field, r.keys}});
        EXPECT_EQ(text(r.field), r.shown) << r.field << " " << r.keys << " metric " << r.metric;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(WeatherDialog, KeysReplacingASelectionSeeTheFieldWithoutIt) {
    enter(false, {{"Rain", "5"}});
    QLineEdit* rain = find("Rain");
    rain->selectAll();
    typeText(rain, "7.");
    EXPECT_EQ(rain->text(), "7.");
    rain->selectAll();
    typeText(rain, ".");
    EXPECT_EQ(rain->text(), "0.");
    EXPECT_EQ(rain->cursorPosition(), 2);
    pressKey(rain, Qt::Key_Backspace, QStringLiteral("\b"));
    pressKey(rain, Qt::Key_Home);
    pressKey(rain, Qt::Key_Delete, QStringLiteral("\x7f"));
    EXPECT_EQ(rain->text(), "");
}

TEST_F(WeatherDialog, TogglingConvertsTheFieldsAndLabels) {
    enter(false, {{"Direction", "270"},
                  {"Speed", "25"},
                  {"RainM", "9.99"},
                  {"Rain", "0.05"},
                  {"Temperature", "0"},
                  {"Pressure", "1013.2"},
                  {"Humidity", "55"}});
    toggleMetric();
    const QStringList metric = {"270", "40.2", "", "", "254.2", "1.272", "-17.", "1013.2", "55"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(text(kFields[i]), metric[i]) << kFields[i];
    EXPECT_EQ((QStringList{label("Label4"), label("Label10"), label("Label8"), label("Label14")}),
              (QStringList{"km/h", "km/h", "mm  (0 to 250)", QString::fromUtf8("\u00B0C")}));

    // Back to English: the cuts and the clamp lose what they lose; a frost keeps its sign.
    type("Temperature", "-20");
    toggleMetric();
    const QStringList english = {"270", "24", "", "", "9.99", "0.05", "-4", "1013.2", "55"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(text(kFields[i]), english[i]) << kFields[i];
    EXPECT_EQ(label("Label8"), "inches (0.00  to  9.99)");
    EXPECT_EQ(label("Label14"), QString::fromUtf8("\u00B0F"));
    ok();
    EXPECT_EQ(dialog.values().data, "270/024t-04r005P999h55b10132w");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(WeatherDialog, ToggleStopsAtAFieldThatIsNotANumber) {
    enter(true, {{"Speed", "16.1"}, {"Gust", "1x"}, {"Rain", "10"}});
    toggleMetric();
    EXPECT_EQ(dialogs.texts(), QStringList{"'1x' is not a valid floating point value"});
    EXPECT_EQ(dialogs.shown.value(0).kind, "error");
    EXPECT_FALSE(find<QCheckBox>("chkMetric")->isChecked());
    EXPECT_EQ((QStringList{text("Speed"), text("Gust"), text("Rain"), label("Label4")}),
              (QStringList{"10", "1x", "10", "km/h"}));
}

TEST_F(WeatherDialog, OkBuildsTheWeatherStringOrRefusesAndWritesNothing) {
    struct Row {
        bool metric;
        QList<std::pair<const char*, const char*>> typed;
        const char* result;    // the string, or the message of the refusal
        const char* direction; // the direction field afterwards
    };
    const Row rows[] = {
        {false, {}, "---/---w", ""},
        {false,
         {{"Direction", "90"},
          {"Speed", "5"},
          {"Gust", "12"},
          {"Temperature", "68"},
          {"Rain", "0.05"},
          {"Humidity", "55"},
          {"Pressure", "1013.2"}},
         "090/005g012t068r005h55b10132w",
         "90"},
        {false, {{"Direction", "360"}, {"Humidity", "7"}}, "360/---h07w", "360"},
        {false,
         {{"Direction", "361"}, {"Rain24", "0.5"}, {"Humidity", "10"}, {"Pressure", "1013"}},
         "359/---p050h10b10130w",
         "359"},
        {true, {{"Temperature", "20"}, {"Speed", "10"}, {"RainM", "25.4"}}, "---/006t068P100w", ""},
        // Refused: the message, the dialog stays open, a direction correction stays.
        {true, {{"Direction", "9x"}}, "'9x' is not a valid integer value", "9x"},
        {true,
         {{"Direction", "361"}, {"Speed", "1.."}},
         "'1..' is not a valid floating point value",
         "359"},
        {false, {{"Pressure", "10.1."}}, "'10.1.' is not a valid floating point value", ""},
        {false, {{"Speed", "1000"}}, "Wind speed must be from 0 to 999 mph.", ""},
        {true, {{"Rain", "300"}}, "Rain in the last hour must be from 0 to 253.9 mm.", ""},
        {false, {{"Humidity", "0"}}, "Humidity must be from 1 to 100 %.", ""},
    };
    QString sent;
    for (const Row& r : rows) {
        dialogs.clear();
        enter(r.metric, r.typed);
        ok();
        const bool refused = !QString(r.result).endsWith('w');
        if (refused) {
            EXPECT_EQ(dialogs.texts(), QStringList{r.result});
            EXPECT_EQ(dialogs.shown.value(0).kind, "error");
        } else {
            sent = r.result;
            EXPECT_TRUE(dialogs.shown.isEmpty()) << r.result;
        }
        EXPECT_EQ(dialog.isVisible(), refused) << r.result;
        EXPECT_EQ(dialog.values().data, sent);
        EXPECT_EQ(text("Direction"), r.direction) << r.result;
    }
}

TEST_F(WeatherDialog, ReopeningKeepsTheBoxAndTheFields) {
    enter(false, {{"Speed", "10"}, {"Pressure", "985"}});
    toggleMetric();
    ok();
    ASSERT_TRUE(dialog.values().metric);
    const QString sent = dialog.values().data;
    open(dialog.values().metric);
    EXPECT_TRUE(find<QCheckBox>("chkMetric")->isChecked());
    EXPECT_EQ((QStringList{text("Speed"), text("Pressure"), label("Label4")}),
              (QStringList{"16.1", "985", "km/h"}));

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

TEST_F(WeatherDialog, NumbersIgnoreTheDesktopLanguage) {
    for (const char* name : TestLocales) {
        ScopedLocale locale(name);
        ASSERT_TRUE(locale.active()) << name;
        enter(false, {{"Speed", "25"}, {"Rain", "0.05"}, {"Pressure", "1013.2"}});
        toggleMetric();
        EXPECT_EQ((QStringList{text("Speed"), text("Rain")}), (QStringList{"40.2", "1.272"}))
            << name;
        ok();
        EXPECT_EQ(dialog.values().data, "---/024r005b10132w") << name;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.texts().join('|').toStdString();
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
