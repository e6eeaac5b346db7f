// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Choose transparent color": the user clicks a pixel of the element's
// enlarged image, sees it in the swatch, and "OK" makes it the slot's
// transparent colour. Picking alone, "Cancel" and Esc change nothing.
#pragma once

#include <QDialog>

#include "editor/ChooserPicture.h"
#include "editor/ColourSwatch.h"
#include "model/ImageSlot.h"

namespace corvane {

class ColourChooser : public QDialog {
    Q_OBJECT
public:
    // depth: the slot's, at which the swatch names the colour.
    explicit ColourChooser(ImageSlot& slot, QWidget* parent = nullptr, Depth depth = Depth::Sixteen);

    void accept() override;

private:
    ImageSlot& slot_;
    ChooserPicture* picture_;
    ColourSwatch* swatch_;
};

}  // namespace corvane
