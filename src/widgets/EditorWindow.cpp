// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/EditorWindow.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "model/ProgramText.h"
#include "widgets/AboutDialog.h"
#include "widgets/DialogUnits.h"
#include "widgets/Manual.h"
#include "widgets/QtUserInterface.h"
#include "widgets/RecentFiles.h"
#include "widgets/ScreenFit.h"

namespace corvane {
namespace {

// One local .pdb file, or nothing.
QString DroppedDatabase(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().front().isLocalFile()) return {};
    const QString path = mime->urls().front().toLocalFile();
    return path.endsWith(".pdb", Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

EditorWindow::EditorWindow(UserInterface* user, ControlId window, int widthDlu, int heightDlu)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    if (!user) {
        ownUser_ = std::make_unique<QtUserInterface>(this);
        user = ownUser_.get();
    }
    user_ = user;
    setObjectName(ObjectName(window));
    setAcceptDrops(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);
    client_ = new QWidget(this);
    client_->setFixedSize(DluX(widthDlu), DluY(heightDlu));
    layout->addWidget(client_);
    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);
    status_->setAccessibleName("Status");
    pointer_ = new QLabel;
    pointer_->setAccessibleName("Pointer");
    pointer_->setObjectName("pointer");
    pointer_->setContentsMargins(0, 0, DluX(4), 0);
    status_->addPermanentWidget(pointer_);
    layout->addWidget(status_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void EditorWindow::FitClientToScreen() {
    const QSize bars(0, menuBar_->sizeHint().height() + status_->sizeHint().height());
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->removeWidget(client_);
    QScrollArea* scroller = ScrollingWhereTooLarge(client_, RoomOnScreen(this, bars));
    scroller->setAccessibleName("Window content");
    box->insertWidget(0, scroller);
}

void EditorWindow::ShowResult(const QString& text) {
    constexpr int kResultMilliseconds = 5000;
    status_->showMessage(text, kResultMilliseconds);
}

void EditorWindow::AddHelpMenu() {
    QMenu* help = AddMenu("&?");
    QAction* manual = help->addAction("Corvane Desktop &Manual");
    manual->setObjectName("manual");
    manual->setShortcut(QKeySequence(Qt::Key_F1));
    connect(manual, &QAction::triggered, this, [this] { OpenManual(*user_); });
    connect(AddAction(help, "&About Corvane Desktop", ControlId::About), &QAction::triggered, this, [] { ShowAboutBox(); });
}

void EditorWindow::ShowPointer(const QString& text) { pointer_->setText(text); }

QAction* EditorWindow::AddExitAction(QMenu* menu) {
    QAction* exit = AddAction(menu, "E&xit\tEsc", ControlId::Exit);
    exit->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_Q)});
    return exit;
}

QString EditorWindow::TitleFor(const std::string& filePath, bool modified) {
    return QString::fromStdString(WindowTitle(filePath, modified));
}

QPushButton* EditorWindow::AddButton(const char* text, ControlId id, int x, int y, int w, int h) {
    auto* button = new QPushButton(text, client_);
    button->setAutoDefault(false);
    Place(button, x, y, w, h, id);
    return button;
}

QAction* EditorWindow::AddAction(QMenu* menu, const char* text, ControlId id) {
    // A tab in the text would reach screen readers as part of the item's name.
    const QStringList parts = QString(text).split('\t');
    QAction* action = menu->addAction(parts.front());
    if (parts.size() > 1) action->setShortcut(QKeySequence(parts.back()));
    action->setObjectName(ObjectName(id));
    return action;
}

void EditorWindow::AddRecentMenu(QMenu* menu, const QString& kind) {
    recentKind_ = kind;
    QMenu* recent = menu->addMenu("Open &Recent");
    const auto fill = [this, recent] {
        recent->clear();
        const QStringList files = RecentFiles(recentKind_).Files();
        for (int i = 0; i < files.size(); ++i) {
            const QString path = files[i];
            connect(recent->addAction(QString("&%1 %2").arg(i + 1).arg(QString(path).replace("&", "&&"))),
                    &QAction::triggered, this, [this, path] {
                        // Gone since: the open says why, and the list forgets it.
                        if (!QFileInfo::exists(path)) RecentFiles(recentKind_).Remove(path);
                        OpenPath(path.toStdString());
                    });
        }
        if (files.isEmpty()) recent->addAction("(none)")->setEnabled(false);
        recent->addSeparator();
        QAction* clear = recent->addAction("&Clear List");
        clear->setObjectName("clear recent");
        clear->setEnabled(!files.isEmpty());
        connect(clear, &QAction::triggered, this, [this] { RecentFiles(recentKind_).Clear(); });
    };
    fill();
    // Filled again when opened: another editor window may have added files since.
    connect(recent, &QMenu::aboutToShow, this, fill);
}

void EditorWindow::RememberRecent(const std::string& path) {
    if (!recentKind_.isEmpty()) RecentFiles(recentKind_).Add(QString::fromStdString(path));
}

void EditorWindow::ShowWarning(const std::string& text) {
    Tell(*user_, text, MessageIcon::Warning);
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    // The buttons are not auto-default, so that Enter elsewhere presses none
    // of them; the one that has the focus takes it, as Space does.
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button && button->isEnabled() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EditorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (openWhenShown_.empty()) return;
    QTimer::singleShot(0, this, [this, path = std::exchange(openWhenShown_, {})] { OpenPath(path); });
}

void EditorWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedDatabase(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void EditorWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedDatabase(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenPath(path.toStdString());
}

}  // namespace corvane
