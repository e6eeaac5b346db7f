// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/ColourSwatch.h"

#include <QPainter>

#include "model/ShownColour.h"

namespace corvane {

QString ColourName(Colour colour, Depth depth) { return QString::fromStdString(ShownColour(colour, depth)); }

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAccessibleName("Chosen color");
    SetColour(colour_);
}

void ColourSwatch::SetColour(Colour colour) {
    colour_ = colour;
    // Screen readers cannot see the swatch: they read the colour's value.
    setAccessibleDescription(ColourName(colour, depth_));
    update();
}

void ColourSwatch::SetDepth(Depth depth) {
    depth_ = depth;
    SetColour(colour_);
}

Colour ColourSwatch::Shown() const { return StoredColour(colour_, depth_); }

void ColourSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const Colour shown = Shown();
        painter.fillRect(contentsRect(), QColor(shown.r, shown.g, shown.b));
    }
    QFrame::paintEvent(event);
}

}  // namespace corvane
