// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The chooser's swatch: a bordered field filled with the colour picked so far.
#pragma once

#include <QFrame>

#include "imaging/Depth.h"
#include "imaging/Image.h"

namespace corvane {

// "#RRGGBB" of the colour as stored at the depth, as the swatch shows it and
// screen readers read it.
QString ColourName(Colour colour, Depth depth);

class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    // The colour as chosen; the swatch shows it as stored at its depth.
    void SetColour(Colour colour);
    Colour GetColour() const { return colour_; }
    void SetDepth(Depth depth);
    // The colour the swatch shows.
    Colour Shown() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour colour_{};
    Depth depth_ = Depth::Sixteen;
};

}  // namespace corvane
