// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the README's screenshots: the start, welcome and about dialogs, the
// skin editor with the default skin, its element editors and colour chooser,
// zoomed with its see-through pixels marked, and with a skin made by Insert
// Background Image, and the splash editor, each
// window grabbed by Qt itself.
// Usage: corvane_screenshots OUTPUT_FOLDER
#include <QAction>
#include <QApplication>
#include <cmath>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include "app/CStartDlg.h"
#include "editor/CElementDlg.h"
#include "editor/CSkinEditorDlg.h"
#include "editor/CTransparencyDlg.h"
#include "exchange/Dialpad.h"
#include "io/FileAccess.h"
#include "pdb/SplashCodec.h"
#include "platform/QtPictureReader.h"
#include "splash/CCarrierDlg.h"
#include "widgets/CAboutDlg.h"
#include "widgets/CIntroDlg.h"

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
        CTransparencyDlg chooser(doc.Slot(doc.TargetDepth(), corvane::Element::Key5), &skin);
        ok = Save(chooser, out.filePath("choose-transparent-color.png")) && ok;
    }
    return ok;
}

// A sky with a sun and hills: the background of the Insert Background screenshot.
corvane::Image Sky() {
    corvane::Image sky(306, 184);
    for (int y = 0; y < sky.Height(); ++y)
        for (int x = 0; x < sky.Width(); ++x) {
            const double t = y / 183.0;
            corvane::Colour c{static_cast<std::uint8_t>(120 + 130 * t), static_cast<std::uint8_t>(170 + 30 * t),
                              static_cast<std::uint8_t>(230 - 80 * t)};
            const int sx = x - 228, sy = y - 118;
            if (sx * sx + sy * sy < 34 * 34) c = {255, 232, 130};
            if (y > 150 + 12 * std::sin(x / 30.0)) c = {150, 195, 125};
            sky.Set(x, y, c);
        }
    return sky;
}

// A dial button that is only a rounded outline, see-through (pure green) inside
// and out, so the inserted background shows behind every key label.
corvane::Image OutlineButton(corvane::Colour line) {
    const auto inside = [](int x, int y, int inset) {
        const int r = 9, left = inset, top = inset, right = 101 - inset, bottom = 45 - inset;
        if (x < left || x > right || y < top || y > bottom) return false;
        const int cx = x < left + r ? left + r : x > right - r ? right - r : x;
        const int cy = y < top + r ? top + r : y > bottom - r ? bottom - r : y;
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
    corvane::Image button(102, 46, corvane::kPureGreen);
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 102; ++x)
            if (inside(x, y, 3) && !inside(x, y, 5)) button.Set(x, y, line);
    return button;
}

// The skin editor after Insert Background Image on a skin with outline buttons.
bool SaveBackgroundSkin(const QString& path, const QString& noWelcomeFolder) {
    corvane::CSkinEditorDlg skin(nullptr, corvane::WelcomeMarker(noWelcomeFolder, noWelcomeFolder));
    corvane::SkinDocument& document = skin.Document();
    for (const int depth : {8, 16}) {
        document.Slot(depth, corvane::Element::DialButton).CopyFrom(OutlineButton(corvane::kWhite), 0, 0, depth);
        document.Slot(depth, corvane::Element::DialButtonPressed).CopyFrom(OutlineButton(corvane::Colour{255, 160, 40}), 0, 0, depth);
    }
    document.SetFilePath("Evening.pdb");
    corvane::InsertBackgroundPicture(document, Sky());
    skin.UpdateTitle();
    skin.RefreshPreviews();
    return Save(skin, path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::QtPictureReader::Install();
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
        // The View menu at work: twice enlarged, see-through pixels marked,
        // and the status bar naming the pixel under the pointer.
        skin.findChild<QAction*>("zoom in")->trigger();
        skin.findChild<QAction*>("show transparent")->setChecked(true);
        skin.ShowPointer("5 (102x46): 37, 12 #F8FCF8");
        ok = Save(skin, out.filePath("skin-editor-view.png")) && ok;
    }
    ok = SaveBackgroundSkin(out.filePath("skin-background.png"), noWelcome.path()) && ok;
    {
        // A splash of two of the test pictures, opened as a dropped file would be.
        const auto welcome = corvane::ReadWholeFile("tests/data/splash/baseline-320x320.jpg");
        const auto goodbye = corvane::ReadWholeFile("tests/data/splash/progressive-320x320.jpg");
        const auto bytes = corvane::BuildSplashFile("Sample", welcome.value_or(std::vector<std::uint8_t>{}),
                                                    goodbye.value_or(std::vector<std::uint8_t>{}), 0);
        const std::string path = QDir(noWelcome.path()).filePath("Sample.pdb").toStdString();
        ok = bytes && corvane::WriteFileReplacing(path, *bytes) == corvane::WriteOutcome::Ok && ok;
        corvane::CCarrierDlg splash;
        splash.OpenPath(path);
        ok = Save(splash, out.filePath("splash-editor.png")) && ok;
    }
    return ok ? 0 : 1;
}
