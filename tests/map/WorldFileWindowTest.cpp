// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapView.h"
#include "map/MapWindowFixture.h"

#include <QToolButton>

namespace {

class WorldFileWindow : public MapWindowFixture {};

// An exported PNG with its world file: 1/256 of a degree a pixel, the top-left pixel's
// middle at 51.5N 0.5W.
const QByteArray ChartPgw = "0.00390625\r\n0\r\n0\r\n-0.00390625\r\n-0.5\r\n51.5\r\n";

// Clicks on given pixels of a PNG calibrated by its world file place the object at the
// positions the world file gives those pixels.
TEST_F(WorldFileWindow, ClicksOnAPngGiveThePositionsItsWorldFileSays) {
    const QString chart = makeMap("chart.png", 400, 300, QByteArray(), "png");
    writeFile("chart.pgw", ChartPgw);
    startOnMap(chart);
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join("|").toStdString();
    EXPECT_EQ(panel(2), "   chart.png");
    EXPECT_EQ(image()->size(), QSize(400, 300));
    const struct {
        QPoint pixel;
        const char* latitude;
        const char* longitude;
    } clicks[] = {
        {{0, 0}, "5130.00N", "00030.00W"},     {{128, 64}, "5115.00N", "00000.00W"},
        {{256, 128}, "5100.00N", "00030.00E"}, {{320, 200}, "5043.12N", "00045.00E"},
        {{399, 299}, "5019.92N", "00103.51E"},
    };
    showPage(2);
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << c.pixel.x() << "," << c.pixel.y());
        releaseAt(c.pixel);
        EXPECT_EQ(m_form->panel(2)->object().latitude, c.latitude);
        EXPECT_EQ(m_form->panel(2)->object().longitude, c.longitude);
    }
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();
}

TEST_F(WorldFileWindow, ARotatedWorldFileIsRefusedWithItsMessageAndNothingChanges) {
    const QString london = makeMap("london.jpg", 400, 320);
    const QString survey = makeMap("survey.tif", 200, 100, QByteArray(), "tiff");
    writeFile("survey.tfw", "0.001\r\n0.0005\r\n0.0005\r\n-0.001\r\n10.0\r\n50.0\r\n");
    startOnMap(london);
    chooseNextMap(survey);
    find<QToolButton>("btnLoad")->click();
    ASSERT_EQ(m_dialogs.texts().size(), 1);
    EXPECT_EQ(m_dialogs.texts()[0],
              "The world file " + path("survey.tfw") +
                  " cannot be used: it describes a rotated picture (rotation terms 0.0005 and "
                  "0.0005); only pictures with north up and rotation terms of 0 can be used.");
    EXPECT_EQ(m_form->mapPath(), london);
    EXPECT_EQ(image()->size(), QSize(400, 320));

    // With a calibration file beside it as well, the calibration file is used.
    writeFile("survey.inf", "50.00.00N, 010.00.00E\r\n49.00.00N, 012.00.00E\r\nSurvey\r\n");
    m_dialogs.clear();
    chooseNextMap(survey);
    find<QToolButton>("btnLoad")->click();
    EXPECT_TRUE(m_dialogs.texts().isEmpty()) << m_dialogs.texts().join("|").toStdString();
    EXPECT_EQ(m_form->mapPath(), survey);
    EXPECT_EQ(panel(2), "   Survey");
}

} // namespace
