// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/SkinEditorWindow.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <algorithm>

#include "editor/ElementEditor.h"
#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "model/PreviewComposition.h"
#include "model/ShownColour.h"
#include "model/ElementDialogTables.h"
#include "widgets/AboutDialog.h"
#include "widgets/WelcomeDialog.h"
#include "widgets/ChoiceButton.h"
#include "widgets/DialogUnits.h"
#include "widgets/PixelPicture.h"
#include "widgets/QtImage.h"
#include "widgets/RecentFiles.h"
#include "widgets/UndoHistory.h"

namespace corvane {
namespace {

constexpr int kPreviewSide = 320;

// Kept as the tool's word for it, so that a settings file reads plainly.
const char* const kDitherSetting = "options/dither";

Dither RememberedDithering() {
    const QSettings settings(kSettingsOrganisation, kSettingsApplication);
    return DitherNamed(settings.value(kDitherSetting).toString().toStdString()).value_or(Dither::None);
}

// A preview in a bordered view of the canvas's size, which scrolls when the
// preview is enlarged.
PixelPicture* PreviewPicture(QWidget* parent, int x, ControlId id, const char* name) {
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
    picture->setObjectName(ObjectName(id));
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

SkinEditorWindow::SkinEditorWindow(UserInterface* user, std::optional<WelcomeMarker> marker)
    : EditorWindow(user, ControlId::SkinEditor, 472, 338),
      session_(std::make_unique<SkinSession>(User())),
      history_(std::make_unique<UndoHistory>(*session_)),
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

    // The session recomposed the previews; an undone depth change moves the choice back too.
    connect(history_.get(), &UndoHistory::Restored, this, &SkinEditorWindow::Refresh);
    for (PixelPicture* preview : {releasedPreview_, pressedPreview_}) preview->installEventFilter(this);
    ScrollTogether(releasedPreview_, pressedPreview_);

    // A new window starts at 16 bits with both previews composed from that set.
    Refresh();
    FitClientToScreen();
}

void SkinEditorWindow::AddPreviewsAndElementButtons() {
    QWidget* c = Client();
    Place(new QLabel("Preview:", c), 12, 12, 54, 8);
    releasedPreview_ = PreviewPicture(c, 12, ControlId::ReleasedPreview, "Preview");
    Place(new QLabel("Preview with all buttons pressed:", c), 240, 12, 114, 8);
    pressedPreview_ = PreviewPicture(c, 240, ControlId::PressedPreview, "Preview with all buttons pressed");

    auto* keypadButtons = AddButton("Edit Keypad Buttons", ControlId::EditKeypadButtons, 12, 234, 102, 16);
    auto* keypadText = AddButton("Edit Keypad Text", ControlId::EditKeypadText, 126, 234, 102, 16);
    auto* speedDial = AddButton("Edit Speed Dial Buttons", ControlId::EditSpeedDial, 240, 234, 102, 16);
    auto* titleBars = AddButton("Edit Title and Event Bar", ControlId::EditTitleBars, 354, 234, 102, 16);
    for (auto [button, table] : {std::pair{keypadButtons, &kKeypadButtonsTable}, std::pair{keypadText, &kKeypadTextTable},
                                 std::pair{speedDial, &kSpeedDialTable}, std::pair{titleBars, &kTitleTable}})
        connect(button, &QPushButton::clicked, this, [this, table = table] { EditElements(*table); });
}

void SkinEditorWindow::AddDepthChoice() {
    Place(new QGroupBox("Target color depth", Client()), 119, 264, 234, 36);
    depth8_ = AddButton("8 bit / 256 colors", ControlId::EightBits, 128, 278, 108, 16);
    depth16_ = AddButton("16 bit / 65.536 colors", ControlId::SixteenBits, 236, 278, 110, 16);
    auto* depths = new QButtonGroup(this);
    for (QPushButton* b : {depth8_, depth16_}) {
        b->setCheckable(true);
        AnnounceAsChoiceOfOne(b);
        depths->addButton(b);
    }
    depths->setExclusive(true);
    connect(depth8_, &QPushButton::clicked, this, [this] { SetDepth(Depth::Eight); });
    connect(depth16_, &QPushButton::clicked, this, [this] { SetDepth(Depth::Sixteen); });
}

// The buttons along the bottom and the File menu, which repeats them.
void SkinEditorWindow::AddFileCommands() {
    auto* open = AddButton("Open Skin", ControlId::Open, 58, 312, 110, 16);
    auto* save = AddButton("Save Skin", ControlId::Save, 184, 312, 110, 16);
    auto* exit = AddButton("Exit", ControlId::Exit, 304, 312, 110, 16);

    QMenu* file = AddMenu("&File");
    QAction* reset = AddAction(file, "&Reset", ControlId::Reset);
    QAction* openAction = AddAction(file, "&Open\tCtrl+O", ControlId::Open);
    AddRecentMenu(file, "recent/skins");
    QAction* saveAction = AddAction(file, "&Save\tCtrl+S", ControlId::Save);
    QAction* saveAsAction = AddAction(file, "Save &as...\tCtrl+Shift+S", ControlId::SaveAs);
    file->addSeparator();
    QAction* splash = AddAction(file, "&Work on Splash Images", ControlId::Accept);
    QAction* exitAction = AddExitAction(file);

    connect(reset, &QAction::triggered, this, &SkinEditorWindow::Reset);
    connect(open, &QPushButton::clicked, this, &SkinEditorWindow::Open);
    connect(openAction, &QAction::triggered, this, &SkinEditorWindow::Open);
    connect(save, &QPushButton::clicked, this, [this] { Save(false); });
    connect(saveAction, &QAction::triggered, this, [this] { Save(false); });
    connect(saveAsAction, &QAction::triggered, this, [this] { Save(true); });
    connect(splash, &QAction::triggered, this, &SkinEditorWindow::accept);
    connect(exit, &QPushButton::clicked, this, &SkinEditorWindow::reject);
    connect(exitAction, &QAction::triggered, this, &SkinEditorWindow::reject);
}

int SkinEditorWindow::exec() {
    ShowWelcomeIfWanted(marker_);
    return EditorWindow::exec();
}

void SkinEditorWindow::Refresh() {
    setWindowTitle(QString::fromStdString(session_->Title()));
    (Document().TargetDepth() == Depth::Eight ? depth8_ : depth16_)->setChecked(true);
    ShowPreviews();
}

void SkinEditorWindow::RefreshPreviews() {
    session_->RecomposePreviews();
    Refresh();
}

void SkinEditorWindow::ShowPreviews() {
    const bool marked = showTransparent_ && showTransparent_->isChecked();
    for (const bool pressed : {false, true}) {
        PixelPicture* preview = pressed ? pressedPreview_ : releasedPreview_;
        const Image& canvas = pressed ? Document().PressedPreview() : Document().ReleasedPreview();
        const std::vector<bool> seeThrough =
            marked ? SeeThroughPixels(session_->Document(), Document().TargetDepth(), pressed) : std::vector<bool>();
        preview->setFixedSize(QSize(canvas.Width(), canvas.Height()) * zoom_);
        preview->setPixmap(QPixmap::fromImage(Shown(canvas, marked ? &seeThrough : nullptr, zoom_)));
    }
}

void SkinEditorWindow::AddViewMenu() {
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
    connect(showTransparent_, &QAction::toggled, this, &SkinEditorWindow::ShowPreviews);
}

void SkinEditorWindow::SetZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, kMaxZoom);
    ShowPreviews();
    ShowResult(QString("Zoom %1x").arg(zoom_));
}

