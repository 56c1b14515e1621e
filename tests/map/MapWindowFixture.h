// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "app/MainWindowFixture.h"
#include "map/MapSymbols.h"
#include "map/MapView.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

inline const QByteArray LondonInf =
    "51.30.00N, 000.45.00W\r\n51.10.00N, 000.05.00E\r\nLondon south\r\n";

// The main window started on a map of our own in a temporary folder.
class MapWindowFixture : public MainWindowFixture {
protected:
    // A picture with its calibration file; returns the picture's path.
    QString makeMap(const QString& name, int width, int height, const QByteArray& inf = LondonInf,
                    const char* format = "jpg") {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(200, 220, 240));
        const QString picture = path(name);
        EXPECT_TRUE(image.save(picture, format));
        if (!inf.isNull()) {
            QFile f(QFileInfo(picture).path() + "/" + QFileInfo(picture).completeBaseName() +
                    ".inf");
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(inf);
        }
        return picture;
    }
    TForm1& startOnMap(const QString& picture) {
        writeIni("[Object]\r\nMap=" + picture.toUtf8() + "\r\n");
        return start();
    }
    QString obd(const QString& picture) const {
        return QFileInfo(picture).path() + "/" + QFileInfo(picture).completeBaseName() + ".obd";
    }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    MapView& view() const { return *m_form->findChild<MapView*>(); }
    // The pointer on the screen pixel that shows the middle of full-size pixel `pixel`.
    void moveTo(QPoint pixel) {
        const QPoint at = view().areaPointOf(pixel);
        move(at.x(), at.y());
    }
    void releaseAt(QPoint pixel, Qt::MouseButton button = Qt::LeftButton) {
        const QPoint at = view().areaPointOf(pixel);
        release(at.x(), at.y(), button);
    }

    QWidget* image() const { return find<QWidget>("Image1"); }
    QAction* action(const char* name) const { return find<QAction>(name); }
    QString panel(int i) const { return m_form->barPanel(i)->text(); }
    void move(int x, int y) {
        QMouseEvent e(QEvent::MouseMove, QPointF(x, y), image()->mapToGlobal(QPointF(x, y)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(image(), &e);
    }
    void release(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        move(x, y);
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x, y),
                      image()->mapToGlobal(QPointF(x, y)), button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(image(), &e);
    }
    void clickPicture(QWidget* picture) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), picture->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &e);
    }
    void key(QWidget* target, int code, const QString& text = {}) {
        QKeyEvent e(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(target, &e);
    }
    void showPage(int slot) { find<QTabWidget>("Page")->setCurrentIndex(slot); }
    MapSymbols& symbols() const { return *m_form->findChild<MapView*>()->symbols(); }
    void chooseNextMap(const QString& picture) {
        m_dialogs.fileAnswers.enqueue(Dialogs::FileChoice{picture, 1});
    }
    QScrollBar* hbar() const { return find<QScrollArea>("ScrollBox1")->horizontalScrollBar(); }
    QScrollBar* vbar() const { return find<QScrollArea>("ScrollBox1")->verticalScrollBar(); }
};
