// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/CSkinEditorDlg.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "editor/CElementDlg.h"
#include "editor/SkinUndo.h"
#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "model/PreviewComposition.h"
#include "model/ShownColour.h"
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

constexpr int kPreviewSide = 320;

// A preview in a bordered view of the canvas's size, which scrolls when the
// preview is enlarged.
PixelPicture* PreviewPicture(QWidget* parent, int x, int id, const char* name) {
    auto* view = new QScrollArea(parent);
    view->setAccessibleName(QString(name) + " view");
    view->setFrameStyle(QFrame::Box | QFrame::Plain);
    view->setLineWidth(1);
    view->move(DluX(x), DluY(24));
    view->setFixedSize(kPreviewSide + 2, kPreviewSide + 2);
    auto* picture = new PixelPicture;
    picture->setAccessibleName(name);
    // One skin pixel per logical pixel, or a whole number of them, never smoothed at any display scale.
    picture->setScaledContents(false);
    picture->setObjectName(QString::number(id));
    picture->setMouseTracking(true);
    picture->setFixedSize(kPreviewSide, kPreviewSide);
    view->setWidget(picture);
    return picture;
}

// Enlarged, both previews show the same part of the screen.
void ScrollTogether(const PixelPicture* a, const PixelPicture* b) {
    auto* first = qobject_cast<QScrollArea*>(a->parentWidget()->parentWidget());
    auto* second = qobject_cast<QScrollArea*>(b->parentWidget()->parentWidget());
    for (auto [from, to] : {std::pair{first, second}, std::pair{second, first}}) {
        QObject::connect(from->horizontalScrollBar(), &QScrollBar::valueChanged, to->horizontalScrollBar(),
                         &QScrollBar::setValue);
        QObject::connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
                         &QScrollBar::setValue);
    }
}

