// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/ChooserPicture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"

namespace corvane {

ChooserPicture::ChooserPicture(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Picture: click the color that is to be transparent");
    setAccessibleDescription(kChooserInstruction);
    setCursor(Qt::CrossCursor);
}

void ChooserPicture::SetImage(const Image* image) {
    image_ = image && !image->Empty() ? image : nullptr;
    cursor_ = QPoint(0, 0);
    picked_.reset();
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

QSize ChooserPicture::sizeHint() const {
    if (!image_) return QSize(0, 0);
    return QSize(image_->Width() * kZoom, image_->Height() * kZoom);
}

std::optional<Colour> ChooserPicture::Pick(QPoint point) const {
    if (!image_ || point.x() < 0 || point.y() < 0) return std::nullopt;
    const int x = point.x() / kZoom;
    const int y = point.y() / kZoom;
    if (!image_->Contains(x, y)) return std::nullopt;
    return image_->At(x, y);
}

void ChooserPicture::paintEvent(QPaintEvent*) {
    if (!image_) return;
    QPainter painter(this);
    // Every block must show exactly the colour a click there picks.
    DrawUnsmoothed(painter, QRectF(0, 0, image_->Width() * kZoom, image_->Height() * kZoom), ToQImage(*image_));
    if (picked_) Outline(painter, *picked_, Qt::SolidLine);
    if (hasFocus() && cursor_ != picked_) Outline(painter, cursor_, Qt::DashLine);
}

// A white ring inside a black one around the pixel's block: one of the two
// stands out on any colour, and each is a whole logical pixel wide, so also
// at a display scale of 2 the mark is two screen pixels thick, not a dotted hairline.
void ChooserPicture::Outline(QPainter& painter, QPoint pixel, Qt::PenStyle style) const {
    const QRectF block(pixel.x() * kZoom, pixel.y() * kZoom, kZoom, kZoom);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1, style, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(block.adjusted(-1.5, -1.5, 1.5, 1.5));
    painter.setPen(QPen(Qt::white, 1, style, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(block.adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.restore();
}

QRect ChooserPicture::Block(QPoint pixel) { return QRect(pixel * kZoom, QSize(kZoom, kZoom)); }

void ChooserPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    if (const std::optional<Colour> colour = Pick(point)) {
        cursor_ = QPoint(point.x() / kZoom, point.y() / kZoom);
        picked_ = cursor_;
        update();
        emit Picked(*colour);
    }
}

void ChooserPicture::keyPressEvent(QKeyEvent* event) {
    if (!image_) return QWidget::keyPressEvent(event);
    QPoint next = cursor_;
    switch (event->key()) {
        case Qt::Key_Left: next.rx() -= 1; break;
        case Qt::Key_Right: next.rx() += 1; break;
        case Qt::Key_Up: next.ry() -= 1; break;
        case Qt::Key_Down: next.ry() += 1; break;
        case Qt::Key_Space:
            picked_ = cursor_;
            update();
            emit Picked(image_->At(cursor_.x(), cursor_.y()));
            return;
        default: return QWidget::keyPressEvent(event);
    }
    if (image_->Contains(next.x(), next.y())) cursor_ = next;
    update();
    emit CursorMoved(Block(cursor_));
}

}  // namespace corvane
