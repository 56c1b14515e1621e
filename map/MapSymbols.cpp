// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "map/MapSymbols.h"

#include "map/MapZoom.h"

#include <QFontDatabase>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

static void initSymbolResources() {
    Q_INIT_RESOURCE(symbols);
}

namespace {

// Control names of the pictures by symbol index; objects 2 and 3 add "1" and "2".
const char* const PictureNames[13] = {"Symbol",    "Advise", "Aid",  "Camp",    "Car",
                                      "Emergency", "Home",   "Info", "NavBouy", "park",
                                      "parking",   "phone",  "wx"};
const char* const SymbolFiles[13] = {"placeholder", "advisory", "aid",    "camp",    "car",
                                     "emergency",   "home",     "info",   "navbuoy", "park",
                                     "parking",     "phone",    "weather"};
const char* const RunningNames[3] = {"IDPanel", "IDPanel01", "IDPanel02"};
const char* const StoppedNames[3] = {"IDPanel1", "IDPanel101", "IDPanel102"};

// Chosen when the first label gets a text, not when the labels are made: looking for a
// fixed-width face loads one, which a start with no object on the map has no use for.
const QFont& labelFont() {
    static const QFont chosen = [] {
        QFont font(QStringLiteral("Courier New"));
        font.setPointSize(8);
        // Where Courier New is not installed, another fixed-width face keeps 8 pixels a
        // character.
        font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
        if (!QFontInfo(font).fixedPitch()) {
            font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            font.setPointSize(8);
        }
        return font;
    }();
    return chosen;
}

QLabel* makeLabel(QWidget* parent, const char* name, bool running) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window,
                     running ? QColor(0x00, 0xff, 0xff) : QColor(0xc0, 0xc0, 0xc0));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    if (!running) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setLineWidth(1);
    }
    label->setFixedHeight(MapSymbols::LabelHeight);
    label->resize(0, MapSymbols::LabelHeight);
    label->hide();
    return label;
}

} // namespace

SymbolPicture::SymbolPicture(int slot, int index, QWidget* parent)
    : QLabel(parent), m_slot(slot), m_index(index) {}

void SymbolPicture::showEvent(QShowEvent* event) {
    if (pixmap().isNull())
        setPixmap(MapSymbols::symbolPixmap(m_index));
    QLabel::showEvent(event);
}

void SymbolPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked(this);
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

QPixmap MapSymbols::symbolPixmap(int index) {
    static QHash<int, QPixmap> cache;
    if (index < 0 || index > 12)
        return {};
    if (auto it = cache.constFind(index); it != cache.constEnd())
        return *it;
    initSymbolResources();
    const int side = index == Placeholder ? 21 : 20;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(
        QStringLiteral(":/symbols/%1.svg").arg(QLatin1String(SymbolFiles[index])));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    cache.insert(index, pixmap);
    return pixmap;
}

MapSymbols::MapSymbols(QWidget* mapArea) : QObject(mapArea) {
    for (int slot = 0; slot < 3; ++slot) {
        const QString suffix = slot == 0 ? QString() : QString::number(slot);
        for (int index = 0; index < pictureCount(slot); ++index) {
            auto* picture = new SymbolPicture(slot, index, mapArea);
            picture->setObjectName(QLatin1String(PictureNames[index]) + suffix);
            const int side = index == Placeholder ? 21 : 20;
            picture->setFixedSize(side, side);
            picture->setScaledContents(true);
            picture->hide();
            connect(picture, &SymbolPicture::clicked, this,
                    [this](SymbolPicture* p) { emit pictureClicked(p->slot(), p); });
            m_pictures[size_t(slot)][size_t(index)] = picture;
        }
        m_running[size_t(slot)] = makeLabel(mapArea, RunningNames[slot], true);
        m_stopped[size_t(slot)] = makeLabel(mapArea, StoppedNames[slot], false);
    }
}

SymbolPicture* MapSymbols::picture(int slot, int index) const {
    if (slot < 0 || slot > 2 || index < 0 || index >= pictureCount(slot))
        return nullptr;
    return m_pictures[size_t(slot)][size_t(index)];
}

void MapSymbols::place(int slot, QPoint topLeft) {
    m_positions[size_t(slot)] = topLeft;
    const QPoint hotspot(Hotspot, Hotspot);
    const QPoint onArea = MapZoom::screenAt(topLeft + hotspot, m_zoom) - hotspot;
    for (int index = 0; index < pictureCount(slot); ++index)
        picture(slot, index)->move(onArea);
    const QPoint labelAt = onArea + QPoint(LabelOffset, 0);
    m_running[size_t(slot)]->move(labelAt);
    m_stopped[size_t(slot)]->move(labelAt);
    if (slot == 0) {
        m_running[0]->raise();
        m_stopped[0]->raise();
    }
}

void MapSymbols::setZoom(double zoom) {
    m_zoom = zoom;
    for (int slot = 0; slot < 3; ++slot)
        place(slot, m_positions[size_t(slot)]);
}

void MapSymbols::showOnly(int slot, int index) {
    for (int i = 0; i < pictureCount(slot); ++i)
        picture(slot, i)->setVisible(i == index);
    if (SymbolPicture* shown = picture(slot, index))
        shown->raise();
}

void MapSymbols::setLabelText(int slot, const QString& text) {
    for (QLabel* label : {m_running[size_t(slot)], m_stopped[size_t(slot)]}) {
        if (!text.isEmpty())
            label->setFont(labelFont());
        label->setText(text);
        label->setFixedWidth(LabelCharWidth * int(text.size()));
    }
}

void MapSymbols::showLabel(int slot, bool running) {
    m_running[size_t(slot)]->setVisible(running);
    m_stopped[size_t(slot)]->setVisible(!running);
    if (slot == 0) {
        m_running[0]->raise();
        m_stopped[0]->raise();
    }
}

void MapSymbols::hideLabels(int slot) {
    m_running[size_t(slot)]->hide();
    m_stopped[size_t(slot)]->hide();
}

int MapSymbols::shownIndex(int slot) const {
    for (int i = 0; i < pictureCount(slot); ++i)
        if (!picture(slot, i)->isHidden())
            return i;
    return -1;
}

void MapSymbols::setCursor(int slot, Qt::CursorShape shape) {
    for (int i = 0; i < pictureCount(slot); ++i)
        picture(slot, i)->setCursor(shape);
}
