// Draws the README's screenshots: the start, welcome and about dialogs, the
// skin editor with the default skin, its element editors and colour chooser,
// and the splash editor, each window grabbed by Qt itself.
// Usage: corvane_screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include "app/CAboutDlg.h"
#include "app/CIntroDlg.h"
#include "app/CStartDlg.h"
#include "editor/CElementDlg.h"
#include "editor/CSkinEditorDlg.h"
#include "editor/CTransparencyDlg.h"
#include "splash/CCarrierDlg.h"

namespace {

bool Save(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    return window.grab().save(path);
}

// The four element editors and the colour chooser on the skin editor's document.
bool SaveElementEditors(corvane::CSkinEditorDlg& skin, const QDir& out) {
    using namespace corvane;
    SkinDocument& doc = skin.Document();
    UserInterface& user = skin.User();
    bool ok = true;
    {
        CKeypadButtonsDlg dialog(doc, user, &skin);
        ok = Save(dialog, out.filePath("edit-keypad-buttons.png")) && ok;
    }
    {
        CKeypadTextDlg dialog(doc, user, &skin);
        ok = Save(dialog, out.filePath("edit-keypad-text.png")) && ok;
    }
    {
        CSpeedDialDlg dialog(doc, user, &skin);
        ok = Save(dialog, out.filePath("edit-speed-dial.png")) && ok;
    }
    {
        CTitleDlg dialog(doc, user, &skin);
        ok = Save(dialog, out.filePath("edit-title.png")) && ok;
    }
    {
        CTransparencyDlg chooser(doc.Slot(doc.TargetDepth(), 5), &skin);
        ok = Save(chooser, out.filePath("choose-transparent-color.png")) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: corvane_screenshots OUTPUT_FOLDER");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir noWelcome;
    bool ok = true;
    {
        corvane::CStartDlg start([](corvane::EditorKind) { return false; });
        ok = Save(start, out.filePath("start.png")) && ok;
    }
    {
        corvane::CIntroDlg welcome;
        ok = Save(welcome, out.filePath("welcome.png")) && ok;
    }
    {
        corvane::CAboutDlg about;
        ok = Save(about, out.filePath("about.png")) && ok;
    }
    {
        corvane::CSkinEditorDlg skin(nullptr, corvane::WelcomeMarker(noWelcome.path(), noWelcome.path()));
        ok = Save(skin, out.filePath("skin-editor.png")) && ok;
        ok = SaveElementEditors(skin, out) && ok;
    }
    {
        corvane::CCarrierDlg splash;
        ok = Save(splash, out.filePath("splash-editor.png")) && ok;
    }
    return ok ? 0 : 1;
}
