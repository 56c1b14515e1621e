// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "app/TForm1.h"

#include "beacon/SymbolTable.h"
#include "common/Clock.h"
#include "common/Cp1252.h"
#include "common/Dialogs.h"
#include "map/CalibrationSource.h"
#include "map/MapSymbols.h"
#include "map/MapView.h"
#include "map/MapZoom.h"
#include "map/ObjectEntry.h"
#include "map/ObjectsFile.h"
#include "map/PictureLoader.h"
#include "map/SampleMap.h"
#include "map/TfrmCalibrate.h"
#include "settings/IniFile.h"
#include "station/Station.h"
#include "ui_TForm1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <optional>

Q_LOGGING_CATEGORY(lcMap, "skyvane.map")

namespace {

// The main window previews every key before the focused control sees it; one instance watches
// the whole application.
class KeyPreview : public QObject {
public:
    explicit KeyPreview(TForm1& form) : QObject(&form), m_form(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
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

private:
    bool m_forwarding = false;
    TForm1& m_form;
};

// Object 2's position boxes answer a left click; the click still reaches the box.
class PositionBoxClick : public QObject {
public:
    explicit PositionBoxClick(TForm1& form) : QObject(&form), m_form(form) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_form.LatLongClick();
        return false;
    }

private:
    TForm1& m_form;
};

} // namespace

