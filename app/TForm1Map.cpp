// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "beacon/SymbolTable.h"
#include "common/Clock.h"
#include "common/Cp1252.h"
#include "common/Dialogs.h"
#include "map/MapSymbols.h"
#include "map/ObjectEntry.h"
#include "map/ObjectsFile.h"
#include "map/PictureLoader.h"
#include "settings/IniFile.h"
#include "ui_TForm1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

Q_LOGGING_CATEGORY(lcMap, "skyvane.map")

namespace {

const QString PictureFilter = QStringLiteral(
    "All (*.gif;*.jpg;*.jpeg;*.bmp)|*.gif;*.jpg;*.jpeg;*.bmp|GIF Image (*.gif)|*.gif|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp");
const QString SampleMapName = QStringLiteral("strait-of-dover");

// The shipped sample maps: beside the program (CMake copies them there), beside the folder of
// the test programs, or where an installed copy keeps its data.
QString shippedMapsFolder() {
    const QString app = QCoreApplication::applicationDirPath();
    const QStringList candidates = {app + QStringLiteral("/maps"), app + QStringLiteral("/../maps"),
                                    app + QStringLiteral("/../share/skyvane/maps")};
    for (const QString& dir : candidates)
        if (QFileInfo::exists(dir + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg")))
            return QDir(dir).absolutePath();
    return {};
}

// The main window previews every key before the focused control sees it; the map image reports
// pointer movements and releases with their picture coordinates; object 2's position boxes answer
// clicks.
// One instance watches the whole application for keys, another the map image and the boxes.
class MapEventFilter : public QObject {
public:
    enum class Watch { Keys, Mouse };
    MapEventFilter(Watch watch, TForm1& form, QWidget* image, QWidget* latitude, QWidget* longitude)
        : QObject(&form), m_watch(watch), m_form(form), m_image(image), m_latitude(latitude),
          m_longitude(longitude) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_watch == Watch::Keys) {
            // A key the focused control does not use travels up to its parents; handling it
            // again on the way only repeats what has been done.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (m_forwarding || event->type() != QEvent::KeyPress || !widget ||
                widget->window() != &m_form)
                return false;
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // The focused control reacts to Enter first (an interval box beeps), then the
                // window moves the focus on as Tab would.
                m_forwarding = true;
                QCoreApplication::sendEvent(watched, event);
                m_forwarding = false;
            }
            return m_form.FormKeyPress(watched, key);
        }
        switch (event->type()) {
        case QEvent::MouseMove:
            if (watched == m_image) {
                const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
                m_form.ImageMouseMove(p.x(), p.y());
            }
            break;
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (watched == m_image) {
                const QPoint p = mouse->position().toPoint();
                // The place is taken where the button comes up, even when no movement was
                // reported on the way there (a tap, or a click right after a key).
                m_form.ImageMouseMove(p.x(), p.y());
                m_form.ImageMouseUp(mouse->button(), p.x(), p.y());
                return true;
            }
            if ((watched == m_latitude || watched == m_longitude) &&
                mouse->button() == Qt::LeftButton)
                m_form.LatLongClick();
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    Watch m_watch;
    bool m_forwarding = false;
    TForm1& m_form;
    QWidget* m_image;
    QWidget* m_latitude;
    QWidget* m_longitude;
};

} // namespace

void TForm1::setupMap() {
    m_symbols = new MapSymbols(ui->MapArea);
    ui->Image1->setProperty("Tag", 9);
    ui->Image1->setMouseTracking(true);
    ui->Image1->setCursor(Qt::ArrowCursor);
    auto* mouse = new MapEventFilter(MapEventFilter::Watch::Mouse, *this, ui->Image1, ui->Latitude1,
                                     ui->Longitude1);
    ui->Image1->installEventFilter(mouse);
    ui->Latitude1->installEventFilter(mouse);
    ui->Longitude1->installEventFilter(mouse);
    qApp->installEventFilter(
        new MapEventFilter(MapEventFilter::Watch::Keys, *this, nullptr, nullptr, nullptr));

    connect(ui->LoadMap1, &QAction::triggered, this, &TForm1::LoadMap1Click);
    connect(ui->btnLoad, &QToolButton::clicked, this, &TForm1::btnLoadClick);
    connect(m_symbols, &MapSymbols::pictureClicked, this, [this](int slot, SymbolPicture* p) {
        if (slot == 0)
            SymbolSelect(p);
        else if (slot == 1)
            SymbolSelect1(p);
        else
            SymbolSelect2(p);
    });
}

