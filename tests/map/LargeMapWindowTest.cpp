// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapPicture.h"
#include "map/MapView.h"
#include "map/MapWindowFixture.h"
#include "support/BandedJpeg.h"

#include <QAction>

namespace {

class LargeMapWindow : public MapWindowFixture {};

// A chart of 24000 x 24000 pixels (576 million) is held at a quarter of its size, 6000 x 6000,
// and shown at that size; positions stay those of its full-size pixels, so picking is exact.
TEST_F(LargeMapWindow, A24000PixelJpegLoadsAtAQuarterAndPickingOnItIsExact) {
    const QString chart = path("chart.jpg");
    // Black from full-size column 8000 to 8015: held columns 2000 to 2003.
    ASSERT_TRUE(writeBandedJpeg(chart, 24000, 24000, 8000, 8016));
    // 0.01 minute of latitude and 0.015 of longitude a pixel.
    writeFile("chart.inf", "52.00.00N, 001.00.00W\r\n48.00.00N, 005.00.00E\r\nLarge chart\r\n");
    startOnMap(chart);
    ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
        << m_dialogs.texts().join("|").toStdString();
    const MapPicture* picture = view().picture();
    EXPECT_EQ(picture->fullSize(), QSize(24000, 24000));
    EXPECT_EQ(picture->reduction(), 4);
    EXPECT_EQ(picture->image().size(), QSize(6000, 6000));
    EXPECT_EQ(view().zoom(), 0.25);
    EXPECT_EQ(image()->size(), QSize(6000, 6000));
    EXPECT_DOUBLE_EQ(m_form->findChild<MapView*>()->calibration().LatitudePerPixel, 0.01);
    for (int x : {1999, 2004})
        EXPECT_NEAR(qGray(picture->image().pixel(x, 10)), 128, 2) << x;
    for (int x : {2000, 2003})
        EXPECT_LT(qGray(picture->image().pixel(x, 10)), 3) << x;
    const QImage shown = image()->grab(QRect(1996, 96, 12, 4)).toImage();
    EXPECT_NEAR(qGray(shown.pixel(3, 1)), 128, 2);
    EXPECT_LT(qGray(shown.pixel(4, 1)), 3);
    EXPECT_LT(qGray(shown.pixel(7, 1)), 3);
    EXPECT_NEAR(qGray(shown.pixel(8, 1)), 128, 2);

    moveTo({8000, 1200});
    EXPECT_EQ(panel(1), "  51.48.00N   001.00.00E");
    releaseAt({8000, 1200});
    EXPECT_EQ(m_form->panel(0)->object().latitude, "5148.00N");
    EXPECT_EQ(m_form->panel(0)->object().longitude, "00100.00E");

    // At actual size every full-size pixel can be picked.
    action("mnuActualSize")->trigger();
    EXPECT_EQ(image()->size(), QSize(24000, 24000));
    moveTo({8001, 401});
    EXPECT_EQ(panel(1), "  51.55.99N   001.00.01E");
}

} // namespace
