// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "splash/SplashEditorWindow.h"

#include <QGroupBox>
#include <QImage>
#include <QPixmap>

#include "widgets/AboutDialog.h"
#include "widgets/DialogUnits.h"
#include "widgets/PixelPicture.h"
#include "widgets/QtUserInterface.h"
#include "widgets/UndoHistory.h"

namespace corvane {
namespace {

constexpr const char* kNoImage = "(no image)";

QLabel* SourceLabel(QWidget* parent, int y, ControlId id) {
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
SplashEditorWindow::SplashEditorWindow(UserInterface* user)
    : EditorWindow(user, ControlId::SplashEditor, 510, 223), session_(User()), history_(std::make_unique<UndoHistory>(session_)) {
    setWindowTitle(ProgramCaptionText());

    QWidget* c = Client();
    Place(new QGroupBox("Welcome Image", c), 12, 12, 372, 66);
    welcomeLabel_ = SourceLabel(c, 30, ControlId::WelcomeSource);
    auto* loadWelcome = AddButton("Load Welcome Image", ControlId::LoadWelcome, 24, 54, 110, 16);
    saveWelcome_ = AddButton("Save Welcome Image", ControlId::SaveWelcome, 144, 54, 110, 16);
    Place(new QGroupBox("Goodbye Image", c), 12, 84, 372, 66);
    goodbyeLabel_ = SourceLabel(c, 102, ControlId::GoodbyeSource);
    auto* loadGoodbye = AddButton("Load Goodbye Image", ControlId::LoadGoodbye, 24, 126, 110, 16);
    saveGoodbye_ = AddButton("Save Goodbye Image", ControlId::SaveGoodbye, 144, 126, 110, 16);
    welcomePicture_ = PictureLabel(c, DluY(12), "Welcome picture");
    goodbyePicture_ = PictureLabel(c, DluY(12) + kPictureSide + 2 + DluY(6), "Goodbye picture");
    auto* open = AddButton("Open Splash File", ControlId::Open, 18, 168, 110, 16);
    saveSplash_ = AddButton("Save Splash File", ControlId::Save, 144, 168, 110, 16);
    auto* exit = AddButton("Exit", ControlId::Exit, 270, 168, 110, 16);
    // The group boxes were created first so that the controls above them stay on top.

    QMenu* file = AddMenu("&File");
    QAction* openAction = AddAction(file, "&Open\tCtrl+O", ControlId::Open);
    AddRecentMenu(file, "recent/splash");
    saveAction_ = AddAction(file, "&Save\tCtrl+S", ControlId::Save);
    saveAsAction_ = AddAction(file, "Save &as...\tCtrl+Shift+S", ControlId::SaveAs);
    file->addSeparator();
    QAction* skins = AddAction(file, "&Work on Phone Application Skins", ControlId::Accept);
    QAction* exitAction = AddExitAction(file);
    QMenu* edit = AddMenu("&Edit");
    edit->addAction(history_->CreateUndoAction(edit));
    edit->addAction(history_->CreateRedoAction(edit));
    AddHelpMenu();

    connect(loadWelcome, &QPushButton::clicked, this, [this] { LoadImage(SplashDocument::WelcomeId); });
    connect(loadGoodbye, &QPushButton::clicked, this, [this] { LoadImage(SplashDocument::GoodbyeId); });
    connect(saveWelcome_, &QPushButton::clicked, this, [this] { SaveImage(SplashDocument::WelcomeId); });
    connect(saveGoodbye_, &QPushButton::clicked, this, [this] { SaveImage(SplashDocument::GoodbyeId); });
    connect(open, &QPushButton::clicked, this, &SplashEditorWindow::OpenSplash);
    connect(openAction, &QAction::triggered, this, &SplashEditorWindow::OpenSplash);
    connect(saveSplash_, &QPushButton::clicked, this, [this] { SaveSplashFile(false); });
    connect(saveAction_, &QAction::triggered, this, [this] { SaveSplashFile(false); });
    connect(saveAsAction_, &QAction::triggered, this, [this] { SaveSplashFile(true); });
    connect(skins, &QAction::triggered, this, &SplashEditorWindow::accept);
    connect(exit, &QPushButton::clicked, this, &SplashEditorWindow::reject);
    connect(exitAction, &QAction::triggered, this, &SplashEditorWindow::reject);
    connect(history_.get(), &UndoHistory::Restored, this, &SplashEditorWindow::RefreshSplashWindow);

    RefreshSplashWindow();
    FitClientToScreen();
}

void SplashEditorWindow::RefreshSplashWindow() {
    setWindowTitle(QString::fromStdString(session_.Title()));
    ShowSource(welcomeLabel_, SplashDocument::WelcomeId);
    ShowSource(goodbyeLabel_, SplashDocument::GoodbyeId);
    ShowPicture(welcomePicture_, Splash().WelcomeBytes());
    ShowPicture(goodbyePicture_, Splash().GoodbyeBytes());
    saveWelcome_->setEnabled(Splash().HasImage(SplashDocument::WelcomeId));
    saveGoodbye_->setEnabled(Splash().HasImage(SplashDocument::GoodbyeId));
    const bool both = session_.CanSave();
    saveSplash_->setEnabled(both);
    saveAction_->setEnabled(both);
    saveAsAction_->setEnabled(both);
}

void SplashEditorWindow::LoadImage(std::uint16_t id) {
    session_.LoadPicture(id);
    RefreshSplashWindow();
}

// Smoothed when made smaller, never when made larger: at a display scale of
// two or more the picture is drawn pixel for pixel, as the phone shows it.
void SplashEditorWindow::ShowPicture(QLabel* picture, const std::vector<std::uint8_t>& jpeg) {
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
void SplashEditorWindow::ShowSource(QLabel* label, std::uint16_t id) {
    if (!Splash().HasImage(id)) {
        label->setText(kNoImage);
        label->setToolTip({});
        label->setAccessibleName(kNoImage);
        return;
    }
    const QString source = QString::fromStdString(Splash().Source(id));
    const int room = label->contentsRect().width() - 2 * label->margin() - label->fontMetrics().horizontalAdvance('x');
    label->setText(label->fontMetrics().elidedText(source, Qt::ElideMiddle, room));
    label->setToolTip(source);
    label->setAccessibleName(source);
}

void SplashEditorWindow::SaveImage(std::uint16_t id) {
    if (session_.SavePicture(id) == SplashImageSaveOutcome::Saved)
        ShowResult(id == SplashDocument::WelcomeId ? "Saved the welcome image" : "Saved the goodbye image");
}

void SplashEditorWindow::OpenSplash() { ShowOpened(session_.Open()); }

void SplashEditorWindow::OpenPath(const std::string& path) { ShowOpened(session_.Open(path)); }

void SplashEditorWindow::ShowOpened(SplashReadOutcome outcome) {
    if (outcome == SplashReadOutcome::Opened) {
        RememberRecent(session_.FilePath());
        ShowResult("Opened " + QString::fromStdString(session_.FilePath()));
    }
    RefreshSplashWindow();
}

void SplashEditorWindow::SaveSplashFile(bool saveAs) { ShowSaved(saveAs ? session_.SaveAs() : session_.Save()); }

void SplashEditorWindow::ShowSaved(SplashSaveOutcome outcome) {
    if (outcome == SplashSaveOutcome::Saved) {
        RememberRecent(session_.FilePath());
        ShowResult("Saved " + QString::fromStdString(session_.FilePath()));
    }
    RefreshSplashWindow();
}

void SplashEditorWindow::accept() { Leave(Leaving::ToOtherEditor, QDialog::Accepted); }

void SplashEditorWindow::reject() { Leave(Leaving::Program, QDialog::Rejected); }

void SplashEditorWindow::Leave(Leaving why, int result) {
    if (session_.MayLeave(why, [this](SplashSaveOutcome outcome) { ShowSaved(outcome); })) done(result);
}

SplashEditorWindow::~SplashEditorWindow() = default;

}  // namespace corvane
