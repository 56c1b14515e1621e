// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#pragma once

#include "app/MainWindowFixture.h"

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

    // Gives object k (0..2) a position as a click on the map does.
    void place(int k, const QString& latitude = QStringLiteral("5130.25N"),
               const QString& longitude = QStringLiteral("00007.50W")) {
        showTab(k);
        BeaconObject& o = m_form->m_objects[k];
        o.latitude = latitude;
        o.longitude = longitude;
        o.hasPosition = true;
        box("Latitude", k)->setText(latitude.left(2) + '.' + latitude.mid(2));
        box("Longitude", k)->setText(longitude.left(3) + '.' + longitude.mid(3));
        m_form->UpdateHeader(k + 1);
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
