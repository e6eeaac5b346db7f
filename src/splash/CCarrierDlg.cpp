#include "splash/CCarrierDlg.h"

#include <QGroupBox>

#include "widgets/CAboutDlg.h"
#include "widgets/DialogUnits.h"

namespace corvane {
namespace {

constexpr const char* kNoImage = "(no image)";
constexpr const char* kNeedBoth = "You need to select both a welcome and a goodbye image prior to saving.";

QLabel* SourceLabel(QWidget* parent, int y, int id) {
    auto* label = new QLabel(kNoImage, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Place(label, 24, y, 348, 18, id);
    return label;
}

}  // namespace

CCarrierDlg::CCarrierDlg(UserInterface* user) : EditorWindow(user, 164, 394, 198) {
    splash_ = std::make_unique<SplashFile>(User());
    setWindowTitle("Corvane Desktop");

    QWidget* c = Client();
    Place(new QGroupBox("Welcome Image", c), 12, 12, 372, 66);
    welcomeLabel_ = SourceLabel(c, 30, 1081);
    auto* loadWelcome = AddButton("Load Welcome Image", 1074, 24, 54, 110, 16);
    saveWelcome_ = AddButton("Save Welcome Image", 1076, 144, 54, 110, 16);
    Place(new QGroupBox("Goodbye Image", c), 12, 84, 372, 66);
    goodbyeLabel_ = SourceLabel(c, 102, 1082);
    auto* loadGoodbye = AddButton("Load Goodbye Image", 1075, 24, 126, 110, 16);
    saveGoodbye_ = AddButton("Save Goodbye Image", 1077, 144, 126, 110, 16);
    auto* open = AddButton("Open Splash File", 57601, 18, 168, 110, 16);
    saveSplash_ = AddButton("Save Splash File", 57603, 144, 168, 110, 16);
    auto* exit = AddButton("Exit", 2, 270, 168, 110, 16);
    // The group boxes were created first so that the controls above them stay on top.

    QMenu* file = AddMenu("&File");
    QAction* openAction = AddAction(file, "&Open", 57601);
    saveAction_ = AddAction(file, "&Save", 57603);
    saveAsAction_ = AddAction(file, "Save &as...", 32779);
    file->addSeparator();
    QAction* skins = AddAction(file, "&Work on Phone Application Skins", 1);
    QAction* exitAction = AddAction(file, "E&xit\tEsc", 2);
    QAction* about = AddAction(AddMenu("&?"), "&About Corvane Desktop", 32784);

    connect(loadWelcome, &QPushButton::clicked, this, [this] { LoadImage(SplashFile::WelcomeId); });
    connect(loadGoodbye, &QPushButton::clicked, this, [this] { LoadImage(SplashFile::GoodbyeId); });
    connect(saveWelcome_, &QPushButton::clicked, this,
            [this] { SaveImage(SplashFile::WelcomeId, "You need to select a welcome image prior to saving."); });
    connect(saveGoodbye_, &QPushButton::clicked, this,
            [this] { SaveImage(SplashFile::GoodbyeId, "You need to select a goodbye image prior to saving."); });
    connect(open, &QPushButton::clicked, this, &CCarrierDlg::OpenSplash);
    connect(openAction, &QAction::triggered, this, &CCarrierDlg::OpenSplash);
    connect(saveSplash_, &QPushButton::clicked, this, [this] { SaveSplashFile(false); });
    connect(saveAction_, &QAction::triggered, this, [this] { SaveSplashFile(false); });
    connect(saveAsAction_, &QAction::triggered, this, [this] { SaveSplashFile(true); });
    connect(skins, &QAction::triggered, this, &CCarrierDlg::accept);
    connect(exit, &QPushButton::clicked, this, &CCarrierDlg::reject);
    connect(exitAction, &QAction::triggered, this, &CCarrierDlg::reject);
    connect(about, &QAction::triggered, this, [] { ShowAboutBox(); });

    RefreshSplashWindow();
}

void CCarrierDlg::RefreshSplashWindow() {
    setWindowTitle(TitleFor(splash_->FileName(), splash_->IsModified()));
    ShowSource(welcomeLabel_, SplashFile::WelcomeId);
    ShowSource(goodbyeLabel_, SplashFile::GoodbyeId);
    saveWelcome_->setEnabled(splash_->HasImage(SplashFile::WelcomeId));
    saveGoodbye_->setEnabled(splash_->HasImage(SplashFile::GoodbyeId));
    const bool both = splash_->HasBothImages();
    saveSplash_->setEnabled(both);
    saveAction_->setEnabled(both);
    saveAsAction_->setEnabled(both);
}

void CCarrierDlg::LoadImage(std::uint16_t id) {
    splash_->ChooseSplashImage(id);
    RefreshSplashWindow();
}

// The label names the image the splash holds, whatever happened to the last
// load or open, and "(no image)" only when it holds none.
void CCarrierDlg::ShowSource(QLabel* label, std::uint16_t id) {
    if (!splash_->HasImage(id)) {
        label->setText(kNoImage);
        label->setToolTip({});
        label->setAccessibleName(kNoImage);
        return;
    }
    const QString source = QString::fromStdString(splash_->Source(id));
    const int room = label->contentsRect().width() - 2 * label->margin() - label->fontMetrics().horizontalAdvance('x');
    label->setText(label->fontMetrics().elidedText(source, Qt::ElideMiddle, room));
    label->setToolTip(source);
    label->setAccessibleName(source);
}

void CCarrierDlg::SaveImage(std::uint16_t id, const char* missingMessage) {
    if (splash_->HasImage(id))
        splash_->ExtractSplashImage(id);
    else
        ShowWarning(missingMessage);
}

void CCarrierDlg::OpenSplash() {
    splash_->ReadSplash();
    RefreshSplashWindow();
}

void CCarrierDlg::SaveSplashFile(bool saveAs) {
    if (!splash_->HasBothImages()) {
        ShowWarning(kNeedBoth);
        return;
    }
    if (saveAs)
        splash_->SaveSplashAs();
    else
        splash_->SaveSplash();
    RefreshSplashWindow();
}

void CCarrierDlg::accept() {
    Leave("You changed the current splash. Do you want to save your changes before exiting?", QDialog::Accepted);
}

void CCarrierDlg::reject() {
    Leave("You changed the current splash file. Do you want to save your changes before exiting?", QDialog::Rejected);
}

void CCarrierDlg::Leave(const char* question, int result) {
    if (splash_->IsModified()) {
        switch (AskBeforeLeaving(question)) {
            case Answer::No: break;
            case Answer::Yes:
                // The user asked to keep their work: leave only once it is saved.
                if (!splash_->HasBothImages()) {
                    ShowWarning(kNeedBoth);
                    return;
                }
                if (splash_->SaveSplash() != SplashFile::SaveOutcome::Ok) {
                    RefreshSplashWindow();
                    return;
                }
                RefreshSplashWindow();
                break;
            default: return;  // Cancel: stay
        }
    }
    done(result);
}

}  // namespace corvane
