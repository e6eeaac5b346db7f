// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/WelcomeDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QBoxLayout>
#include <QPushButton>

#include "widgets/DialogUnits.h"
#include "widgets/WelcomeMarker.h"

namespace corvane {

WelcomeDialog::WelcomeDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(ObjectName(ControlId::WelcomeDialog));
    setWindowTitle("Welcome");

    // Laid out rather than placed: the wrapped paragraphs need the height our fonts take.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(DluX(12), DluY(12), DluX(12), DluY(10));
    for (const char* text :
         {"Welcome to Corvane Desktop.",
          "To create your own skin, please use the \"Export bitmaps\" menu item to get a complete set of the bitmaps "
          "in the correct size. After changing the bitmaps, you can get them back into Corvane Desktop in one go by "
          "using the \"Import bitmaps\" menu item.",
          "In case of questions, please consult the manual for contact information for support."}) {
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        label->setFixedWidth(DluX(226));
        label->setFixedHeight(label->heightForWidth(DluX(226)));
        layout->addWidget(label);
    }
    layout->addSpacing(DluY(8));

    auto* row = new QHBoxLayout;
    checkBox_ = new QCheckBox("Do not show this message again", this);
    checkBox_->setObjectName(ObjectName(ControlId::DoNotShowAgain));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(ObjectName(ControlId::Accept));
    ok->setDefault(true);
    ok->setMinimumWidth(DluX(50));
    row->addWidget(checkBox_);
    row->addStretch();
    row->addWidget(ok);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void WelcomeDialog::accept() {
    doNotShowAgain = checkBox_->isChecked();
    QDialog::accept();
}

void ShowWelcomeIfWanted(const WelcomeMarker& marker, QWidget* parent) {
    if (marker.Exists()) return;
    WelcomeDialog dialog(parent);
    dialog.exec();
    if (dialog.doNotShowAgain) marker.Create();
}

}  // namespace corvane
