// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <climits>

namespace corvane {
namespace {

// A window manager's title bar and frame, which the window's own size leaves out.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 40;

}  // namespace

QSize RoomOnScreen(const QWidget* window, QSize besides) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return QSize(INT_MAX, INT_MAX);
    const QSize available = screen->availableGeometry().size();
    return QSize(std::max(1, available.width() - kFrameWidth - besides.width()),
                 std::max(1, available.height() - kFrameHeight - besides.height()));
}

QScrollArea* ScrollingWhereTooLarge(QWidget* content, QSize room) {
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(false);
    scroller->setWidget(content);
    const QSize wanted = content->size();
    const int bar = scroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // A scroll bar along one side takes room from the other.
    const bool tooWide = wanted.width() > room.width();
    const bool tooTall = wanted.height() > room.height();
    const int width = std::min(wanted.width() + (tooTall ? bar : 0), room.width());
    const int height = std::min(wanted.height() + (tooWide ? bar : 0), room.height());
    scroller->setFixedSize(width, height);
    return scroller;
}

void FitToScreen(QWidget* window) {
    const QSize room = RoomOnScreen(window);
    const QSize wanted = window->size();
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) return;
    auto* content = new QWidget;
    content->setFixedSize(wanted);
    const auto children = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        const QPoint at = child->pos();
        const bool focus = child->hasFocus() || window->focusWidget() == child ||
                           (window->focusWidget() && child->isAncestorOf(window->focusWidget()));
        QWidget* focused = focus ? window->focusWidget() : nullptr;
        const bool hidden = child->isHidden();
        child->setParent(content);
        child->move(at);
        if (!hidden) child->show();
        if (focused) focused->setFocus();
    }
    QScrollArea* scroller = ScrollingWhereTooLarge(content, room);
    scroller->setAccessibleName("Window content");
    scroller->setParent(window);
    window->setFixedSize(scroller->size());
    scroller->move(0, 0);
    scroller->show();
}

}  // namespace corvane
