// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include "app/EditorApp.h"
#include "platform/QtPictureReader.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::QtPictureReader::Install();
    // Every window, large and small, takes the program's icon from here.
    QIcon icon;
    for (int size : {16, 32, 48, 256}) icon.addFile(QString(":/app-icon-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // A file handed over by the file manager ("corvane-desktop FILE.pdb") skips the start dialog.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        corvane::StartWithFile(QFileInfo(arguments.at(1)).absoluteFilePath().toStdString());
    else
        corvane::RunStartDialog([](corvane::EditorKind kind) { return corvane::RunEditor(kind); });
    return 0;
}