// The canvas as shown: see-through pixels marked with a checkerboard when
// asked for, then enlarged by repeating pixels.
QImage Shown(const Image& canvas, const std::vector<bool>* seeThrough, int zoom) {
    QImage shown = ToQImage(canvas);
    if (seeThrough) {
        constexpr int kSquare = 4;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if ((*seeThrough)[static_cast<std::size_t>(y * shown.width() + x)])
                    shown.setPixelColor(x, y, (x / kSquare + y / kSquare) % 2 ? QColor(204, 204, 204) : Qt::white);
    }
    if (zoom == 1) return shown;
    return shown.scaled(shown.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

CSkinEditorDlg::CSkinEditorDlg(UserInterface* user, std::optional<WelcomeMarker> marker)
    : EditorWindow(user, 102, 472, 338),
      document_(std::make_unique<SkinDocument>()),
      history_(new SkinHistory(*document_, this)),
      marker_(marker ? *marker : WelcomeMarker::ForThisProgram()) {
    AddPreviewsAndElementButtons();
    AddDepthChoice();
    AddFileCommands();
    QMenu* edit = AddMenu("&Edit");
    edit->addAction(history_->CreateUndoAction(edit));
    edit->addAction(history_->CreateRedoAction(edit));
    AddViewMenu();
    AddExchangeMenu();
    AddHelpMenu();

    connect(history_, &UndoHistory::Restored, this, [this] {
        // An undone depth change moves the choice back too.
        (document_->TargetDepth() == 8 ? depth8_ : depth16_)->setChecked(true);
        RefreshPreviews();
        UpdateTitle();
    });
    for (PixelPicture* preview : {releasedPreview_, pressedPreview_}) preview->installEventFilter(this);
    ScrollTogether(releasedPreview_, pressedPreview_);

    // A new window starts at 16 bits with both previews composed from that set.
    depth16_->setChecked(true);
    document_->SetTargetDepth(16);
    RefreshPreviews();
    UpdateTitle();
    FitClientToScreen();
}

void CSkinEditorDlg::AddPreviewsAndElementButtons() {
    QWidget* c = Client();
    Place(new QLabel("Preview:", c), 12, 12, 54, 8);
    releasedPreview_ = PreviewPicture(c, 12, 1001, "Preview");
    Place(new QLabel("Preview with all buttons pressed:", c), 240, 12, 114, 8);
    pressedPreview_ = PreviewPicture(c, 240, 1005, "Preview with all buttons pressed");

    auto* keypadButtons = AddButton("Edit Keypad Buttons", 1003, 12, 234, 102, 16);
    auto* keypadText = AddButton("Edit Keypad Text", 1004, 126, 234, 102, 16);
    auto* speedDial = AddButton("Edit Speed Dial Buttons", 1002, 240, 234, 102, 16);
    auto* titleBars = AddButton("Edit Title and Event Bar", 1006, 354, 234, 102, 16);
    connect(keypadButtons, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CKeypadButtonsDlg>);
    connect(keypadText, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CKeypadTextDlg>);
    connect(speedDial, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CSpeedDialDlg>);
    connect(titleBars, &QPushButton::clicked, this, &CSkinEditorDlg::EditElements<CTitleDlg>);
}

void CSkinEditorDlg::AddDepthChoice() {
    Place(new QGroupBox("Target color depth", Client()), 119, 264, 234, 36);
    depth8_ = AddButton("8 bit / 256 colors", 1071, 128, 278, 108, 16);
    depth16_ = AddButton("16 bit / 65.536 colors", 1072, 236, 278, 110, 16);
    auto* depths = new QButtonGroup(this);
    for (QPushButton* b : {depth8_, depth16_}) {
        b->setCheckable(true);
        AnnounceAsChoiceOfOne(b);
        depths->addButton(b);
    }
    depths->setExclusive(true);
    connect(depth8_, &QPushButton::clicked, this, [this] { SetDepth(8); });
    connect(depth16_, &QPushButton::clicked, this, [this] { SetDepth(16); });
}

// The buttons along the bottom and the File menu, which repeats them.
void CSkinEditorDlg::AddFileCommands() {
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
    QAction* exitAction = AddExitAction(file);

    connect(reset, &QAction::triggered, this, &CSkinEditorDlg::Reset);
    connect(open, &QPushButton::clicked, this, &CSkinEditorDlg::Open);
    connect(openAction, &QAction::triggered, this, &CSkinEditorDlg::Open);
    connect(save, &QPushButton::clicked, this, [this] { Save(false); });
    connect(saveAction, &QAction::triggered, this, [this] { Save(false); });
    connect(saveAsAction, &QAction::triggered, this, [this] { Save(true); });
    connect(splash, &QAction::triggered, this, &CSkinEditorDlg::accept);
    connect(exit, &QPushButton::clicked, this, &CSkinEditorDlg::reject);
    connect(exitAction, &QAction::triggered, this, &CSkinEditorDlg::reject);
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
    const bool marked = showTransparent_ && showTransparent_->isChecked();
    for (const bool pressed : {false, true}) {
        PixelPicture* preview = pressed ? pressedPreview_ : releasedPreview_;
        const Image& canvas = pressed ? document_->PressedPreview() : document_->ReleasedPreview();
        const std::vector<bool> seeThrough =
            marked ? SeeThroughPixels(*document_, document_->TargetDepth(), pressed) : std::vector<bool>();
        preview->setFixedSize(QSize(canvas.Width(), canvas.Height()) * zoom_);
        preview->setPixmap(QPixmap::fromImage(Shown(canvas, marked ? &seeThrough : nullptr, zoom_)));
    }
}

void CSkinEditorDlg::AddViewMenu() {
    QMenu* view = AddMenu("&View");
    QAction* zoomIn = view->addAction("Zoom &In");
    zoomIn->setObjectName("zoom in");
    // Ctrl+= too: on most keyboards "+" needs Shift.
    zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* zoomOut = view->addAction("Zoom &Out");
    zoomOut->setObjectName("zoom out");
    zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    QAction* actual = view->addAction("&Actual Size");
    actual->setObjectName("actual size");
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    view->addSeparator();
    showTransparent_ = view->addAction("Show &Transparent Pixels");
    showTransparent_->setObjectName("show transparent");
    showTransparent_->setCheckable(true);
    connect(zoomIn, &QAction::triggered, this, [this] { SetZoom(zoom_ + 1); });
    connect(zoomOut, &QAction::triggered, this, [this] { SetZoom(zoom_ - 1); });
    connect(actual, &QAction::triggered, this, [this] { SetZoom(1); });
    connect(showTransparent_, &QAction::toggled, this, &CSkinEditorDlg::ShowPreviews);
}

void CSkinEditorDlg::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, kMaxZoom);
    ShowPreviews();
    ShowResult(QString("Zoom %1x").arg(zoom_));
}

