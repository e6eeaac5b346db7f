// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/ColourChooser.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "widgets/DialogUnits.h"
#include "widgets/ScreenFit.h"

namespace corvane {

ColourChooser::ColourChooser(ImageSlot& slot, QWidget* parent, Depth depth) : QDialog(parent), slot_(slot) {
    setWindowTitle("Choose transparent color");
    setObjectName(ObjectName(ControlId::ColourChooser));
    setFixedSize(DluX(430), DluY(170));

    // A 320-pixel element is 1280 pixels wide enlarged: it scrolls, so that
    // every one of its pixels can be picked.
    auto* scroller = new QScrollArea(this);
    Place(scroller, 6, 6, 420, 120);
    scroller->setWidgetResizable(true);
    scroller->setAccessibleName("Enlarged image");
    picture_ = new ChooserPicture;
    picture_->setObjectName(ObjectName(ControlId::ChooserPicture));
    scroller->setWidget(picture_);

    // The keyboard cursor stays in sight, so that Space picks a pixel the user can see.
    connect(picture_, &ChooserPicture::CursorMoved, scroller, [scroller](QRect block) {
        scroller->ensureVisible(block.center().x(), block.center().y(), block.width() * 2, block.height() * 2);
    });

    auto* instruction = new QLabel(kChooserInstruction, this);
    instruction->setWordWrap(true);
    Place(instruction, 96, 132, 206, 32);

    auto* caption = new QLabel("Chosen color:", this);
    Place(caption, 6, 132, 45, 8);
    swatch_ = new ColourSwatch(this);
    Place(swatch_, 6, 144, 78, 20, ControlId::ChosenColour);
    caption->setBuddy(swatch_);

    auto* ok = new QPushButton("OK", this);
    Place(ok, 312, 150, 50, 14, ControlId::Accept);
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    Place(cancel, 372, 150, 50, 14, ControlId::Exit);
    connect(ok, &QPushButton::clicked, this, &ColourChooser::accept);
    connect(cancel, &QPushButton::clicked, this, &ColourChooser::reject);

    // "OK" without a click keeps the colour the slot has.
    swatch_->SetDepth(depth);
    swatch_->SetColour(slot_.Transparent());
    picture_->SetImage(&slot_.Picture());
    connect(picture_, &ChooserPicture::Picked, swatch_, &ColourSwatch::SetColour);

    // The instruction speaks of the arrow keys and Space: they work at once.
    picture_->setFocus();
    FitToScreen(this);
}

void ColourChooser::accept() {
    slot_.SetTransparent(swatch_->GetColour());
    QDialog::accept();
}

}  // namespace corvane
