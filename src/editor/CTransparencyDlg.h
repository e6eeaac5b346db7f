// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "Choose transparent color": the user clicks a pixel of the element's
// enlarged image, sees it in the swatch, and "OK" makes it the slot's
// transparent colour. Picking alone, "Cancel" and Esc change nothing.
#pragma once

#include <QDialog>

#include "editor/CColorChooseBitmap.h"
#include "editor/CColorIndicator.h"
#include "model/ImageSlot.h"

namespace corvane {

class CTransparencyDlg : public QDialog {
    Q_OBJECT
public:
    // depth: the slot's, at which the swatch names the colour.
    explicit CTransparencyDlg(ImageSlot& slot, QWidget* parent = nullptr, int depth = 16);

    void accept() override;

private:
    ImageSlot& slot_;
    CColorChooseBitmap* picture_;
    CColorIndicator* swatch_;
};

}  // namespace corvane
