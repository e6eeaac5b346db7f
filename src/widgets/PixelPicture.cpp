// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/PixelPicture.h"

#include <QImage>
#include <QPainter>
#include <QStyle>

namespace corvane {

void DrawUnsmoothed(QPainter& painter, const QRectF& target, const QImage& image) {
    if (image.isNull() || target.isEmpty()) return;
    // Scaled here to the device's own pixels, so the painter only copies them.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QSize devicePixels = (target.size() * ratio).toSize();
    QImage scaled = image.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(ratio);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target.topLeft(), scaled);
    painter.restore();
}

PixelPicture::PixelPicture(QWidget* parent) : QLabel(parent) {}

void PixelPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QPixmap shown = pixmap();
    if (shown.isNull()) return;
    const QSize logical = (QSizeF(shown.size()) / shown.devicePixelRatio()).toSize();
    const QRect target = QStyle::alignedRect(layoutDirection(), alignment(), logical, contentsRect());
    DrawUnsmoothed(painter, target, shown.toImage());
}

}  // namespace corvane
