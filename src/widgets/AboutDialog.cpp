// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/AboutDialog.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "model/DefaultArtwork.h"
#include "widgets/DialogUnits.h"
#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"

namespace corvane {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(ObjectName(ControlId::AboutDialog));
    setWindowTitle("About Corvane Desktop");
    setFixedSize(DluX(250), DluY(200));

    auto* logo = new PixelPicture(this);
    logo->setPixmap(QPixmap::fromImage(ToQImage(LogoPictureImage())));
    logo->setAlignment(Qt::AlignCenter);
    Place(logo, 6, 6, 237, 79);

    auto* text = new QLabel(
        "Corvane Desktop for Treo 650/700p\nVersion 3.3\n\n"
        "In case of questions, please consult the manual for contact information for support.\n\n"
        "Free software under the GNU General Public License, version 3 or later. "
        "It comes with no warranty.",
        this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(text, 7, 96, 165, 98);

    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    Place(ok, 190, 176, 50, 16, ControlId::Accept);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void ShowAboutBox() {
    AboutDialog about;
    about.exec();
}

}  // namespace corvane
