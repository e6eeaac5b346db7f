#include "app/CIntroDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "app/DialogUnits.h"
#include "app/WelcomeMarker.h"

namespace corvane {

CIntroDlg::CIntroDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("174");
    setWindowTitle("Welcome");
    setFixedSize(DluX(250), DluY(126));

    auto* greeting = new QLabel("Welcome to Corvane Desktop.", this);
    Place(greeting, 12, 12, 222, 12);
    auto* howTo = new QLabel(
        "To create your own skin, please use the \"Export bitmaps\" menu item to get a complete set of the bitmaps "
        "in the correct size. After changing the bitmaps, you can get them back into Corvane Desktop in one go by "
        "using the \"Import bitmaps\" menu item.",
        this);
    howTo->setWordWrap(true);
    Place(howTo, 12, 24, 222, 36);
    auto* support =
        new QLabel("In case of questions, please consult the manual for contact information for support.", this);
    support->setWordWrap(true);
    Place(support, 12, 60, 222, 24);

    checkBox_ = new QCheckBox("Do not show this message again", this);
    Place(checkBox_, 12, 96, 156, 16, 1082);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    Place(ok, 180, 96, 50, 16, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void CIntroDlg::accept() {
    doNotShowAgain = checkBox_->isChecked();
    QDialog::accept();
}

void ShowWelcomeIfWanted(const WelcomeMarker& marker, QWidget* parent) {
    if (marker.Exists()) return;
    CIntroDlg dialog(parent);
    dialog.exec();
    if (dialog.doNotShowAgain) marker.Create();
}

}  // namespace corvane
