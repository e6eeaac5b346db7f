// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Undo and redo in both editors, the keyboard in the colour chooser and the
// skin editor, and opening a file named on the command line.
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "app/EditorApp.h"
#include "editor/ChooserPicture.h"
#include "editor/ElementEditor.h"
#include "editor/SkinEditorWindow.h"
#include "editor/ColourChooser.h"
#include "imaging/Bmp.h"
#include "io/FileAccess.h"
#include "model/SkinFile.h"
#include "model/SplashFile.h"
#include "pdb/SplashCodec.h"
#include "splash/SplashEditorWindow.h"
#include "support/FindWidget.h"
#include "support/ModalDriver.h"
#include "support/NoWelcome.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/UnexpectedPrompt.h"
#include "widgets/UndoHistory.h"

using namespace corvane;
using corvane::testing::FailOnUnexpectedPrompts;
using corvane::testing::NoWelcome;
using corvane::testing::ScriptedUser;
using corvane::testing::TempDir;
using corvane::testing::WhenModal;
using corvane::testing::RowControl;
using corvane::testing::Widget;

namespace {

const std::string kSplashData = std::string(CORVANE_SOURCE_DIR) + "/tests/data/splash/";

// What the user can see of a skin, and what saving would write.
struct Seen {
    SlotSet set8, set16;
    QImage released, pressed;
    bool modified;
    QString title;
    bool operator==(const Seen&) const = default;
};

Seen SeenIn(const SkinEditorWindow& w) {
    auto shown = [&](const QString& id) { return Widget<QLabel>(w, id)->pixmap().toImage(); };
    auto& doc = const_cast<SkinEditorWindow&>(w).Document();
    return {doc.Set(Depth::Eight), doc.Set(Depth::Sixteen), shown(ObjectName(ControlId::ReleasedPreview)), shown(ObjectName(ControlId::PressedPreview)), doc.IsModified(), w.windowTitle()};
}

void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(w, key, modifiers);
}

// Picks the element's first pixel that is not see-through, and confirms with OK.
void PickAndConfirm(const SkinDocument& doc, int element) {
    const ImageSlot& slot = doc.Slot(doc.TargetDepth(), element);
    QPoint pixel;
    while (slot.Picture().At(pixel.x(), pixel.y()) == slot.Transparent())
        pixel = pixel.x() + 1 < slot.Width() ? QPoint(pixel.x() + 1, pixel.y()) : QPoint(0, pixel.y() + 1);
    WhenModal([pixel](QWidget* chooser) {
        QTest::mouseClick(Widget<ChooserPicture>(chooser, ObjectName(ControlId::ChooserPicture)), Qt::LeftButton, {},
                          pixel * ChooserPicture::kZoom + QPoint(1, 1));
        Widget<QPushButton>(chooser, ObjectName(ControlId::Accept))->click();
    });
}

}  // namespace

class EditHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FailOnUnexpectedPrompts(); }

    // Each command, done, undone with Ctrl+Z and redone with Ctrl+Shift+Z,
    // in the editor where the user gave it.
    void everySkinCommandIsUndoneAndRedone() {
        TempDir dir;
        QVERIFY(WriteBmpFile(Image(102, 46, Colour{255, 0, 0}), dir.File("5.bmp")));
        QVERIFY(WriteBmpFile(Image(306, 184, Colour{0, 0, 200}), dir.File("blue.bmp")));
        struct Row {
            const char* name;
            bool inElementEditor;
            std::function<void(ScriptedUser&)> script;
            std::function<void(SkinEditorWindow&, QWidget* keys)> command;
        };
        auto trigger = [](const QString& id) { return [id](SkinEditorWindow& w, QWidget*) { Widget<QAction>(w, id)->trigger(); }; };
        auto click = [](const QString& id) { return [id](SkinEditorWindow&, QWidget* e) { Widget<QPushButton>(e, id)->click(); }; };
        auto pick = [](const QString& id, int element) {
            return [id, element](SkinEditorWindow& w, QWidget* e) {
                PickAndConfirm(w.Document(), element);
                Widget<QPushButton>(e, id)->click();
            };
        };
        auto none = [](ScriptedUser&) {};
        const std::vector<Row> rows{
            {"Load Image", true, [&](ScriptedUser& u) { u.ChoosesFile(dir.File("5.bmp")); }, click(RowControl(Element::Key5, &ElementRow::load))},
            {"Transparent Color", true, none, pick(RowControl(Element::Key5, &ElementRow::transparent), 5)},
            {"share", true, none, pick(QString::number(kShareButtonId), 0)},
            {"Import Bitmaps", false, [&](ScriptedUser& u) { u.ChoosesFolder(dir.Path().string()); }, trigger(ObjectName(ControlId::ImportBitmaps))},
            {"Insert Background", false, [&](ScriptedUser& u) { u.Answers(Answer::Ok).ChoosesFile(dir.File("blue.bmp")); },
             trigger(ObjectName(ControlId::InsertBackground))},
            {"Import Dialpad Bitmaps", false,
             [&](ScriptedUser& u) { u.Answers(Answer::Ok).ChoosesFile(dir.File("blue.bmp")).ChoosesFile(dir.File("blue.bmp")); },
             trigger(ObjectName(ControlId::ImportDialpad))},
            // After Import Bitmaps, so that there is something to reset; "Yes" to resetting modified work.
            {"Reset", false, [&](ScriptedUser& u) { u.ChoosesFolder(dir.Path().string()).Answers(Answer::Yes); },
             [](SkinEditorWindow& w, QWidget*) {
                 Widget<QAction>(w, ObjectName(ControlId::ImportBitmaps))->trigger();
                 Widget<QAction>(w, ObjectName(ControlId::Reset))->trigger();
             }},
        };
        for (const Row& row : rows) {
            NoWelcome nw;
            ScriptedUser user;
            row.script(user);
            SkinEditorWindow w(&user, nw.Marker());
            w.show();
            // Reset's row undoes only the reset, back to the imported bitmaps.
            const bool reset = QString(row.name) == "Reset";
            bool checked = false;
            auto check = [&](QWidget* keys) {
                QVERIFY(QTest::qWaitForWindowActive(keys));
                const Seen before = SeenIn(w);
                row.command(w, keys);
                if (reset) w.History().Undo();
                const Seen undone = SeenIn(w);
                if (reset) w.History().Redo();
                const Seen done = SeenIn(w);
                QVERIFY2(!(done == (reset ? undone : before)), row.name);
                QVERIFY2(done.modified != reset, row.name);
                keys->activateWindow();  // the offscreen platform leaves the closed chooser active
                QVERIFY(QTest::qWaitForWindowActive(keys));
                Press(keys, Qt::Key_Z, Qt::ControlModifier);
                QVERIFY2(SeenIn(w) == (reset ? undone : before), row.name);
                Press(keys, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
                QVERIFY2(SeenIn(w) == done, row.name);
                checked = true;
            };
            if (row.inElementEditor) {
                WhenModal([&](QWidget* editor) {
                    check(editor);
                    static_cast<QDialog*>(editor)->accept();
                });
                Widget<QPushButton>(w, ObjectName(ControlId::EditKeypadText))->click();
            } else {
                check(&w);
            }
            QVERIFY2(checked && user.ScriptUsedUp(), row.name);
        }
    }

    // Undoing back to the saved state clears the "*"; the Edit menu names the command.
    void undoAfterSaveReturnsToTheSavedState() {
        NoWelcome nw;
        TempDir dir;
        QVERIFY(WriteBmpFile(Image(306, 184, Colour{0, 0, 200}), dir.File("blue.bmp")));
        ScriptedUser user;
        user.ChoosesFile(dir.File("a.pdb")).Answers(Answer::Ok).Answers(Answer::Ok).ChoosesFile(dir.File("blue.bmp"));
        SkinEditorWindow w(&user, nw.Marker());
        Widget<QAction>(w, ObjectName(ControlId::SaveAs))->trigger();  // Save as: "Skin saved successfully."
        Widget<QAction>(w, ObjectName(ControlId::InsertBackground))->trigger();
        QCOMPARE(w.windowTitle(), QString("a.pdb* - Corvane Desktop for Treo 650/700p"));
        QMenu* edit = w.findChild<QMenuBar*>()->actions()[1]->menu();
        QCOMPARE(edit->actions()[0]->text(), QString("&Undo Insert Background Image"));
        edit->actions()[0]->trigger();
        QCOMPARE(w.windowTitle(), QString("a.pdb - Corvane Desktop for Treo 650/700p"));
        QVERIFY(!w.Document().IsModified());
    }

    // Open, Reset, Ctrl+Z: the file's own content again, so no "*", and no
    // question on leaving; Ctrl+Y gives the untouched new skin, also unmarked.
    void resetAndItsUndoLeaveNoMark() {
        NoWelcome nw;
        TempDir dir;
        const std::string skin = dir.File("Red.pdb");
        SkinDocument source;
        source.Slot(Depth::Sixteen, 33).CopyFrom(Image(320, 30, Colour{255, 0, 0}), 0, 0, Depth::Sixteen);
        QVERIFY(WriteFileWithReason(skin, *EncodeSkinFile(source.Set(Depth::Sixteen), Depth::Sixteen, "Red", 0)).outcome == WriteOutcome::Ok);
        ScriptedUser user;
        SkinEditorWindow w(&user, nw.Marker());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.OpenPath(skin);
        const Seen opened = SeenIn(w);
        Widget<QAction>(w, ObjectName(ControlId::Reset))->trigger();
        QCOMPARE(w.windowTitle(), QString("untitled.pdb - Corvane Desktop for Treo 650/700p"));
        Press(&w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(SeenIn(w) == opened);
        QCOMPARE(w.windowTitle(), QString("Red.pdb - Corvane Desktop for Treo 650/700p"));
        Press(&w, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.windowTitle(), QString("untitled.pdb - Corvane Desktop for Treo 650/700p"));
        Press(&w, Qt::Key_Z, Qt::ControlModifier);
        Widget<QAction>(w, ObjectName(ControlId::Accept))->trigger();  // to the splash editor: nothing to ask
        QVERIFY(!w.isVisible());
        QVERIFY(user.Messages().empty());
    }

    void splashPictureLoadIsUndoneAndRedone() {
        ScriptedUser user;
        user.ChoosesFile(kSplashData + "baseline-320x320.jpg");
        SplashEditorWindow w(&user);
        auto* picture = Widget<QLabel>(w, "Welcome picture");
        Widget<QPushButton>(w, ObjectName(ControlId::LoadWelcome))->click();
        QCOMPARE(picture->pixmap().deviceIndependentSize(), QSizeF(160, 160));
        QVERIFY(w.Splash().IsModified());
        w.History().Undo();
        QVERIFY(picture->pixmap().isNull());
        QVERIFY(!w.Splash().HasImage(SplashDocument::WelcomeId));
        QCOMPARE(w.windowTitle(), QString("untitled.pdb - Corvane Desktop for Treo 650/700p"));
        w.History().Redo();
        QVERIFY(w.Splash().HasImage(SplashDocument::WelcomeId));
        QVERIFY(!picture->pixmap().isNull());
    }

    // Enter goes to the focused button: Cancel never stores, and the editor's
    // buttons take Enter as they take Space.
    void enterPressesTheFocusedButton() {
        ImageSlot slot(Image(3, 2, Colour{255, 0, 0}), kPureGreen);
        ColourChooser chooser(slot);
        chooser.show();
        QTest::mouseClick(Widget<ChooserPicture>(chooser, ObjectName(ControlId::ChooserPicture)), Qt::LeftButton, {}, QPoint(5, 5));
        auto* cancel = Widget<QPushButton>(chooser, ObjectName(ControlId::Exit));
        cancel->setFocus();
        Press(cancel, Qt::Key_Return);
        QCOMPARE(chooser.result(), int(QDialog::Rejected));
        QCOMPARE(slot.Transparent(), kPureGreen);

        NoWelcome nw;
        ScriptedUser user;
        SkinEditorWindow w(&user, nw.Marker());
        w.show();
        auto* eightBit = Widget<QPushButton>(w, ObjectName(ControlId::EightBits));
        eightBit->setFocus();
        Press(eightBit, Qt::Key_Return);
        QCOMPARE(w.Document().TargetDepth(), Depth::Eight);
        // A choice of one, not a check box.
        QCOMPARE(QAccessible::queryAccessibleInterface(eightBit)->role(), QAccessible::RadioButton);
        QVERIFY(QAccessible::queryAccessibleInterface(eightBit)->state().checked);
    }

    void chooserKeepsTheKeyboardCursorInSight() {
        ImageSlot slot(Image(320, 30, Colour{0, 0, 255}), kPureGreen);
        ColourChooser chooser(slot);
        chooser.show();
        auto* picture = Widget<ChooserPicture>(chooser, ObjectName(ControlId::ChooserPicture));
        auto* scroller = chooser.findChild<QScrollArea*>();
        picture->setFocus();
        for (int i = 0; i < 319; ++i) Press(picture, Qt::Key_Right);
        QCOMPARE(scroller->horizontalScrollBar()->value(), scroller->horizontalScrollBar()->maximum());
    }

    void fileFromTheCommandLineOpensInItsEditor() {
        TempDir dir;
        const std::string skin = dir.File("Red.pdb");
        SkinDocument source;
        QVERIFY(WriteFileWithReason(skin, *EncodeSkinFile(source.Set(Depth::Sixteen), Depth::Sixteen, "Red", 0)).outcome == WriteOutcome::Ok);
        const std::string splash = dir.File("Hello.pdb");
        ScriptedUser user;
        SplashDocument file;
        LoadSplashImage(file, user, SplashDocument::WelcomeId, kSplashData + "baseline-320x320.jpg");
        LoadSplashImage(file, user, SplashDocument::GoodbyeId, kSplashData + "baseline-320x320.jpg");
        QVERIFY(WriteFileWithReason(splash, *BuildSplashFile("Hello", file.WelcomeBytes(), file.GoodbyeBytes(), 0)).outcome ==
                WriteOutcome::Ok);
        QVERIFY(EditorKindForFile(skin) == EditorKind::Skin);
        QVERIFY(EditorKindForFile(splash) == EditorKind::Splash);

        // The welcome dialog stays away: its marker sits in the test's configuration folder.
        const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        QDir().mkpath(config);
        QFile(config + "/no.welcome").open(QIODevice::WriteOnly);
        for (const auto& [path, kind, name] :
             {std::tuple{skin, EditorKind::Skin, "Red.pdb"}, std::tuple{splash, EditorKind::Splash, "Hello.pdb"}}) {
            QString title;
            WhenModal([&title](QWidget* editor) {
                // The file opens once the window shows.
                QTRY_VERIFY(!editor->windowTitle().startsWith("untitled"));
                title = editor->windowTitle();
                static_cast<QDialog*>(editor)->reject();
            });
            QVERIFY(!RunEditor(kind, path));
            QCOMPARE(title, QString(name) + " - Corvane Desktop for Treo 650/700p");
        }
    }
};

QTEST_MAIN(EditHistoryTest)
#include "EditHistoryTest.moc"