bool CSkinEditorDlg::eventFilter(QObject* watched, QEvent* event) {
    const bool pressed = watched == pressedPreview_;
    if (event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const Image& canvas = pressed ? document_->PressedPreview() : document_->ReleasedPreview();
        const std::string name = static_cast<QWidget*>(watched)->accessibleName().toStdString();
        ShowPointer(QString::fromStdString(
            PixelDescription(name, canvas, at.x() / zoom_, at.y() / zoom_, document_->TargetDepth())));
    } else if (event->type() == QEvent::Leave) {
        ShowPointer(QString());
    }
    return EditorWindow::eventFilter(watched, event);
}

template <class Dialog>
void CSkinEditorDlg::EditElements() {
    {
        Dialog dialog(*document_, User(), this, history_, zoom_);
        // The previews follow every change while the editor is open.
        connect(&dialog, &CElementDlg::DocumentChanged, this, [this] {
            RefreshPreviews();
            UpdateTitle();
        });
        connect(&dialog, &CElementDlg::PointerText, this, &CSkinEditorDlg::ShowPointer);
        dialog.exec();
    }
    // However the editor was closed, its changes are already in the document.
    ShowPointer(QString());
    RefreshPreviews();
    UpdateTitle();
}

void CSkinEditorDlg::SetDepth(int depth) {
    // A change like any other: marked, asked about and undone.
    RunRecorded(history_, "Color Depth", [&] { document_->SetTargetDepth(depth); });
    RefreshPreviews();
    UpdateTitle();
}

void CSkinEditorDlg::Reset() {
    bool reset = false;
    RunRecorded(history_, "Reset", [&] { reset = ResetSkin(*document_, User()); });
    if (!reset) return;
    history_->MarkReset();
    UpdateTitle();
    RefreshPreviews();
}

void CSkinEditorDlg::Open() { ShowOpened(OpenSkin(*document_, User())); }

void CSkinEditorDlg::OpenPath(const std::string& path) { ShowOpened(OpenSkin(*document_, User(), path)); }

void CSkinEditorDlg::ShowOpened(OpenSkinOutcome outcome) {
    if (outcome != OpenSkinOutcome::Opened) return;
    // Another file: nothing of the previous one can be undone into it.
    history_->Forget();
    history_->MarkSaved();
    RememberRecent(document_->FilePath());
    ShowResult(QString("Opened %1").arg(QString::fromStdString(document_->FilePath())));
    UpdateTitle();
    RefreshPreviews();
}

void CSkinEditorDlg::Save(bool saveAs) {
    ShowSaved(saveAs ? SaveSkinAs(*document_, User()) : SaveSkin(*document_, User()));
}

void CSkinEditorDlg::ShowSaved(SaveSkinOutcome outcome) {
    if (outcome == SaveSkinOutcome::Saved) {
        history_->MarkSaved();
        RememberRecent(document_->FilePath());
        ShowResult(QString("Saved %1 at %2 bits")
                       .arg(QString::fromStdString(document_->FilePath()))
                       .arg(document_->TargetDepth()));
    }
    if (TitleMayHaveChanged(outcome)) UpdateTitle();
}

