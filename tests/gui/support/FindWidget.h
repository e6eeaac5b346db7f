// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the window tests reach a control: by its object name (its ControlId,
// an element editor's row, or a name such as "Welcome picture"). A control that is not there fails the
// test naming it, rather than crashing the program on a null pointer.
#pragma once

#include <QObject>
#include <QTest>
#include <stdexcept>
#include <string>

#include "model/ElementDialogTables.h"
#include "widgets/ControlId.h"

namespace corvane::testing {

template <class T>
T* Widget(const QObject* parent, const QString& name) {
    T* child = parent ? parent->findChild<T*>(name) : nullptr;
    if (!child) {
        const std::string message =
            std::string("no ") + T::staticMetaObject.className() + " named \"" + name.toStdString() + "\"";
        QTest::qFail(message.c_str(), __FILE__, __LINE__);
        // Nothing sensible can follow: QtTest reports the exception after the
        // failure above and ends the program, rather than it crashing unexplained.
        throw std::runtime_error(message);
    }
    return child;
}

template <class T>
T* Widget(const QObject& parent, const QString& name) {
    return Widget<T>(&parent, name);
}

// An element editor's control for the element, by the editors' tables: its
// picture, its "Load Image" or its "Transparent Color" button.
inline QString RowControl(Element element, int ElementRow::*control) {
    for (const ElementDialogTable* table : {&kKeypadButtonsTable, &kKeypadTextTable, &kSpeedDialTable, &kTitleTable})
        for (const ElementRow& row : table->rows)
            if (row.element == element) return QString::number(row.*control);
    return {};
}

}  // namespace corvane::testing
