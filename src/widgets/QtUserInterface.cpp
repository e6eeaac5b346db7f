// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/QtUserInterface.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

#include "model/ProgramText.h"
#include "widgets/RecentFiles.h"

namespace corvane {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(Answer answer) {
    switch (answer) {
        case Answer::Ok: return QMessageBox::Ok;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
        case Answer::YesToAll: return QMessageBox::YesToAll;
    }
    return QMessageBox::NoButton;
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return QFileInfo(path).absoluteFilePath().toStdString();
}

// Each kind of file, named by its filter, has its own last folder; folder
// prompts share one.
QString FolderKey(const std::string& kind) { return "folders/" + QString::fromStdString(kind); }

QString LastFolder(const std::string& kind) {
    const QSettings settings(kSettingsOrganisation, kSettingsApplication);
    return settings.value(FolderKey(kind)).toString();
}

void RememberFolder(const std::string& kind, const std::optional<std::string>& chosen, bool isFolder) {
    if (!chosen) return;
    const QFileInfo info(QString::fromStdString(*chosen));
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.setValue(FolderKey(kind), isFolder ? info.absoluteFilePath() : info.absolutePath());
}

void Configure(QFileDialog& dialog, const FilePrompt& prompt) {
    if (!prompt.title.empty()) dialog.setWindowTitle(QString::fromStdString(prompt.title));
    dialog.setNameFilters(QtNameFilters(prompt.filter));
    dialog.setDefaultSuffix(QString::fromStdString(prompt.defaultExtension));
    if (const QString folder = LastFolder(prompt.filter); !folder.isEmpty()) dialog.setDirectory(folder);
}

}  // namespace

QString ProgramCaptionText() {
    return QString::fromUtf8(kProgramCaption.data(), static_cast<qsizetype>(kProgramCaption.size()));
}

QStringList QtNameFilters(const std::string& filter) {
    QStringList filters;
    for (const auto& [description, pattern] : SplitFilter(filter)) {
        QString text = QString::fromStdString(description);
        if (pattern == "*.*") text.replace("(*.*)", "(*)");
        filters << text;
    }
    return filters;
}

QWidget* QtUserInterface::OwnerFor(bool owned) const {
    if (!owned) return nullptr;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && owner_ && owner_->isAncestorOf(modal)) return modal;
    return owner_.data();
}

std::string QtUserInterface::ApplicationName() const {
    // The program file's name ("corvane-desktop") would caption some boxes
    // while others say "Corvane Desktop": every box says the latter.
    return std::string(kProgramCaption);
}

Answer QtUserInterface::ShowMessage(const Message& message) {
    QMessageBox box(OwnerFor(message.ownedByWindow));
    box.setIcon(ToQtIcon(message.icon));
    box.setText(QString::fromStdString(message.text));
    box.setWindowTitle(message.caption ? QString::fromStdString(*message.caption) : QString());
    switch (message.buttons) {
        case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MessageButtons::YesYesToAllNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    if (!message.details.empty()) box.setDetailedText(QString::fromStdString(message.details));
    box.setDefaultButton(ToQtButton(message.defaultButton));
    switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::YesToAll: return Answer::YesToAll;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Ok: return Answer::Ok;
        default: break;
    }
    // Esc on a Yes/No box answers No, as the platform's own boxes do.
    return message.buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<std::string> QtUserInterface::AskOpenFile(const FilePrompt& prompt) {
    QFileDialog dialog(OwnerFor(prompt.ownedByWindow));
    Configure(dialog, prompt);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(prompt.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!prompt.proposedName.empty()) dialog.selectFile(QString::fromStdString(prompt.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    auto chosen = Chosen(dialog.selectedFiles().front());
    RememberFolder(prompt.filter, chosen, false);
    return chosen;
}

std::optional<std::string> QtUserInterface::AskSaveFile(const FilePrompt& prompt) {
    QFileDialog dialog(OwnerFor(prompt.ownedByWindow));
    Configure(dialog, prompt);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !prompt.confirmOverwrite);
    if (!prompt.proposedName.empty()) dialog.selectFile(QString::fromStdString(prompt.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    auto chosen = Chosen(dialog.selectedFiles().front());
    RememberFolder(prompt.filter, chosen, false);
    return chosen;
}

std::optional<std::string> QtUserInterface::AskFolder(const std::string& title) {
    auto chosen = Chosen(QFileDialog::getExistingDirectory(nullptr, QString::fromStdString(title), LastFolder("folder")));
    RememberFolder("folder", chosen, true);
    return chosen;
}

}  // namespace corvane