void TForm1::setupMap() {
    m_map = ui->ScrollBox1;
    auto* boxClick = new PositionBoxClick(*this);
    ui->Latitude1->installEventFilter(boxClick);
    ui->Longitude1->installEventFilter(boxClick);
    qApp->installEventFilter(new KeyPreview(*this));

    connect(ui->LoadMap1, &QAction::triggered, this, &TForm1::LoadMap1Click);
    connect(ui->btnLoad, &QToolButton::clicked, this, &TForm1::btnLoadClick);
    connect(ui->CalibrateMap1, &QAction::triggered, this, &TForm1::CalibrateMap1Click);
    // Ctrl++ is Ctrl+Shift+= on many keyboards; Ctrl+= is taken as meaning the same.
    ui->mnuZoomIn->setShortcuts(
        {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ui->mnuZoomOut->setShortcuts(QKeySequence::ZoomOut);
    ui->mnuActualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    ui->mnuView->insertSeparator(ui->mnuZoomIn);
    connect(ui->mnuZoomIn, &QAction::triggered, this, &TForm1::mnuZoomInClick);
    connect(ui->mnuZoomOut, &QAction::triggered, this, &TForm1::mnuZoomOutClick);
    connect(ui->mnuActualSize, &QAction::triggered, this, &TForm1::mnuActualSizeClick);
    connect(ui->mnuFitWindow, &QAction::triggered, this, &TForm1::mnuFitWindowClick);
    connect(m_map, &PictureView::zoomChanged, this, &TForm1::updateZoomActions);
    updateZoomActions();
    connect(m_map, &MapView::pointerMoved, this, &TForm1::ImageMouseMove);
    connect(m_map, &MapView::released, this, &TForm1::ImageMouseUp);
    connect(m_map, &MapView::readoutChanged, barPanel(1), &QLabel::setText);
    connect(m_map, &MapView::symbolClicked, this, [this](int slot, SymbolPicture* p) {
        if (slot == 0)
            SymbolSelect(p);
        else if (slot == 1)
            SymbolSelect1(p);
        else
            SymbolSelect2(p);
    });
}

void TForm1::loadLastMap() {
    // No settings file yet: a first start. The sample map lets a new user place an object at once.
    if (mapPath().isEmpty() && !QFileInfo::exists(m_settingsPath)) {
        m_station->setMapPath(sampleMapPath(m_settingsPath));
        m_firstStart = true;
    }
    const QString path = mapPath();
    if (path.isEmpty())
        return;
    // A map on a drive not yet mounted, or moved away: say which, so the user knows why the
    // window is empty. The path stays remembered for the next start.
    if (!QFileInfo(path).isFile()) {
        m_dialogs.error(QStringLiteral("Unable to find the map ") + path);
        return;
    }
    if (!findCalibration(path).found()) {
        m_dialogs.error(QStringLiteral("Unable to locate the \".INF\" file for ") + path);
        return;
    }
    LoadMap(this);
    m_firstStart = false;
}

void TForm1::LoadMap1Click() {
    LoadMap(ui->LoadMap1);
}
void TForm1::btnLoadClick() {
    LoadMap(ui->btnLoad);
}

std::optional<QString> TForm1::chooseMap(const QString& title, bool saveFirst) {
    Dialogs::FileRequest request;
    request.title = title;
    request.filter = PictureLoader::dialogFilter();
    request.filterIndex = 1;
    if (!mapPath().isEmpty())
        request.fileName = mapPath();
    else if (const QString sample = sampleMapPath(m_settingsPath); !sample.isEmpty())
        request.fileName = QFileInfo(sample).absolutePath();
    const auto choice = m_dialogs.openFile(request);
    if (!choice || (saveFirst && !SaveMapIni()))
        return std::nullopt;
    return choice->path;
}

// The picture and its calibration are read before anything changes: a picture or a calibration
// file that cannot be used leaves the current map, its objects and its path as they were (at
// start-up: no map), and the program goes on.
bool TForm1::readMap(const QString& path, std::optional<LoadedPicture> decoded,
                     LoadedPicture& picture, MapCalibration& calibration) {
    picture = decoded ? std::move(*decoded) : PictureLoader::load(path);
    if (!picture.ok()) {
        m_dialogs.error(picture.error);
        return false;
    }
    if (!picture.warnings.isEmpty())
        qCInfo(lcMap) << path << "loaded despite:" << picture.warnings;
    try {
        calibration =
            readMapCalibration(path, picture.fullSize, m_map->calibration().LongitudeSpan);
    } catch (const CalibrationError& e) {
        m_dialogs.error(e.message());
        return false;
    }
    return true;
}

void TForm1::LoadMap(QObject* sender) {
    QString chosen = mapPath();
    std::optional<LoadedPicture> decoded;
    if (sender != this) {
        const std::optional<QString> choice = chooseMap(QStringLiteral("Load Map"), true);
        if (!choice)
            return;
        chosen = *choice;
        // A picture nobody has calibrated yet can be, there and then.
        if (!findCalibration(chosen).found()) {
            if (!m_dialogs.yesNo(
                    QStringLiteral("Unable to locate the \".INF\" file for ") + chosen +
                    QStringLiteral("\n\nThere is no world file beside it either. Calibrate the "
                                   "picture now? You click two points on it whose positions you "
                                   "know.")))
                return;
            decoded = calibratePicture(chosen);
            if (!decoded)
                return;
        }
    }
    openMap(chosen, std::move(decoded));
}

void TForm1::openMap(const QString& chosen, std::optional<LoadedPicture> decoded) {
    LoadedPicture picture;
    MapCalibration calibration;
    if (!readMap(chosen, std::move(decoded), picture, calibration))
        return;
    m_station->setMapPath(chosen);
    // Beacons stop: their positions belonged to the map being left.
    for (ObjectPanel* p : m_panels)
        p->stop();
    m_map->symbols()->picture(0, MapSymbols::Placeholder)->hide();

    qCInfo(lcMap) << "map" << chosen << picture.fullSize << "held at 1 /" << picture.reduction
                  << "title" << calibration.MapTitle;
    m_map->showMap(std::move(picture.image), picture.fullSize, picture.reduction, calibration);
    m_station->setObjectsOpen(true);
    barPanel(2)->setText(QStringLiteral("   ") + calibration.MapTitle);
    if (ObjectPanel* shown = shownPanel())
        shown->empty();

    const bool hasObjects = QFileInfo::exists(m_station->objectsPath());
    if (hasObjects)
        ReadMapIni();
    showStoredView();
    // A new user's first look at the sample map is its middle, where the towns are, not the
    // empty corner.
    if (m_firstStart && !hasObjects)
        m_map->centreOn(QPoint(picture.fullSize.width() / 2, picture.fullSize.height() / 2));
    for (const ObjectPanel* p : m_panels)
        p->controls().sheet->setEnabled(true);
}

void TForm1::CalibrateMap1Click() {
    const std::optional<QString> choice = chooseMap(QStringLiteral("Calibrate Map"), false);
    if (!choice)
        return;
    const CalibrationSource existing = findCalibration(*choice);
    if (existing.found() &&
        !m_dialogs.yesNo(
            QStringLiteral("The picture %1 is already calibrated by %2. Calibrate it "
                           "again? The calibration file %3 is then written, and "
                           "used from then on.")
                .arg(*choice, existing.path, ObjectsFile::calibrationPathFor(*choice))))
        return;
    std::optional<LoadedPicture> decoded = calibratePicture(*choice);
    // The objects of the map showing are saved once another map is sure to replace it.
    if (!decoded || !SaveMapIni())
        return;
    openMap(*choice, std::move(decoded));
}

std::optional<LoadedPicture> TForm1::calibratePicture(const QString& path) {
    LoadedPicture picture = PictureLoader::load(path);
    if (!picture.ok()) {
        m_dialogs.error(picture.error);
        return std::nullopt;
    }
    if (!m_calibrateWindow) {
        m_calibrateWindow = new TfrmCalibrate(m_dialogs, this);
        m_calibrateWindow->resize(720, 600);
    }
    m_calibrateWindow->move(x() + 40, y() + 40);
    m_calibrateWindow->setPicture(ObjectsFile::calibrationPathFor(path), picture.image,
                                  picture.fullSize, picture.reduction,
                                  QFileInfo(path).completeBaseName());
    const bool written = m_calibrateWindow->exec() == QDialog::Accepted;
    // The dialog keeps its points for this picture, not a second hold on its pixels.
    m_calibrateWindow->setPicture(ObjectsFile::calibrationPathFor(path), QImage(), {}, 1,
                                  QString());
    if (!written)
        return std::nullopt;
    return picture;
}

void TForm1::showStoredView() {
    if (m_station->mapFitWindow())
        m_map->fitWindow();
    else
        m_map->setZoom(m_station->mapZoom().value_or(m_map->heldSize()), QPoint(0, 0));
    m_map->scrollTo(m_station->mapScroll());
    updateZoomActions();
}

void TForm1::updateZoomActions() {
    const bool loaded = m_map->loaded();
    const double zoom = m_map->zoom();
    ui->mnuZoomIn->setEnabled(loaded && zoom < MapZoom::Largest);
    ui->mnuZoomOut->setEnabled(loaded && zoom > MapZoom::Smallest);
    ui->mnuActualSize->setEnabled(loaded);
    ui->mnuFitWindow->setEnabled(loaded);
}

void TForm1::mnuZoomInClick() {
    m_map->zoomIn();
}
void TForm1::mnuZoomOutClick() {
    m_map->zoomOut();
}
void TForm1::mnuActualSizeClick() {
    m_map->setZoom(1);
}
void TForm1::mnuFitWindowClick() {
    m_map->fitWindow();
}

void TForm1::ReadMapIni() {
    m_map->scrollTo({0, 0});
    if (!m_station->readObjects())
        return;
    if (ui->Page->currentIndex() == 0)
        EnterTab();
    else
        ui->Page->setCurrentIndex(0); // runs EnterTab
    showStoredView();
}

void TForm1::showRestoredEntry(int slot, bool placed, bool adopted) {
    ObjectPanel* p = m_panels[slot];
    if (placed) {
        const BeaconObject& o = p->object();
        p->showRestored(latitudeDisplay(o.latitude), longitudeDisplay(o.longitude));
    } else if (adopted) {
        p->showAdopted();
    }
    p->offerCommentFile();
}

void TForm1::storeMapState() {
    for (int slot = 0; slot < 3; ++slot)
        m_station->slot(slot).setSymbolAt(m_map->symbols()->position(slot));
    if (m_map->loaded()) {
        m_station->setMapScroll(m_map->scrollPosition());
        m_station->setMapZoom(m_map->zoom(), m_map->fitting());
    }
    // Without a map showing there is nothing of this map to keep, and writing would replace the
    // objects of a map that failed to load with empty ones.
    m_station->setObjectsOpen(m_map->loaded() && QFileInfo(mapPath()).isFile());
}

bool TForm1::SaveMapIni() {
    storeMapState();
    m_map->scrollTo({0, 0});
    return m_station->saveObjects();
}

bool TForm1::anyPicking() const {
    return std::any_of(std::begin(m_panels), std::end(m_panels),
                       [](const ObjectPanel* p) { return p->picking(); });
}

void TForm1::ImageMouseMove(int x, int y) {
    m_map->track(x, y, anyPicking());
}

void TForm1::ImageMouseUp(Qt::MouseButton button, int x, int y) {
    m_map->showIdleCursor();
    if (!m_map->loaded())
        return;
    if (button == Qt::RightButton) {
        for (ObjectPanel* p : m_panels)
            p->setPicking(false);
        m_map->endPicking();
        return;
    }
    ObjectPanel* p = shownPanel();
    if (!p)
        return;
    const int slot = p->index();
    const bool noSymbol = p->controls().symbol->currentIndex() < 0;
    if (!p->picking() && !noSymbol)
        return;
    m_map->placeSymbolAt(slot, x, y);
    if (noSymbol)
        m_map->symbols()->showOnly(slot, MapSymbols::Placeholder);
    m_map->symbols()->setCursor(slot, Qt::ArrowCursor);
    const MapPosition& at = m_map->pointer();
    p->placeAt(at.latitude, at.longitude, at.latitudeDisplay, at.longitudeDisplay);
}

void TForm1::selectSymbol(int slot, QWidget* picture) {
    // Only object 1's tab can show the weather panel.
    ui->wxpanel->setVisible(slot == 0 && weatherMode());
    for (ObjectPanel* p : m_panels)
        p->setPicking(p->index() == slot);
    ui->Page->setCurrentIndex(slot);
    if (picture)
        picture->setCursor(Qt::CrossCursor);
    m_map->showPickingCursor();
}

void TForm1::SymbolSelect(QWidget* picture) {
    selectSymbol(0, picture);
}
void TForm1::SymbolSelect1(QWidget* picture) {
    selectSymbol(1, picture);
}
void TForm1::SymbolSelect2(QWidget* picture) {
    selectSymbol(2, picture);
}

void TForm1::LatLongClick() {
    m_dialogs.information(QStringLiteral("Click on the map to select a location."));
}

bool TForm1::FormKeyPress(QObject* receiver, QKeyEvent* event) {
    for (ObjectPanel* p : m_panels)
        p->setPicking(false);
    m_map->endPicking();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(receiver);
    const bool identifierBox =
        box && std::any_of(std::begin(m_panels), std::end(m_panels),
                           [box](const ObjectPanel* p) { return p->controls().identifier == box; });
    if (!identifierBox || box->isReadOnly())
        return false;
    const QString text = event->text();
    const std::optional<QChar> capital =
        text.size() == 1 ? Cp1252::typedCapital(text[0]) : std::nullopt;
    if (!capital)
        return false;
    box->insert(QString(*capital));
    return true;
}
