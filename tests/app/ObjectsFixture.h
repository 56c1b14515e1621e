// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "app/MainWindowFixture.h"
#include "map/MapView.h"
#include "support/SampleMap.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

// The main window with helpers that edit its objects as a user would.
class ObjectsFixture : public MainWindowFixture {
protected:
    QTabWidget* page() const { return find<QTabWidget>("Page"); }

    QLineEdit* box(const char* base, int k) const {
        return find<QLineEdit>((QByteArray(base) + suffix(k)).constData());
    }
    QPushButton* button(const char* base, int k) const {
        return find<QPushButton>((QByteArray(base) + suffix(k)).constData());
    }
    QComboBox* symbols(int k) const {
        return find<QComboBox>((QByteArray("cmbSymbol") + suffix(k)).constData());
    }
    static const char* suffix(int k) { return k == 0 ? "" : k == 1 ? "1" : "2"; }

    void showTab(int k) { page()->setCurrentIndex(k); }

    // The sample map, copied into the test's folder so its objects file lands there.
    void loadSampleMap() {
        const QString picture = SampleMap::copyTo(m_dir.path());
        ASSERT_FALSE(picture.isEmpty());
        m_dialogs.fileAnswers.enqueue(Dialogs::FileChoice{picture, 1});
        m_form->btnLoadClick();
        ASSERT_TRUE(m_form->findChild<MapView*>()->loaded())
            << m_dialogs.texts().join('|').toStdString();
        m_dialogs.clear();
    }

    // Places object k (0..2) with a click on the sample map.
    void place(int k, QPoint pixel = SampleMap::Spots[0].pixel) {
        if (!m_form->findChild<MapView*>()->loaded())
            loadSampleMap();
        showTab(k);
        m_form->ImageMouseMove(pixel.x(), pixel.y());
        m_form->ImageMouseUp(Qt::LeftButton, pixel.x(), pixel.y());
        ASSERT_TRUE(m_form->panel(k)->hasPosition());
    }
    // Chooses a symbol by its item text as the user does from the list.
    void chooseSymbol(int k, const QString& item) {
        showTab(k);
        QComboBox* list = symbols(k);
        const int i = list->findText(item);
        ASSERT_GE(i, 0) << item.toStdString();
        list->setCurrentIndex(i);
        emit list->activated(i);
    }
    void name(int k, const QString& identifier) {
        showTab(k);
        box("Identifier", k)->setText(identifier);
    }
    // Placed, named and given a symbol.
    void complete(int k, const QString& identifier, const QString& symbol = QStringLiteral("Car")) {
        place(k);
        chooseSymbol(k, symbol);
        name(k, identifier);
    }
};