QString TForm1::sampleMapPath() const {
    const QString userMaps = QFileInfo(m_settingsPath).absolutePath() + QStringLiteral("/maps");
    const QString picture = userMaps + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg");
    if (QFileInfo::exists(picture))
        return picture;
    const QString shipped = shippedMapsFolder();
    if (shipped.isEmpty())
        return {};
    // A copy where the settings live, because the objects placed on it are written beside it
    // and an installed program's own folder cannot be written.
    if (!QDir().mkpath(userMaps))
        return shipped + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg");
    for (const char* extension : {".jpg", ".inf"})
        QFile::copy(shipped + QLatin1Char('/') + SampleMapName + QLatin1String(extension),
                    userMaps + QLatin1Char('/') + SampleMapName + QLatin1String(extension));
    return QFileInfo::exists(picture)
               ? picture
               : shipped + QLatin1Char('/') + SampleMapName + QStringLiteral(".jpg");
}

void TForm1::loadLastMap() {
    // No settings file yet: a first start. The sample map lets a new user place an object at once.
    if (m_mapPath.isEmpty() && !QFileInfo::exists(m_settingsPath))
        m_mapPath = sampleMapPath();
    if (m_mapPath.isEmpty())
        return;
    // A map on a drive not yet mounted, or moved away: say which, so the user knows why the
    // window is empty. The path stays remembered for the next start.
    if (!QFileInfo(m_mapPath).isFile()) {
        m_dialogs.error(QStringLiteral("Unable to find the map ") + m_mapPath);
        return;
    }
    if (!QFileInfo::exists(ObjectsFile::calibrationPathFor(m_mapPath))) {
        m_dialogs.error(QStringLiteral("Unable to locate the \".INF\" file for ") + m_mapPath);
        return;
    }
    LoadMap(this);
}

void TForm1::LoadMap1Click() {
    LoadMap(ui->LoadMap1);
}
void TForm1::btnLoadClick() {
    LoadMap(ui->btnLoad);
}

void TForm1::LoadMap(QObject* sender) {
    QString chosen = m_mapPath;
    if (sender != this) {
        Dialogs::FileRequest request;
        request.title = QStringLiteral("Load Map");
        request.filter = PictureFilter;
        request.filterIndex = 1;
        if (!m_mapPath.isEmpty())
            request.fileName = m_mapPath;
        else if (const QString sample = sampleMapPath(); !sample.isEmpty())
            request.fileName = QFileInfo(sample).absolutePath();
        const auto choice = m_dialogs.openFile(request);
        if (!choice)
            return;
        if (!SaveMapIni())
            return;
        if (!QFileInfo::exists(ObjectsFile::calibrationPathFor(choice->path))) {
            m_dialogs.error(QStringLiteral("Unable to locate the \".INF\" file for ") +
                            choice->path);
            return;
        }
        chosen = choice->path;
    }

    // The picture and its calibration are read before anything changes: a picture or a
    // calibration file that cannot be used leaves the current map, its objects and its path as
    // they were (at start-up: no map), and the program goes on.
    LoadedPicture picture = PictureLoader::load(chosen);
    if (!picture.ok()) {
        m_dialogs.error(picture.error);
        return;
    }
    if (!picture.warnings.isEmpty())
        qCInfo(lcMap) << chosen << "loaded despite:" << picture.warnings;
    MapCalibration calibration;
    try {
        calibration = readCalibrationFile(ObjectsFile::calibrationPathFor(chosen));
        applyPictureSize(calibration, picture.image.width(), picture.image.height(),
                         m_calibration.LongitudeSpan);
    } catch (const CalibrationError& e) {
        m_dialogs.error(e.message());
        return;
    }
    m_mapPath = chosen;

    // Beacons stop: their positions belonged to the map being left.
    for (ObjectPanel* p : m_panels)
        p->stop();
    m_symbols->picture(0, MapSymbols::Placeholder)->hide();

    const QSize size = picture.image.size();
    // The picture widget paints straight from the decoded rows, so a large map is held once.
    ui->Image1->setImage(std::move(picture.image));
    ui->Image1->setGeometry(QRect(QPoint(0, 0), size));
    ui->MapArea->resize(size);
    barPanel(2)->setText(QStringLiteral("   ") + calibration.MapTitle);
    if (ObjectPanel* shown = shownPanel())
        shown->empty();
    m_calibration = calibration;
    m_mapLoaded = true;
    ui->Image1->setCursor(Qt::PointingHandCursor);
    qCInfo(lcMap) << "map" << m_mapPath << size << "title" << m_calibration.MapTitle;

    m_objectsUnreadable = false;
    if (QFileInfo::exists(ObjectsFile::pathFor(m_mapPath)))
        ReadMapIni();
    ui->ScrollBox1->horizontalScrollBar()->setValue(m_mapScrollH);
    ui->ScrollBox1->verticalScrollBar()->setValue(m_mapScrollV);
    for (QWidget* tab : {ui->Tab, ui->Tab1, ui->Tab2})
        tab->setEnabled(true);
}

