// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/ElementPicture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"

namespace corvane {
namespace {

// One local file, or nothing: several files at once would leave the user
// guessing which one the element got.
QString DroppedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return {};
    const QUrl url = mime->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

ElementPicture::ElementPicture(const ImageSlot& slot, QWidget* parent, int zoom)
    : QWidget(parent), slot_(&slot), zoom_(zoom) {
    setAcceptDrops(true);
    setMouseTracking(true);
    setFixedSize(sizeHint());
}

QSize ElementPicture::sizeHint() const { return QSize(slot_->Width(), slot_->Height()) * zoom_; }

void ElementPicture::SetSlot(const ImageSlot& slot) {
    slot_ = &slot;
    update();
}

void ElementPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawUnsmoothed(painter, QRectF(QPointF(0, 0), QSizeF(sizeHint())), ToQImage(slot_->Picture()));
}

void ElementPicture::mouseMoveEvent(QMouseEvent* event) {
    // Whole pixels: the block of a pixel enlarged, not the nearest pixel.
    const QPoint at = event->position().toPoint();
    emit PointedAt(at.x() / zoom_, at.y() / zoom_);
}

void ElementPicture::leaveEvent(QEvent*) { emit PointerLeft(); }

void ElementPicture::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ElementPicture::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    emit FileDropped(path);
}

}  // namespace corvane
