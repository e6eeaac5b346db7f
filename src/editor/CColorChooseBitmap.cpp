#include "editor/CColorChooseBitmap.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"

namespace corvane {

CColorChooseBitmap::CColorChooseBitmap(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Picture: click the color that is to be transparent");
    setCursor(Qt::CrossCursor);
}

void CColorChooseBitmap::SetImage(const Image* image) {
    image_ = image && !image->Empty() ? image : nullptr;
    cursor_ = QPoint(0, 0);
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

QSize CColorChooseBitmap::sizeHint() const {
    if (!image_) return QSize(0, 0);
    return QSize(image_->Width() * kZoom, image_->Height() * kZoom);
}

std::optional<Colour> CColorChooseBitmap::Pick(QPoint point) const {
    if (!image_ || point.x() < 0 || point.y() < 0) return std::nullopt;
    const int x = point.x() / kZoom;
    const int y = point.y() / kZoom;
    if (!image_->Contains(x, y)) return std::nullopt;
    return image_->At(x, y);
}

void CColorChooseBitmap::paintEvent(QPaintEvent*) {
    if (!image_) return;
    QPainter painter(this);
    // Every block must show exactly the colour a click there picks.
    DrawUnsmoothed(painter, QRectF(0, 0, image_->Width() * kZoom, image_->Height() * kZoom), ToQImage(*image_));
    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cursor_.x() * kZoom, cursor_.y() * kZoom, kZoom - 1, kZoom - 1);
    }
}

void CColorChooseBitmap::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    if (const std::optional<Colour> colour = Pick(point)) {
        cursor_ = QPoint(point.x() / kZoom, point.y() / kZoom);
        update();
        emit Picked(*colour);
    }
}

void CColorChooseBitmap::keyPressEvent(QKeyEvent* event) {
    if (!image_) return QWidget::keyPressEvent(event);
    QPoint next = cursor_;
    switch (event->key()) {
        case Qt::Key_Left: next.rx() -= 1; break;
        case Qt::Key_Right: next.rx() += 1; break;
        case Qt::Key_Up: next.ry() -= 1; break;
        case Qt::Key_Down: next.ry() += 1; break;
        case Qt::Key_Space:
            emit Picked(image_->At(cursor_.x(), cursor_.y()));
            return;
        default: return QWidget::keyPressEvent(event);
    }
    if (image_->Contains(next.x(), next.y())) cursor_ = next;
    update();
}

}  // namespace corvane