void TForm1::ReadMapIni() {
    const QString path = ObjectsFile::pathFor(m_mapPath);
    ObjectsFileData data;
    QString error;
    if (!ObjectsFile::load(path, data, error)) {
        m_objectsUnreadable = true;
        m_dialogs.error(error);
        return;
    }
    ui->ScrollBox1->horizontalScrollBar()->setValue(0);
    ui->ScrollBox1->verticalScrollBar()->setValue(0);
    // Comment files and defaults belong to the map's entries, placed or not, so that saving
    // the map writes them back.
    for (int slot = 0; slot < 3; ++slot) {
        const StoredObject& stored = data.objects[size_t(slot)];
        m_panels[slot]->setCommentFile(stored.CommentFile);
        m_panels[slot]->setDefaultComment(stored.Default);
        m_panels[slot]->offerCommentFile();
    }

    QStringList refused;
    for (int slot = 0; slot < 3; ++slot) {
        const StoredObject& stored = data.objects[size_t(slot)];
        ObjectPanel* p = m_panels[slot];
        const RestoredObject restored = restoreObject(stored, slot, p->object());
        if (restored.refused)
            refused << QStringLiteral("Object %1 (\"%2\", \"%3\")")
                           .arg(slot + 1)
                           .arg(stored.Latitude, stored.Longitude);
        if (restored.placed)
            p->restore(restored.object, latitudeDisplay(stored.Latitude),
                       longitudeDisplay(stored.Longitude));
        else
            p->adopt(restored.object);
    }
    if (ui->Page->currentIndex() == 0)
        EnterTab();
    else
        ui->Page->setCurrentIndex(0); // runs EnterTab
    m_mapScrollH = data.HP;
    m_mapScrollV = data.VP;
    ui->ScrollBox1->horizontalScrollBar()->setValue(data.HP);
    ui->ScrollBox1->verticalScrollBar()->setValue(data.VP);
    if (!refused.isEmpty())
        m_dialogs.error(QStringLiteral("The objects file %1 holds positions that are not valid: "
                                       "%2. Those objects were not restored.")
                            .arg(path, refused.join(QStringLiteral(", "))));
}

bool TForm1::SaveMapIni() {
    const int horizontal = ui->ScrollBox1->horizontalScrollBar()->value();
    const int vertical = ui->ScrollBox1->verticalScrollBar()->value();
    ui->ScrollBox1->horizontalScrollBar()->setValue(0);
    ui->ScrollBox1->verticalScrollBar()->setValue(0);
    // Without a map showing there is nothing of this map to keep, and writing would replace the
    // objects of a map that failed to load with empty ones.
    if (!m_mapLoaded || !QFileInfo(m_mapPath).isFile())
        return true;
    ObjectsFileData data;
    for (int slot = 0; slot < 3; ++slot) {
        BeaconObject o = m_panels[slot]->object();
        o.symbolAt = m_symbols->position(slot);
        data.objects[size_t(slot)] = storeObject(o);
    }
    data.VP = vertical;
    data.HP = horizontal;
    const QString path = ObjectsFile::pathFor(m_mapPath);
    QString error;
    QString keptAs;
    if (!ObjectsFile::save(path, data, error, m_objectsUnreadable, &keptAs)) {
        qCWarning(lcMap) << error;
        m_dialogs.error(QStringLiteral("Unable to write to %1").arg(path));
        return false;
    }
    m_objectsUnreadable = false;
    if (!keptAs.isEmpty())
        m_dialogs.information(IniFile::keptAsideMessage(path, keptAs));
    return true;
}

void TForm1::ImageMouseMove(int x, int y) {
    if (!m_mapLoaded) {
        ui->Image1->setCursor(Qt::ArrowCursor);
        return;
    }
    const bool picking = std::any_of(std::begin(m_panels), std::end(m_panels),
                                     [](const ObjectPanel* p) { return p->picking(); });
    ui->Image1->setCursor(picking ? Qt::CrossCursor : Qt::PointingHandCursor);
    m_pointer = positionAt(m_calibration, x, y);
    barPanel(1)->setText(m_pointer.readout);
}

