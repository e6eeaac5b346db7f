// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the window tests reach a control: by its object name (the command ID,
// or a name such as "Welcome picture"). A control that is not there fails the
// test naming it, rather than crashing the program on a null pointer.
#pragma once

#include <QObject>
#include <QTest>
#include <stdexcept>
#include <string>

namespace corvane::testing {

template <class T>
T* Widget(const QObject* parent, const char* name) {
    T* child = parent ? parent->findChild<T*>(QString::fromUtf8(name)) : nullptr;
    if (!child) {
        const std::string message = std::string("no ") + T::staticMetaObject.className() + " named \"" + name + "\"";
        QTest::qFail(message.c_str(), __FILE__, __LINE__);
        // Nothing sensible can follow: QtTest reports the exception after the
        // failure above and ends the program, rather than it crashing unexplained.
        throw std::runtime_error(message);
    }
    return child;
}

template <class T>
T* Widget(const QObject& parent, const char* name) {
    return Widget<T>(&parent, name);
}

}  // namespace corvane::testing
