#include "widgets/EditorWindow.h"

#include <QVBoxLayout>

#include "io/PathNames.h"
#include "widgets/DialogUnits.h"
#include "widgets/QtUserInterface.h"

namespace corvane {

EditorWindow::EditorWindow(UserInterface* user, int templateId, int widthDlu, int heightDlu)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    if (!user) {
        ownUser_ = std::make_unique<QtUserInterface>(this);
        user = ownUser_.get();
    }
    user_ = user;
    setObjectName(QString::number(templateId));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);
    client_ = new QWidget(this);
    client_->setFixedSize(DluX(widthDlu), DluY(heightDlu));
    layout->addWidget(client_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString EditorWindow::TitleFor(const std::string& filePath, bool modified) {
    return QString::fromStdString(LastPathComponent(filePath)) + (modified ? "*" : "") +
           " - Corvane Desktop for Treo 650/700p";
}

QPushButton* EditorWindow::AddButton(const char* text, int id, int x, int y, int w, int h) {
    auto* button = new QPushButton(text, client_);
    button->setAutoDefault(false);
    Place(button, x, y, w, h, id);
    return button;
}

QAction* EditorWindow::AddAction(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::number(id));
    return action;
}

void EditorWindow::ShowWarning(const std::string& text) {
    Tell(*user_, text, MessageIcon::Warning);
}

Answer EditorWindow::AskBeforeLeaving(const std::string& question) {
    return Tell(*user_, question, MessageIcon::Question, MessageButtons::YesNoCancel, Answer::Yes);
}

}  // namespace corvane