bool SkinEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool pressed = watched == pressedPreview_;
    if (event->type() == QEvent::MouseMove) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const Image& canvas = pressed ? Document().PressedPreview() : Document().ReleasedPreview();
        const std::string name = static_cast<QWidget*>(watched)->accessibleName().toStdString();
        ShowPointer(QString::fromStdString(
            PixelDescription(name, canvas, at.x() / zoom_, at.y() / zoom_, Document().TargetDepth())));
    } else if (event->type() == QEvent::Leave) {
        ShowPointer(QString());
    }
    return EditorWindow::eventFilter(watched, event);
}

void SkinEditorWindow::EditElements(const ElementDialogTable& table) {
    {
        ElementEditor dialog(table, *session_, this, history_.get(), zoom_);
        // The previews follow every change while the editor is open.
        connect(&dialog, &ElementEditor::DocumentChanged, this, &SkinEditorWindow::RefreshPreviews);
        connect(&dialog, &ElementEditor::PointerText, this, &SkinEditorWindow::ShowPointer);
        dialog.exec();
    }
    // However the editor was closed, its changes are already in the document.
    ShowPointer(QString());
    RefreshPreviews();
}

void SkinEditorWindow::SetDepth(Depth depth) {
    session_->SetDepth(depth);
    Refresh();
}

void SkinEditorWindow::Reset() {
    if (session_->Reset()) Refresh();
}

void SkinEditorWindow::Open() { ShowOpened(session_->Open()); }

void SkinEditorWindow::OpenPath(const std::string& path) { ShowOpened(session_->Open(path)); }

void SkinEditorWindow::ShowOpened(OpenSkinOutcome outcome) {
    if (outcome != OpenSkinOutcome::Opened) return;
    RememberRecent(session_->FilePath());
    ShowResult(QString("Opened %1").arg(QString::fromStdString(session_->FilePath())));
    Refresh();
}

void SkinEditorWindow::Save(bool saveAs) { ShowSaved(saveAs ? session_->SaveAs() : session_->Save()); }

