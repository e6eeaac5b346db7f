// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Answers the modal dialogs a test provokes: the action runs as soon as the
// dialog's own event loop is running, on the dialog that is active then.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace corvane::testing {

// Schedules action(dialog) for the next modal widget that opens; the action
// must close that dialog. Gives up after 5 s of event processing. Returns the
// watching timer, which a test that expects no dialog deletes afterwards.
inline QTimer* WhenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto started = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, started] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            return;
        }
        if (++*started > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return timer;
}

}  // namespace corvane::testing
