// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
//
// The map picture on screen (offscreen platform), for bench/map-load:
//   window PICTURE  the real main window: time from Load Map to the picture painted, then a
//                   scroll across the whole map in small steps, milliseconds a frame
//   scroll PICTURE  a scroll area of the same size holding the picture once as a label with a
//                   pixmap and once as the map picture widget, scrolled alternately
// PICTURE needs its calibration file beside it for the window mode.
#include "app/TForm1.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "map/MapPicture.h"
#include "map/PictureLoader.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <clocale>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Answers the file dialog with the picture and every question with yes; messages end the run,
// since a bench that met one measured nothing.
class ProbeDialogs : public Dialogs {
public:
    explicit ProbeDialogs(QString picture) : m_picture(std::move(picture)) {}
    void information(const QString& text, const QString&) override { fail(text); }
    void error(const QString& text, const QString&) override { fail(text); }
    bool okCancel(const QString&) override { return true; }
    Answer yesNoCancel(const QString&) override { return Answer::Yes; }
    bool yesNo(const QString&) override { return false; }
    std::optional<FileChoice> openFile(const FileRequest&) override {
        return FileChoice{m_picture, 1};
    }
    void beep() override {}

private:
    [[noreturn]] static void fail(const QString& text) {
        std::fprintf(stderr, "message shown: %s\n", qPrintable(text));
        std::exit(1);
    }
    QString m_picture;
};

// Counts the paint events a widget has finished, so that a frame is known to be on screen.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            static_cast<QWidget*>(watched)->removeEventFilter(this);
            QCoreApplication::sendEvent(watched, event);
            watched->installEventFilter(this);
            ++count;
            return true;
        }
        return false;
    }
};

bool waitForPaint(PaintCounter& counter, int before) {
    QElapsedTimer limit;
    limit.start();
    while (counter.count == before && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return counter.count != before;
}

// Milliseconds a frame while scrolling across the whole picture, first sideways then down.
std::vector<double> scrollAcross(QScrollArea& area, PaintCounter& counter, int step) {
    std::vector<double> frames;
    QElapsedTimer timer;
    for (QScrollBar* bar : {area.horizontalScrollBar(), area.verticalScrollBar()}) {
        bar->setValue(0);
        QCoreApplication::processEvents();
        for (int v = step; v <= bar->maximum(); v += step) {
            const int before = counter.count;
            timer.start();
            bar->setValue(v);
            if (!waitForPaint(counter, before))
                break;
            frames.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    return frames;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

const QSize WindowSize(1280, 800);
constexpr int Step = 16;

int window(const QString& picture) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("skyvane.ini"));
    QFile file(settings);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write("[Station]\r\nMyCall=N0CALL-1\r\n");
    file.close();
    ProbeDialogs dialogs(picture);
    SystemClock clock;
    TForm1 form(dialogs, clock, settings);
    form.resize(WindowSize);
    form.show();
    QCoreApplication::processEvents();
    auto* image = form.findChild<QWidget*>(QStringLiteral("Image1"));
    auto* load = form.findChild<QAction*>(QStringLiteral("LoadMap1"));
    auto* area = form.findChild<QScrollArea*>(QStringLiteral("ScrollBox1"));
    if (!image || !load || !area) {
        std::fprintf(stderr, "the main window has no Image1, LoadMap1 or ScrollBox1\n");
        return 1;
    }
    PaintCounter counter(image);
    QElapsedTimer timer;
    timer.start();
    load->trigger();
    if (!waitForPaint(counter, counter.count)) {
        std::fprintf(stderr, "the map was never painted\n");
        return 1;
    }
    const double loadMs = timer.nsecsElapsed() / 1e6;
    const long rss = residentKiB();
    const std::vector<double> frames = scrollAcross(*area, counter, Step);
    // load-to-painted-ms resident-KiB frames median-frame-ms
    std::printf("%.1f %ld %zu %.2f\n", loadMs, rss, frames.size(), median(frames));
    return 0;
}

int scroll(const QString& path) {
    LoadedPicture forLabel = PictureLoader::load(path);
    LoadedPicture forWidget = PictureLoader::load(path);
    if (!forLabel.ok() || !forWidget.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(forLabel.error));
        return 1;
    }
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(std::move(forLabel.image)));
    label->resize(label->pixmap().size());
    auto* picture = new MapPicture;
    picture->setImage(std::move(forWidget.image));
    QScrollArea labelArea, pictureArea;
    labelArea.setWidget(label);
    pictureArea.setWidget(picture);
    PaintCounter labelPaints(label), picturePaints(picture);
    std::vector<double> labelFrames, pictureFrames;
    for (QScrollArea* area : {&labelArea, &pictureArea}) {
        area->resize(WindowSize);
        area->show();
    }
    QCoreApplication::processEvents();
    for (int round = 0; round < 3; ++round) {
        for (double ms : scrollAcross(labelArea, labelPaints, Step))
            labelFrames.push_back(ms);
        for (double ms : scrollAcross(pictureArea, picturePaints, Step))
            pictureFrames.push_back(ms);
    }
    // label-frames label-median-ms picture-frames picture-median-ms
    std::printf("%zu %.2f %zu %.2f\n", labelFrames.size(), median(labelFrames),
                pictureFrames.size(), median(pictureFrames));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s window|scroll picture\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Qt took the desktop's locale for the C library; bench/map-load reads these figures with
    // a full stop whatever the desktop language.
    std::setlocale(LC_NUMERIC, "C");
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString picture = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("window"))
        return window(picture);
    if (mode == QLatin1String("scroll"))
        return scroll(picture);
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
