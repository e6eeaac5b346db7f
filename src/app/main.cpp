#include <QApplication>
#include <QIcon>

#include "app/CEditorApp.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(":/corvane-256.png"));
    corvane::CEditorApp::InitInstance(&corvane::CEditorApp::RunEditor);
    return 0;
}
