#include "editor/CSkinEditorDlg.h"

#include <QGroupBox>
#include <QPixmap>

#include "editor/CElementDlg.h"
#include "editor/SkinUndo.h"
#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "model/PreviewComposition.h"
#include "model/SkinFile.h"
#include "widgets/CAboutDlg.h"
#include "widgets/CIntroDlg.h"
#include "widgets/ChoiceButton.h"
#include "widgets/DialogUnits.h"
#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"
#include "widgets/UndoHistory.h"

namespace corvane {
namespace {

QLabel* PreviewPicture(QWidget* parent, int x, int id, const char* name) {
    auto* picture = new PixelPicture(parent);
    picture->setAccessibleName(name);
    picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture->setLineWidth(1);
    // One skin pixel per logical pixel, never smoothed at any display scale.
    picture->setScaledContents(false);
    picture->move(DluX(x), DluY(24));
    picture->setFixedSize(320 + 2, 320 + 2);
    picture->setObjectName(QString::number(id));
    return picture;
}

}  // namespace

CSkinEditorDlg::CSkinEditorDlg(UserInterface* user, std::optional<WelcomeMarker> marker)
    : EditorWindow(user, 102, 472, 338),
      document_(std::make_unique<SkinDocument>()),
      history_(new UndoHistory(this)),
      marker_(marker ? *marker : WelcomeMarker::ForThisProgram()) {
    QWidget* c = Client();
    Place(new QLabel("Preview:", c), 12, 12, 54, 8);
    releasedPreview_ = PreviewPicture(c, 12, 1001, "Preview");
    Place(new QLabel("Preview with all buttons pressed:", c), 240, 12, 114, 8);
    pressedPreview_ = PreviewPicture(c, 240, 1005, "Preview with all buttons pressed");

    auto* keypadButtons = AddButton("Edit Keypad Buttons", 1003, 12, 234, 102, 16);
    auto* keypadText = AddButton("Edit Keypad Text", 1004, 126, 234, 102, 16);
    auto* speedDial = AddButton("Edit Speed Dial Buttons", 1002, 240, 234, 102, 16);
    auto* titleBars = AddButton("Edit Title and Event Bar", 1006, 354, 234, 102, 16);

    Place(new QGroupBox("Target color depth", c), 119, 264, 234, 36);
    depth8_ = AddButton("8 bit / 256 colors", 1071, 128, 278, 108, 16);
    depth16_ = AddButton("16 bit / 65.536 colors", 1072, 236, 278, 110, 16);
    auto* depths = new QButtonGroup(this);
    for (QPushButton* b : {depth8_, depth16_}) {
        b->setCheckable(true);
        AnnounceAsChoiceOfOne(b);
        depths->addButton(b);
    }
    depths->setExclusive(true);

    auto* open = AddButton("Open Skin", 57601, 58, 312, 110, 16);
    auto* save = AddButton("Save Skin", 57603, 184, 312, 110, 16);
    auto* exit = AddButton("Exit", 2, 304, 312, 110, 16);

    QMenu* file = AddMenu("&File");
    QAction* reset = AddAction(file, "&Reset", 57600);
    QAction* openAction = AddAction(file, "&Open\tCtrl+O", 57601);
    AddRecentMenu(file, "recent/skins");
    QAction* saveAction = AddAction(file, "&Save\tCtrl+S", 57603);
    QAction* saveAsAction = AddAction(file, "Save &as...\tCtrl+Shift+S", 32779);
    file->addSeparator();
    QAction* splash = AddAction(file, "&Work on Splash Images", 1);
    QAction* exitAction = AddAction(file, "E&xit\tEsc", 2);
    QMenu* edit = AddMenu("&Edit");
    edit->addAction(history_->CreateUndoAction(edit));
    edit->addAction(history_->CreateRedoAction(edit));
    AddExchangeMenu();
    QAction* about = AddAction(AddMenu("&?"), "&About Corvane Desktop", 32784);

    connect(keypadButtons, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CKeypadButtonsDlg>);
    connect(keypadText, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CKeypadTextDlg>);
    connect(speedDial, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CSpeedDialDlg>);
    connect(titleBars, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CTitleDlg>);
    connect(depth8_, &QPushButton::clicked, this, [this] { SetDepth(8); });
    connect(depth16_, &QPushButton::clicked, this, [this] { SetDepth(16); });
    connect(reset, &QAction::triggered, this, &CSkinEditorDlg::Reset);
    connect(open, &QPushButton::clicked, this, &CSkinEditorDlg::Open);
    connect(openAction, &QAction::triggered, this, &CSkinEditorDlg::Open);
    connect(save, &QPushButton::clicked, this, [this] { Save(false); });
    connect(saveAction, &QAction::triggered, this, [this] { Save(false); });
    connect(saveAsAction, &QAction::triggered, this, [this] { Save(true); });
    connect(splash, &QAction::triggered, this, &CSkinEditorDlg::accept);
    connect(exit, &QPushButton::clicked, this, &CSkinEditorDlg::reject);
    connect(exitAction, &QAction::triggered, this, &CSkinEditorDlg::reject);
    connect(about, &QAction::triggered, this, [] { ShowAboutBox(); });

    FollowCleanState(*history_, *document_);
    connect(&history_->Stack(), &QUndoStack::cleanChanged, this, &CSkinEditorDlg::UpdateTitle);
    connect(history_, &UndoHistory::Restored, this, [this] {
        RefreshPreviews();
        UpdateTitle();
    });

    // A new window starts at 16 bits with both previews composed from that set.
    depth16_->setChecked(true);
    document_->SetTargetDepth(16);
    RefreshPreviews();
    UpdateTitle();
}

int CSkinEditorDlg::exec() {
    ShowWelcomeIfWanted(marker_);
    return EditorWindow::exec();
}

void CSkinEditorDlg::UpdateTitle() { setWindowTitle(TitleFor(document_->FilePath(), document_->IsModified())); }

void CSkinEditorDlg::RefreshPreviews() {
    ComposePreviews(*document_, document_->TargetDepth());
    ShowPreviews();
}

void CSkinEditorDlg::ShowPreviews() {
    releasedPreview_->setPixmap(QPixmap::fromImage(ToQImage(document_->ReleasedPreview())));
    pressedPreview_->setPixmap(QPixmap::fromImage(ToQImage(document_->PressedPreview())));
}

template <class Dialog>
void CSkinEditorDlg::EditElements() {
    {
        Dialog dialog(*document_, User(), this, history_);
        // The previews follow every change while the editor is open.
        connect(&dialog, &CElementDlg::DocumentChanged, this, [this] {
            RefreshPreviews();
            UpdateTitle();
        });
        dialog.exec();
    }
    // However the editor was closed, its changes are already in the document.
    RefreshPreviews();
    UpdateTitle();
}

void CSkinEditorDlg::SetDepth(int depth) {
    document_->SetTargetDepth(depth);
    RefreshPreviews();
}

void CSkinEditorDlg::Reset() {
    bool reset = false;
    RunRecorded(history_, *document_, "Reset", [&] { reset = ResetSkin(*document_, User()); });
    if (!reset) return;
    UpdateTitle();
    RefreshPreviews();
}

void CSkinEditorDlg::Open() { ShowOpened(OpenSkin(*document_, User())); }

void CSkinEditorDlg::OpenPath(const std::string& path) { ShowOpened(OpenSkin(*document_, User(), path)); }

void CSkinEditorDlg::ShowOpened(OpenSkinOutcome outcome) {
    if (outcome != OpenSkinOutcome::Opened) return;
    // Another file: nothing of the previous one can be undone into it.
    history_->Stack().clear();
    RememberRecent(document_->FilePath());
    UpdateTitle();
    RefreshPreviews();
}

void CSkinEditorDlg::Save(bool saveAs) {
    ShowSaved(saveAs ? SaveSkinAs(*document_, User()) : SaveSkin(*document_, User()));
}

void CSkinEditorDlg::ShowSaved(SaveSkinOutcome outcome) {
    if (outcome == SaveSkinOutcome::Saved) {
        history_->Stack().setClean();
        RememberRecent(document_->FilePath());
    }
    if (TitleMayHaveChanged(outcome)) UpdateTitle();
}

void CSkinEditorDlg::AddExchangeMenu() {
    QMenu* menu = AddMenu("&Import/Export");
    connect(AddAction(menu, "&Export Bitmaps...", 32781), &QAction::triggered, this,
            [this] { ExportBitmaps(*document_, User()); });
    connect(AddAction(menu, "E&xport Dialpad Bitmaps...", 32798), &QAction::triggered, this,
            [this] { ExportDialpadBitmaps(*document_, User()); });
    connect(AddAction(menu, "Ex&port Preview...", 32787), &QAction::triggered, this,
            [this] { ExportPreview(*document_, User()); });
    menu->addSeparator();
    connect(AddAction(menu, "&Import Bitmaps...", 32780), &QAction::triggered, this, &CSkinEditorDlg::ImportSet);
    connect(AddAction(menu, "Export &Layered Image...", 32810), &QAction::triggered, this,
            [this] { ExportLayeredImage(*document_, User()); });
    connect(AddAction(menu, "Import L&ayered Image...", 32811), &QAction::triggered, this, &CSkinEditorDlg::ImportLayers);
    connect(AddAction(menu, "I&mport Dialpad Bitmaps...", 32797), &QAction::triggered, this, [this] {
        ChangeDialpad("Import Dialpad Bitmaps", [this] { return ImportDialpadBitmaps(*document_, User()); });
    });
    connect(AddAction(menu, "I&nsert Background Image...", 32796), &QAction::triggered, this, [this] {
        ChangeDialpad("Insert Background Image", [this] { return InsertBackground(*document_, User()); });
    });
}

void CSkinEditorDlg::ImportSet() {
    // Marks the skin modified even when the folder browser was cancelled.
    RunRecorded(history_, *document_, "Import Bitmaps", [this] { ImportBitmaps(*document_, User()); });
    UpdateTitle();
    RefreshPreviews();
}

void CSkinEditorDlg::ImportLayers() {
    bool imported = false;
    RunRecorded(history_, *document_, "Import Layered Image", [&] { imported = ImportLayeredImage(*document_, User()); });
    if (!imported) return;
    UpdateTitle();
    RefreshPreviews();
}

void CSkinEditorDlg::ChangeDialpad(const QString& text, const std::function<DialpadOutcome()>& command) {
    DialpadOutcome outcome = DialpadOutcome::Cancelled;
    RunRecorded(history_, *document_, text, [&] { outcome = command(); });
    // The command composed the previews from the 16-bit set and leaves the
    // title alone; the pictures only need showing.
    if (outcome == DialpadOutcome::Changed) ShowPreviews();
}

void CSkinEditorDlg::accept() { Leave(QDialog::Accepted); }

void CSkinEditorDlg::reject() { Leave(QDialog::Rejected); }

void CSkinEditorDlg::Leave(int result) {
    if (document_->IsModified()) {
        switch (AskBeforeLeaving("You changed the current skin. Do you want to save your changes before exiting?")) {
            case Answer::No: break;
            case Answer::Yes: {
                // The user asked to keep their work: leave only once it is saved.
                const SaveSkinOutcome outcome = SaveSkin(*document_, User());
                ShowSaved(outcome);
                if (outcome != SaveSkinOutcome::Saved) return;
                break;
            }
            default: return;  // Cancel: stay
        }
    }
    done(result);
}

}  // namespace corvane
