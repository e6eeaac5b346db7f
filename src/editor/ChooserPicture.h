// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The chooser's picture: an element's image enlarged four times, each image
// pixel a 4 x 4 block, never smoothed. A click (or Space on the keyboard
// cursor) picks the pixel under it; a point beside the image picks nothing,
// so only colours the image really holds can reach the swatch.
#pragma once

#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <optional>

#include "imaging/Image.h"

namespace corvane {

inline constexpr const char* kChooserInstruction =
    "Click the color that is to be transparent, or move to it with the arrow keys and press Space.";

class ChooserPicture : public QWidget {
    Q_OBJECT
public:
    static constexpr int kZoom = 4;

    explicit ChooserPicture(QWidget* parent = nullptr);

    // Shows the image, which must outlive this control; nullptr shows nothing.
    void SetImage(const Image* image);

    // The image pixel whose block holds the point (control coordinates), if any.
    std::optional<Colour> Pick(QPoint point) const;

    QSize sizeHint() const override;

signals:
    void Picked(corvane::Colour colour);
    // The keyboard cursor's block, in control coordinates, after every move.
    void CursorMoved(QRect block);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Outline(QPainter& painter, QPoint pixel, Qt::PenStyle style) const;
    static QRect Block(QPoint pixel);

private:
    const Image* image_ = nullptr;
    // Keyboard users move this image pixel with the arrow keys and pick it with Space.
    QPoint cursor_{0, 0};
    // The image pixel picked last, outlined so that it can be found again.
    std::optional<QPoint> picked_;
};

}  // namespace corvane
