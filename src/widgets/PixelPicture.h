// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Pictures drawn pixel for pixel. At a display scale factor such as 1.5 or 2
// the toolkit would scale a picture with smoothing, inventing colours that no
// element has; here every screen pixel takes the colour of the nearest
// picture pixel, at any scale factor.
#pragma once

#include <QLabel>
#include <QRectF>

class QImage;
class QPainter;

namespace corvane {

// Draws the image into the target rectangle (logical coordinates) with
// nearest-neighbour scaling, whatever the painter's render hints and the
// device's pixel ratio.
void DrawUnsmoothed(QPainter& painter, const QRectF& target, const QImage& image);

// A picture control: a QLabel whose pixmap is drawn with DrawUnsmoothed at
// its own size, placed by the label's alignment, inside the label's frame.
class PixelPicture : public QLabel {
    Q_OBJECT
public:
    explicit PixelPicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace corvane