void TForm1::ImageMouseUp(Qt::MouseButton button, int x, int y) {
    ui->Image1->setCursor(m_mapLoaded ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (!m_mapLoaded)
        return;
    if (button == Qt::RightButton) {
        for (int slot = 0; slot < 3; ++slot) {
            m_panels[slot]->setPicking(false);
            m_symbols->setCursor(slot, Qt::ArrowCursor);
        }
        return;
    }
    ObjectPanel* p = shownPanel();
    if (!p)
        return;
    const int slot = p->index();
    const bool noSymbol = p->controls().symbol->currentIndex() < 0;
    if (!p->picking() && !noSymbol)
        return;
    const QPoint topLeft = ui->Image1->pos() + QPoint(x - 8, y - 8);
    m_symbols->place(slot, topLeft);
    if (noSymbol)
        m_symbols->showOnly(slot, MapSymbols::Placeholder);
    m_symbols->setCursor(slot, Qt::ArrowCursor);
    p->placeAt(m_pointer.latitude, m_pointer.longitude, m_pointer.latitudeDisplay,
               m_pointer.longitudeDisplay);
}

void TForm1::SymbolSelect(QWidget* picture) {
    ui->wxpanel->setVisible(weatherMode());
    for (int slot = 0; slot < 3; ++slot)
        m_panels[slot]->setPicking(slot == 0);
    ui->Page->setCurrentIndex(0);
    if (picture)
        picture->setCursor(Qt::CrossCursor);
    ui->Image1->setCursor(Qt::CrossCursor);
}

void TForm1::SymbolSelect1(QWidget* picture) {
    ui->wxpanel->hide();
    for (int slot = 0; slot < 3; ++slot)
        m_panels[slot]->setPicking(slot == 1);
    ui->Page->setCurrentIndex(1);
    if (picture)
        picture->setCursor(Qt::CrossCursor);
    ui->Image1->setCursor(Qt::CrossCursor);
}

void TForm1::SymbolSelect2(QWidget* picture) {
    ui->wxpanel->hide();
    for (int slot = 0; slot < 3; ++slot)
        m_panels[slot]->setPicking(slot == 2);
    ui->Page->setCurrentIndex(2);
    if (picture)
        picture->setCursor(Qt::CrossCursor);
    ui->Image1->setCursor(Qt::CrossCursor);
}

void TForm1::LatLongClick() {
    m_dialogs.information(QStringLiteral("Click on the map to select a location."));
}

bool TForm1::FormKeyPress(QObject* receiver, QKeyEvent* event) {
    for (int slot = 0; slot < 3; ++slot) {
        m_panels[slot]->setPicking(false);
        m_symbols->setCursor(slot, Qt::ArrowCursor);
    }
    ui->Image1->setCursor(m_mapLoaded ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(receiver);
    if (!box || (box != ui->Identifier && box != ui->Identifier1 && box != ui->Identifier2) ||
        box->isReadOnly())
        return false;
    const QString text = event->text();
    const std::optional<QChar> capital =
        text.size() == 1 ? Cp1252::typedCapital(text[0]) : std::nullopt;
    if (!capital)
        return false;
    box->insert(QString(*capital));
    return true;
}

void TForm1::showObjectOnMap(int slot, const BeaconObject& o) {
    m_symbols->showLabel(slot, o.running);
    m_symbols->showOnly(slot, o.symbolNumber == 0 ? -1 : o.symbolNumber);
    if (slot == 0 && o.isWeatherStation())
        m_symbols->setLabelText(0, m_station.MyCall);
}

void TForm1::connectToMap(ObjectPanel* p) {
    connect(p, &ObjectPanel::mapSymbolPlaced, m_symbols, &MapSymbols::place);
    connect(p, &ObjectPanel::mapSymbolShown, this, &TForm1::showObjectOnMap);
    connect(p, &ObjectPanel::mapPlaceholderShown, m_symbols,
            [this](int slot) { m_symbols->showOnly(slot, MapSymbols::Placeholder); });
    connect(p, &ObjectPanel::mapSymbolHidden, m_symbols, [this](int slot) {
        m_symbols->showOnly(slot, -1);
        m_symbols->hideLabels(slot);
    });
    connect(p, &ObjectPanel::mapLabelText, m_symbols, &MapSymbols::setLabelText);
    connect(p, &ObjectPanel::mapLabelsShown, m_symbols, &MapSymbols::showLabel);
    connect(p, &ObjectPanel::mapLabelsHidden, m_symbols, &MapSymbols::hideLabels);
}
