// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Skyvane developers
#include "widgets/LazyIconStyle.h"

#include <QIconEngine>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

namespace {

// Stands for an icon that is only made when something needs its pictures. Copies share what
// was made, so the file is read once however often the icon is copied.
class DeferredIconEngine : public QIconEngine {
public:
    using Maker = std::function<QIcon()>;

    explicit DeferredIconEngine(Maker make)
        : m_state(std::make_shared<State>(State{std::move(make), {}})) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("skyvane.deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    struct State {
        Maker make; // empty once the icon is made
        QIcon icon;
    };

    const QIcon& icon() {
        if (m_state->make)
            m_state->icon = std::exchange(m_state->make, nullptr)();
        return m_state->icon;
    }

    std::shared_ptr<State> m_state;
};

} // namespace

QIcon LazyIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                  const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // The option belongs to the caller and is gone by the time the icon is drawn; the overflow
    // icons do not depend on it. The style or the widget may be gone too by then. (A guarded
    // pointer only watches the widget, it never changes it.)
    QPointer<QStyle> base(baseStyle());
    QPointer<QWidget> owner(const_cast<QWidget*>(widget));
    return QIcon(new DeferredIconEngine([base, owner, icon]() -> QIcon {
        return base ? base->standardIcon(icon, nullptr, owner.data()) : QIcon();
    }));
}