void SkinEditorWindow::ShowSaved(SaveSkinOutcome outcome) {
    if (outcome == SaveSkinOutcome::Saved) {
        RememberRecent(session_->FilePath());
        ShowResult(QString("Saved %1 at %2 bits")
                       .arg(QString::fromStdString(session_->FilePath()))
                       .arg(Bits(Document().TargetDepth())));
    }
    if (TitleMayHaveChanged(outcome)) Refresh();
}

void SkinEditorWindow::AddExchangeMenu() {
    QMenu* menu = AddMenu("&Import/Export");
    connect(AddAction(menu, "&Export Bitmaps...", ControlId::ExportBitmaps), &QAction::triggered, this,
            [this] { Export("the bitmaps", ExportBitmaps(session_->Document(), User())); });
    connect(AddAction(menu, "E&xport Dialpad Bitmaps...", ControlId::ExportDialpad), &QAction::triggered, this,
            [this] { Export("the dial pad", ExportDialpadBitmaps(session_->Document(), User())); });
    connect(AddAction(menu, "Ex&port Preview...", ControlId::ExportPreview), &QAction::triggered, this,
            [this] { Export("the preview", ExportPreview(session_->Document(), User())); });
    menu->addSeparator();
    connect(AddAction(menu, "&Import Bitmaps...", ControlId::ImportBitmaps), &QAction::triggered, this, &SkinEditorWindow::ImportSet);
    connect(AddAction(menu, "Export &Layered Image...", ControlId::ExportLayered), &QAction::triggered, this,
            [this] {
                if (ExportLayeredImage(session_->Document(), User())) ShowResult("Exported the layered image");
            });
    connect(AddAction(menu, "Import L&ayered Image...", ControlId::ImportLayered), &QAction::triggered, this, &SkinEditorWindow::ImportLayers);
    connect(AddAction(menu, "I&mport Dialpad Bitmaps...", ControlId::ImportDialpad), &QAction::triggered, this, [this] {
        ChangeDialpad("Import Dialpad Bitmaps", [this] { return ImportDialpadBitmaps(session_->Document(), User()); });
    });
    connect(AddAction(menu, "I&nsert Background Image...", ControlId::InsertBackground), &QAction::triggered, this, [this] {
        ChangeDialpad("Insert Background Image", [this] { return InsertBackground(session_->Document(), User()); });
    });
    // How every picture brought in above (and by Load Image) is reduced.
    menu->addSeparator();
    ditherPictures_ = menu->addAction("&Dither Pictures");
    ditherPictures_->setObjectName("dither pictures");
    ditherPictures_->setCheckable(true);
    session_->SetDithering(RememberedDithering());
    ditherPictures_->setChecked(session_->Dithering() == Dither::Diffusion);
    connect(ditherPictures_, &QAction::toggled, this, [this](bool on) {
        session_->SetDithering(on ? Dither::Diffusion : Dither::None);
        QSettings settings(kSettingsOrganisation, kSettingsApplication);
        settings.setValue(kDitherSetting, QString::fromStdString(std::string(DitherName(session_->Dithering()))));
    });
}

void SkinEditorWindow::Export(const QString& what, ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::Exported: ShowResult("Exported " + what); break;
        case ExportOutcome::Stopped: ShowResult("Stopped exporting " + what); break;
        case ExportOutcome::NotAllExported: ShowResult("Exported part of " + what); break;
        case ExportOutcome::Cancelled: break;
    }
}

void SkinEditorWindow::ImportSet() {
    // Marks the skin modified even when the folder browser was cancelled.
    bool chosen = false;
    session_->Record("Import Bitmaps", [&] { chosen = ImportBitmaps(session_->Document(), User()); });
    RefreshPreviews();
    if (chosen) ShowResult("Imported the bitmaps");
}

void SkinEditorWindow::ImportLayers() {
    bool imported = false;
    session_->Record("Import Layered Image", [&] { imported = ImportLayeredImage(session_->Document(), User()); });
    if (!imported) return;
    RefreshPreviews();
    ShowResult("Imported the layered image");
}

void SkinEditorWindow::ChangeDialpad(const std::string& text, const std::function<DialpadOutcome()>& command) {
    DialpadOutcome outcome = DialpadOutcome::Cancelled;
    session_->Record(text, [&] { outcome = command(); });
    // The command composed the previews from the 16-bit set; the pictures only need showing.
    Refresh();
    if (outcome == DialpadOutcome::Changed) ShowResult(QString::fromStdString("Done: " + text));
}

void SkinEditorWindow::accept() { Leave(QDialog::Accepted); }

void SkinEditorWindow::reject() { Leave(QDialog::Rejected); }

void SkinEditorWindow::Leave(int result) {
    if (session_->MayLeave([this](SaveSkinOutcome outcome) { ShowSaved(outcome); })) done(result);
}

SkinEditorWindow::~SkinEditorWindow() = default;

}  // namespace corvane
