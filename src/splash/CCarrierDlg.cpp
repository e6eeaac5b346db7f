// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "splash/CCarrierDlg.h"

#include <QGroupBox>
#include <QImage>
#include <QPixmap>

#include "widgets/CAboutDlg.h"
#include "widgets/DialogUnits.h"
#include "widgets/PixelPicture.h"
#include "widgets/QtUserInterface.h"
#include "widgets/UndoHistory.h"

namespace corvane {
namespace {

constexpr const char* kNoImage = "(no image)";

QLabel* SourceLabel(QWidget* parent, int y, int id) {
    auto* label = new QLabel(kNoImage, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Place(label, 24, y, 348, 18, id);
    return label;
}

// The phone's 320 x 320 pictures at half size, right of the window's own controls.
constexpr int kPictureSide = 160;

QLabel* PictureLabel(QWidget* parent, int y, const char* name) {
    auto* picture = new PixelPicture(parent);
    picture->setObjectName(name);
    picture->setAccessibleName(name);
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(DluX(390), y, kPictureSide + 2, kPictureSide + 2);
    return picture;
}

}  // namespace

// Wider and taller than the window's 394 x 198 units: the two pictures sit at its right.
CCarrierDlg::CCarrierDlg(UserInterface* user) : EditorWindow(user, 164, 510, 223), history_(new SplashHistory(splash_, this)) {
    setWindowTitle(ProgramCaptionText());

    QWidget* c = Client();
    Place(new QGroupBox("Welcome Image", c), 12, 12, 372, 66);
    welcomeLabel_ = SourceLabel(c, 30, 1081);
    auto* loadWelcome = AddButton("Load Welcome Image", 1074, 24, 54, 110, 16);
    saveWelcome_ = AddButton("Save Welcome Image", 1076, 144, 54, 110, 16);
    Place(new QGroupBox("Goodbye Image", c), 12, 84, 372, 66);
    goodbyeLabel_ = SourceLabel(c, 102, 1082);
    auto* loadGoodbye = AddButton("Load Goodbye Image", 1075, 24, 126, 110, 16);
    saveGoodbye_ = AddButton("Save Goodbye Image", 1077, 144, 126, 110, 16);
    welcomePicture_ = PictureLabel(c, DluY(12), "Welcome picture");
    goodbyePicture_ = PictureLabel(c, DluY(12) + kPictureSide + 2 + DluY(6), "Goodbye picture");
    auto* open = AddButton("Open Splash File", 57601, 18, 168, 110, 16);
    saveSplash_ = AddButton("Save Splash File", 57603, 144, 168, 110, 16);
    auto* exit = AddButton("Exit", 2, 270, 168, 110, 16);
    // The group boxes were created first so that the controls above them stay on top.

    QMenu* file = AddMenu("&File");
    QAction* openAction = AddAction(file, "&Open\tCtrl+O", 57601);
    AddRecentMenu(file, "recent/splash");
    saveAction_ = AddAction(file, "&Save\tCtrl+S", 57603);
    saveAsAction_ = AddAction(file, "Save &as...\tCtrl+Shift+S", 32779);
    file->addSeparator();
    QAction* skins = AddAction(file, "&Work on Phone Application Skins", 1);
    QAction* exitAction = AddExitAction(file);
    QMenu* edit = AddMenu("&Edit");
    edit->addAction(history_->CreateUndoAction(edit));
    edit->addAction(history_->CreateRedoAction(edit));
    AddHelpMenu();

    connect(loadWelcome, &QPushButton::clicked, this, [this] { LoadImage(SplashDocument::WelcomeId); });
    connect(loadGoodbye, &QPushButton::clicked, this, [this] { LoadImage(SplashDocument::GoodbyeId); });
    connect(saveWelcome_, &QPushButton::clicked, this,
            [this] { SaveImage(SplashDocument::WelcomeId, "You need to select a welcome image prior to saving."); });
    connect(saveGoodbye_, &QPushButton::clicked, this,
            [this] { SaveImage(SplashDocument::GoodbyeId, "You need to select a goodbye image prior to saving."); });
    connect(open, &QPushButton::clicked, this, &CCarrierDlg::OpenSplash);
    connect(openAction, &QAction::triggered, this, &CCarrierDlg::OpenSplash);
    connect(saveSplash_, &QPushButton::clicked, this, [this] { SaveSplashFile(false); });
    connect(saveAction_, &QAction::triggered, this, [this] { SaveSplashFile(false); });
    connect(saveAsAction_, &QAction::triggered, this, [this] { SaveSplashFile(true); });
    connect(skins, &QAction::triggered, this, &CCarrierDlg::accept);
    connect(exit, &QPushButton::clicked, this, &CCarrierDlg::reject);
    connect(exitAction, &QAction::triggered, this, &CCarrierDlg::reject);
    connect(history_, &UndoHistory::Restored, this, &CCarrierDlg::RefreshSplashWindow);

    RefreshSplashWindow();
    FitClientToScreen();
}

void CCarrierDlg::RefreshSplashWindow() {
    setWindowTitle(TitleFor(splash_.FileName(), splash_.IsModified()));
    ShowSource(welcomeLabel_, SplashDocument::WelcomeId);
    ShowSource(goodbyeLabel_, SplashDocument::GoodbyeId);
    ShowPicture(welcomePicture_, splash_.WelcomeBytes());
    ShowPicture(goodbyePicture_, splash_.GoodbyeBytes());
    saveWelcome_->setEnabled(splash_.HasImage(SplashDocument::WelcomeId));
    saveGoodbye_->setEnabled(splash_.HasImage(SplashDocument::GoodbyeId));
    const bool both = splash_.HasBothImages();
    saveSplash_->setEnabled(both);
    saveAction_->setEnabled(both);
    saveAsAction_->setEnabled(both);
}

void CCarrierDlg::LoadImage(std::uint16_t id) {
    history_->Run(id == SplashDocument::WelcomeId ? "Load Welcome Image" : "Load Goodbye Image",
                  [&] { ChooseSplashImage(splash_, User(), id); });
    RefreshSplashWindow();
}

// Smoothed when made smaller, never when made larger: at a display scale of
// two or more the picture is drawn pixel for pixel, as the phone shows it.
void CCarrierDlg::ShowPicture(QLabel* picture, const std::vector<std::uint8_t>& jpeg) {
    QImage image;
    if (!jpeg.empty()) image.loadFromData(jpeg.data(), static_cast<int>(jpeg.size()), "JPEG");
    if (image.isNull()) {
        picture->setPixmap({});
        return;
    }
    const int device = std::min(image.width(), static_cast<int>(kPictureSide * picture->devicePixelRatioF()));
    QImage shown = image.scaled(device, device, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    shown.setDevicePixelRatio(static_cast<qreal>(device) / kPictureSide);
    picture->setPixmap(QPixmap::fromImage(shown));
}

// The label names the image the splash holds, whatever happened to the last
// load or open, and "(no image)" only when it holds none.
void CCarrierDlg::ShowSource(QLabel* label, std::uint16_t id) {
    if (!splash_.HasImage(id)) {
        label->setText(kNoImage);
        label->setToolTip({});
        label->setAccessibleName(kNoImage);
        return;
    }
    const QString source = QString::fromStdString(splash_.Source(id));
    const int room = label->contentsRect().width() - 2 * label->margin() - label->fontMetrics().horizontalAdvance('x');
    label->setText(label->fontMetrics().elidedText(source, Qt::ElideMiddle, room));
    label->setToolTip(source);
    label->setAccessibleName(source);
}

void CCarrierDlg::SaveImage(std::uint16_t id, const char* missingMessage) {
    if (splash_.HasImage(id)) {
        if (ExtractSplashImage(splash_, User(), id) == SplashImageSaveOutcome::Ok)
            ShowResult(id == SplashDocument::WelcomeId ? "Saved the welcome image" : "Saved the goodbye image");
    } else
        ShowWarning(missingMessage);
}

void CCarrierDlg::OpenSplash() { ShowOpened(ReadSplash(splash_, User())); }

void CCarrierDlg::OpenPath(const std::string& path) { ShowOpened(ReadSplash(splash_, User(), path)); }

void CCarrierDlg::ShowOpened(SplashReadOutcome outcome) {
    if (outcome == SplashReadOutcome::Ok) {
        history_->Forget();
        history_->MarkSaved();
        RememberRecent(splash_.FileName());
        ShowResult("Opened " + QString::fromStdString(splash_.FileName()));
    }
    RefreshSplashWindow();
}

void CCarrierDlg::SaveSplashFile(bool saveAs) {
    if (!splash_.HasBothImages()) {
        ShowWarning(std::string(kNeedBothImages));
        return;
    }
    ShowSaved(saveAs ? SaveSplashAs(splash_, User()) : SaveSplash(splash_, User()));
}

SplashSaveOutcome CCarrierDlg::ShowSaved(SplashSaveOutcome outcome) {
    if (outcome == SplashSaveOutcome::Ok) {
        history_->MarkSaved();
        RememberRecent(splash_.FileName());
        ShowResult("Saved " + QString::fromStdString(splash_.FileName()));
    }
    RefreshSplashWindow();
    return outcome;
}

void CCarrierDlg::accept() { Leave(kLeaveSplashQuestion, QDialog::Accepted); }

void CCarrierDlg::reject() { Leave(kExitSplashQuestion, QDialog::Rejected); }

void CCarrierDlg::Leave(std::string_view question, int result) {
    const bool leave = MayLeave(User(), splash_.IsModified(), question, [this] {
        if (!splash_.HasBothImages()) {
            ShowWarning(std::string(kNeedBothImages));
            return false;
        }
        return ShowSaved(SaveSplash(splash_, User())) == SplashSaveOutcome::Ok;
    });
    if (leave) done(result);
}

}  // namespace corvane