void CSkinEditorDlg::AddExchangeMenu() {
    QMenu* menu = AddMenu("&Import/Export");
    connect(AddAction(menu, "&Export Bitmaps...", 32781), &QAction::triggered, this,
            [this] { Export("the bitmaps", ExportBitmaps(*document_, User())); });
    connect(AddAction(menu, "E&xport Dialpad Bitmaps...", 32798), &QAction::triggered, this,
            [this] { Export("the dial pad", ExportDialpadBitmaps(*document_, User())); });
    connect(AddAction(menu, "Ex&port Preview...", 32787), &QAction::triggered, this,
            [this] { Export("the preview", ExportPreview(*document_, User())); });
    menu->addSeparator();
    connect(AddAction(menu, "&Import Bitmaps...", 32780), &QAction::triggered, this, &CSkinEditorDlg::ImportSet);
    connect(AddAction(menu, "Export &Layered Image...", 32810), &QAction::triggered, this,
            [this] {
                if (ExportLayeredImage(*document_, User())) ShowResult("Exported the layered image");
            });
    connect(AddAction(menu, "Import L&ayered Image...", 32811), &QAction::triggered, this, &CSkinEditorDlg::ImportLayers);
    connect(AddAction(menu, "I&mport Dialpad Bitmaps...", 32797), &QAction::triggered, this, [this] {
        ChangeDialpad("Import Dialpad Bitmaps", [this] { return ImportDialpadBitmaps(*document_, User()); });
    });
    connect(AddAction(menu, "I&nsert Background Image...", 32796), &QAction::triggered, this, [this] {
        ChangeDialpad("Insert Background Image", [this] { return InsertBackground(*document_, User()); });
    });
}

void CSkinEditorDlg::Export(const QString& what, ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::Exported: ShowResult("Exported " + what); break;
        case ExportOutcome::Stopped: ShowResult("Stopped exporting " + what); break;
        case ExportOutcome::NotAllExported: ShowResult("Exported part of " + what); break;
        case ExportOutcome::Cancelled: break;
    }
}

void CSkinEditorDlg::ImportSet() {
    // Marks the skin modified even when the folder browser was cancelled.
    bool chosen = false;
    RunRecorded(history_, "Import Bitmaps", [&] { chosen = ImportBitmaps(*document_, User()); });
    UpdateTitle();
    RefreshPreviews();
    if (chosen) ShowResult("Imported the bitmaps");
}

void CSkinEditorDlg::ImportLayers() {
    bool imported = false;
    RunRecorded(history_, "Import Layered Image", [&] { imported = ImportLayeredImage(*document_, User()); });
    if (!imported) return;
    UpdateTitle();
    RefreshPreviews();
    ShowResult("Imported the layered image");
}

void CSkinEditorDlg::ChangeDialpad(const QString& text, const std::function<DialpadOutcome()>& command) {
    DialpadOutcome outcome = DialpadOutcome::Cancelled;
    RunRecorded(history_, text, [&] { outcome = command(); });
    UpdateTitle();
    // The command composed the previews from the 16-bit set; the pictures only need showing.
    if (outcome == DialpadOutcome::Changed) {
        ShowPreviews();
        ShowResult("Done: " + text);
    }
}

void CSkinEditorDlg::accept() { Leave(QDialog::Accepted); }

void CSkinEditorDlg::reject() { Leave(QDialog::Rejected); }

void CSkinEditorDlg::Leave(int result) {
    const bool leave = MayLeave(User(), document_->IsModified(), kLeaveSkinQuestion, [this] {
        const SaveSkinOutcome outcome = SaveSkin(*document_, User());
        ShowSaved(outcome);
        return outcome == SaveSkinOutcome::Saved;
    });
    if (leave) done(result);
}

}  // namespace corvane
