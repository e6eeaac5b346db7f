#include <QApplication>
#include <QIcon>

#include "app/CEditorApp.h"
#include "platform/QtPictureReader.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::QtPictureReader::Install();
    // Every window, large and small, takes the program's icon from here.
    QIcon icon;
    for (int size : {16, 32, 48, 256}) icon.addFile(QString(":/app-icon-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    corvane::CEditorApp::InitInstance(&corvane::CEditorApp::RunEditor);
    return 0;
}
