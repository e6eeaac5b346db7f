#include "editor/CColorIndicator.h"

#include <QPainter>

namespace corvane {

QString ColourName(Colour colour) { return QColor(colour.r, colour.g, colour.b).name(QColor::HexRgb).toUpper(); }

CColorIndicator::CColorIndicator(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAccessibleName("Chosen color");
    SetColour(colour_);
}

void CColorIndicator::SetColour(Colour colour) {
    colour_ = colour;
    // Screen readers cannot see the swatch: they read the colour's value.
    setAccessibleDescription(ColourName(colour));
    update();
}

void CColorIndicator::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), QColor(colour_.r, colour_.g, colour_.b));
    }
    QFrame::paintEvent(event);
}

}  // namespace corvane
