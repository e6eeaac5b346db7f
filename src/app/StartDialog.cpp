// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/StartDialog.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "model/DefaultArtwork.h"
#include "widgets/DialogUnits.h"
#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"
#include "widgets/QtUserInterface.h"

namespace corvane {

StartDialog::StartDialog(EditorRunner runEditor, QWidget* parent) : QDialog(parent), runEditor_(std::move(runEditor)) {
    setObjectName(ObjectName(ControlId::StartDialog));
    setWindowTitle(ProgramCaptionText());
    setFixedSize(DluX(268), DluY(183));

    auto* logo = new PixelPicture(this);
    logo->setPixmap(QPixmap::fromImage(ToQImage(LogoPictureImage())));
    logo->setAlignment(Qt::AlignCenter);
    Place(logo, 15, 16, 233, 75);

    Place(new QLabel("What would you like to work on?", this), 11, 108, 234, 11);

    auto* skins = new QPushButton("Phone Application Skins", this);
    Place(skins, 11, 126, 121, 18, ControlId::StartSkins);
    auto* splash = new QPushButton("Splash Images", this);
    Place(splash, 138, 126, 121, 18, ControlId::StartSplash);
    connect(skins, &QPushButton::clicked, this, [this] { StartEditors(EditorKind::Skin); });
    connect(splash, &QPushButton::clicked, this, [this] { StartEditors(EditorKind::Splash); });

    Place(new QLabel("Corvane Desktop\nVersion 3.3", this), 12, 156, 96, 18);
}

void StartDialog::StartEditors(EditorKind first) {
    hide();
    EditorKind next = first;
    while (runEditor_(next)) next = next == EditorKind::Skin ? EditorKind::Splash : EditorKind::Skin;
    done(QDialog::Rejected);
}

}  // namespace corvane
