// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Window layouts are given in dialog units of an 8-point dialog font; one
// horizontal unit is a quarter of the average character width and one
// vertical unit an eighth of the character height (6 x 13 pixels at 96 dpi).
#pragma once

#include <QLabel>
#include <QRect>
#include <QWidget>

#include <optional>

#include "widgets/ControlId.h"

namespace corvane {

inline int DluX(int x) { return (x * 6 + 2) / 4; }
inline int DluY(int y) { return (y * 13 + 4) / 8; }
inline QRect DluRect(int x, int y, int w, int h) { return QRect(DluX(x), DluY(y), DluX(w), DluY(h)); }

// Places a control by its dialog-unit rectangle and names it by its command ID.
inline void Place(QWidget* widget, int x, int y, int w, int h, std::optional<ControlId> id = std::nullopt) {
    widget->setGeometry(DluRect(x, y, w, h));
    if (id) widget->setObjectName(ObjectName(*id));
    // Our fonts are wider than the layout's own: a one-line label grows rather than cut its text.
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap() && label->pixmap().isNull())
        label->resize(label->sizeHint().expandedTo(label->size()));
}

}  // namespace corvane
