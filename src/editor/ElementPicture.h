// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One element's picture in an element editor: the slot's image at one image
// pixel per screen pixel, or enlarged in whole steps, never smoothed. It reads the slot on every paint,
// so a repaint after a load shows the new picture. A picture file dropped on
// it from the file manager is handed on as if chosen with "Load Image".
#pragma once

#include <QWidget>

#include "model/ImageSlot.h"

namespace corvane {

class ElementPicture : public QWidget {
    Q_OBJECT
public:
    ElementPicture(const ImageSlot& slot, QWidget* parent = nullptr, int zoom = 1);

    QSize sizeHint() const override;
    // The slot shown from now on (the other depth's, after a depth change is undone).
    void SetSlot(const ImageSlot& slot);

signals:
    void FileDropped(const QString& path);
    // The image pixel under the pointer, and that the pointer left the picture.
    void PointedAt(int x, int y);
    void PointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const ImageSlot* slot_;
    int zoom_;
};

}  // namespace corvane
