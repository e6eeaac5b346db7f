// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "editor/SkinEditorWindow.h"
#include "io/FileAccess.h"
#include "model/PreviewComposition.h"
#include "model/SkinFile.h"
#include "splash/SplashEditorWindow.h"
#include "support/FailingWrites.h"
#include "support/FindWidget.h"
#include "support/ModalDriver.h"
#include "support/NoWelcome.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/UnexpectedPrompt.h"
#include "widgets/WelcomeDialog.h"
#include "widgets/QtImage.h"
#include "widgets/RecentFiles.h"

using namespace corvane;
using corvane::testing::FailOnUnexpectedPrompts;
using corvane::testing::FileSizeLimit;
using corvane::testing::NoWelcome;
using corvane::testing::ScriptedUser;
using corvane::testing::TempDir;
using corvane::testing::WhenModal;
using corvane::testing::Widget;

namespace {

const QString kSuffix = " - Corvane Desktop for Treo 650/700p";
constexpr Colour kRed{255, 0, 0};

QImage Shown(const SkinEditorWindow& w, const QString& id) { return Widget<QLabel>(w, id)->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }
QPushButton* Button(const SkinEditorWindow& w, const QString& id) { return Widget<QPushButton>(w, id); }
QAction* Action(const SkinEditorWindow& w, const QString& id) { return Widget<QAction>(w, id); }

// Both pictures show exactly the document's canvases composed at the depth.
void ExpectPreviewsComposedAt(SkinEditorWindow& w, Depth depth) {
    SkinDocument copy = w.Document();
    ComposePreviews(copy, depth);
    QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)), ToQImage(copy.ReleasedPreview()));
    QCOMPARE(Shown(w, ObjectName(ControlId::PressedPreview)), ToQImage(copy.PressedPreview()));
}

// A skin file whose title bar is red at both depths.
std::string WriteRedTitleSkin(const TempDir& dir, Depth depth) {
    SkinDocument source;
    Image red(320, 30, kRed);
    source.Slot(depth, 33).CopyFrom(red, 0, 0, depth);
    const auto bytes = EncodeSkinFile(source.Set(depth), depth, "Red", 0);
    const std::string path = dir.File("Red.pdb");
    WriteFileWithReason(path, *bytes).outcome;
    return path;
}

}  // namespace

class SkinEditorTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FailOnUnexpectedPrompts(); }

    void newWindowShowsUntitledAt16Bits() {
        NoWelcome nw;
        ScriptedUser user;
        SkinEditorWindow w(&user, nw.Marker());
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);
        QVERIFY(Button(w, ObjectName(ControlId::SixteenBits))->isChecked());
        QVERIFY(!Button(w, ObjectName(ControlId::EightBits))->isChecked());
        QCOMPARE(w.Document().TargetDepth(), Depth::Sixteen);
        ExpectPreviewsComposedAt(w, Depth::Sixteen);
        QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)).size(), QSize(320, 320));
        QCOMPARE(Button(w, ObjectName(ControlId::Open))->text(), QString("Open Skin"));
        // The menu shows "E&xit\tEsc"; the key is the item's shortcut, not part of its name.
        QCOMPARE(Action(w, ObjectName(ControlId::Exit))->text() + '\t' + Action(w, ObjectName(ControlId::Exit))->shortcut().toString(), QString("E&xit\tEsc"));
        QCOMPARE(Action(w, ObjectName(ControlId::SaveAs))->text(), QString("Save &as..."));
    }

    void openingASkinChangesBothPreviews() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(WriteRedTitleSkin(dir, Depth::Eight));
        SkinEditorWindow w(&user, nw.Marker());
        const QImage before = Shown(w, ObjectName(ControlId::ReleasedPreview)), beforePressed = Shown(w, ObjectName(ControlId::PressedPreview));
        Button(w, ObjectName(ControlId::Open))->click();
        QVERIFY(user.Messages().empty());
        QCOMPARE(w.windowTitle(), "Red.pdb" + kSuffix);
        QVERIFY(Shown(w, ObjectName(ControlId::ReleasedPreview)) != before);
        QVERIFY(Shown(w, ObjectName(ControlId::PressedPreview)) != beforePressed);
        // The file is an 8-bit skin: the editor shows it at its own depth, with the file's red.
        QVERIFY(Button(w, ObjectName(ControlId::EightBits))->isChecked());
        QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)).pixelColor(10, 40), QColor(255, 0, 0));
        ExpectPreviewsComposedAt(w, Depth::Eight);
    }

    // Choosing the depth recomposes, marks the skin, is one undo step and is
    // asked about on leaving; chosen back, the skin is the file's again.
    void depthSwitchRecomposesAndIsAChange() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.Answers(Answer::No);
        SkinEditorWindow w(&user, nw.Marker());
        // A file whose sets differ, so the switch must show in the picture.
        w.OpenPath(WriteRedTitleSkin(dir, Depth::Eight));
        QCOMPARE(w.windowTitle(), "Red.pdb" + kSuffix);
        QCOMPARE(w.Document().TargetDepth(), Depth::Eight);  // the file's own depth, without a "*"
        Button(w, ObjectName(ControlId::SixteenBits))->click();
        QCOMPARE(w.Document().TargetDepth(), Depth::Sixteen);
        QVERIFY(Button(w, ObjectName(ControlId::SixteenBits))->isChecked() && !Button(w, ObjectName(ControlId::EightBits))->isChecked());
        ExpectPreviewsComposedAt(w, Depth::Sixteen);
        // The file's 8-bit red, reduced once more for the 16-bit set on the screen.
        QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)).pixelColor(10, 40), QColor(248, 0, 0));
        QCOMPARE(w.windowTitle(), "Red.pdb*" + kSuffix);
        QAction* undo = w.findChild<QMenuBar*>()->actions()[1]->menu()->actions()[0];
        QCOMPARE(undo->text(), QString("&Undo Color Depth"));

        undo->trigger();
        QCOMPARE(w.Document().TargetDepth(), Depth::Eight);
        QVERIFY(Button(w, ObjectName(ControlId::EightBits))->isChecked() && !Button(w, ObjectName(ControlId::SixteenBits))->isChecked());
        ExpectPreviewsComposedAt(w, Depth::Eight);
        QCOMPARE(w.windowTitle(), "Red.pdb" + kSuffix);

        Button(w, ObjectName(ControlId::SixteenBits))->click();
        Button(w, ObjectName(ControlId::EightBits))->click();
        QVERIFY(!w.Document().IsModified());
        Button(w, ObjectName(ControlId::SixteenBits))->click();
        w.show();
        Button(w, ObjectName(ControlId::Exit))->click();  // "No" to saving
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You changed the current skin. Do you want to save your changes before exiting?"));
        QVERIFY(!w.isVisible());
    }

    // "notes.txt", OK on the warning, Ctrl+S: the file prompt asks, and closed, nothing is written.
    void ctrlSNeverReplacesAFileThatIsNoSkin() {
        NoWelcome nw;
        TempDir dir;
        const std::string notes = dir.File("notes.txt");
        const std::vector<std::uint8_t> text{'m', 'i', 'l', 'k', ',', ' ', 'e', 'g', 'g', 's', '\n'};
        testing::WriteBytes(notes, text);
        ScriptedUser user;
        user.ChoosesFile(std::nullopt);
        SkinEditorWindow w(&user, nw.Marker());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.OpenPath(notes);
        QCOMPARE(user.MessageTexts(), std::vector<std::string>{"Skin file was not generated by Corvane Desktop.\n\n"
                                                               "35 resources cannot not be imported."});
        QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(testing::ReadBytes(notes), text);
        QCOMPARE(user.FileCalls().size(), std::size_t{1});
        QVERIFY(user.FileCalls()[0].save);
        QCOMPARE(user.FileCalls()[0].prompt.proposedName, notes);
        QVERIFY(user.FileCalls()[0].prompt.confirmOverwrite);
        QCOMPARE(user.Messages().size(), std::size_t{1});  // no "Skin saved successfully."
    }

    // A recent file that is gone says which and why, and leaves the list; Clear List empties it.
    void recentFileThatIsGoneLeavesTheList() {
        NoWelcome nw;
        TempDir dir;
        const QString gone = QString::fromStdString(dir.File("gone.pdb"));
        const QString kept = QString::fromStdString(WriteRedTitleSkin(dir, Depth::Sixteen));
        const RecentFiles recent("recent/skins");
        recent.Clear();
        recent.Add(kept);
        recent.Add(gone);
        ScriptedUser user;
        SkinEditorWindow w(&user, nw.Marker());
        QMenu* menu = w.findChild<QMenuBar*>()->actions()[0]->menu()->actions()[2]->menu();
        QVERIFY(menu && menu->actions()[0]->text().endsWith(gone));
        menu->actions()[0]->trigger();
        QCOMPARE(user.MessageTexts(), std::vector<std::string>{"Could not open file."});
        QCOMPARE(recent.Files(), QStringList{kept});
        emit menu->aboutToShow();
        Widget<QAction>(w, "clear recent")->trigger();
        QVERIFY(recent.Files().isEmpty());
    }

    // Zoom repeats pixels in whole steps, 1x to 4x; marked see-through pixels
    // leave the covered ones alone; the status bar names the pixel under the pointer.
    void viewMenuZoomsMarksAndTellsThePixel() {
        NoWelcome nw;
        ScriptedUser user;
        SkinEditorWindow w(&user, nw.Marker());
        w.Document().Slot(Depth::Sixteen, 33).CopyFrom(Image(320, 30, kRed), 0, 0, Depth::Sixteen);
        w.RefreshPreviews();
        const QImage actual = Shown(w, ObjectName(ControlId::ReleasedPreview));
        const std::pair<const char*, int> steps[] = {{"zoom in", 2}, {"zoom in", 3}, {"zoom in", 4},
                                                     {"zoom in", 4}, {"zoom out", 3}, {"actual size", 1}};
        for (const auto& [action, zoom] : steps) {
            Action(w, action)->trigger();
            const QImage shown = Shown(w, ObjectName(ControlId::ReleasedPreview));
            QCOMPARE(shown.size(), QSize(320, 320) * zoom);
            for (const QPoint p : {QPoint(10, 40), QPoint(319, 319), QPoint(150, 200)})
                for (const QPoint d : {QPoint(0, 0), QPoint(zoom - 1, zoom - 1)}) QCOMPARE(shown.pixel(p * zoom + d), actual.pixel(p));
        }

        Action(w, "show transparent")->setChecked(true);
        const QImage marked = Shown(w, ObjectName(ControlId::ReleasedPreview));
        QVERIFY(marked.pixel(5, 2) != actual.pixel(5, 2));  // above the title bar, nothing covers the screen
        QCOMPARE(marked.pixel(10, 40), actual.pixel(10, 40));  // the red title bar does
        Action(w, "show transparent")->setChecked(false);
        QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)), actual);

        Action(w, "zoom in")->trigger();
        auto* preview = Widget<QLabel>(w, ObjectName(ControlId::ReleasedPreview));
        QMouseEvent move(QEvent::MouseMove, QPointF(21, 81), preview->mapToGlobal(QPointF(21, 81)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(preview, &move);
        QCOMPARE(Widget<QLabel>(w, "pointer")->text(), QString("Preview (320x320): 10, 40 #F80000"));
    }

    void resetAsksOnlyWhenModified() {
        NoWelcome nw;
        ScriptedUser user;
        user.Answers(Answer::No).Answers(Answer::Yes);
        SkinEditorWindow w(&user, nw.Marker());
        w.Document().Slot(Depth::Sixteen, 33).CopyFrom(Image(320, 30, kRed), 0, 0, Depth::Sixteen);
        w.Document().MarkModified();
        w.Document().SetFilePath("/tmp/x/Mine.pdb");
        w.Refresh();
        QCOMPARE(w.windowTitle(), "Mine.pdb*" + kSuffix);

        Action(w, ObjectName(ControlId::Reset))->trigger();  // No
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You changed the current skin and did not save your changes. Reset all bitmaps anyway?"));
        QCOMPARE(w.windowTitle(), "Mine.pdb*" + kSuffix);

        Action(w, ObjectName(ControlId::Reset))->trigger();  // Yes
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);
        QVERIFY(!w.Document().IsModified());
        ExpectPreviewsComposedAt(w, Depth::Sixteen);
        QVERIFY(Shown(w, ObjectName(ControlId::ReleasedPreview)).pixelColor(10, 40) != QColor(255, 0, 0));

        Action(w, ObjectName(ControlId::Reset))->trigger();  // unmodified: no question
        QCOMPARE(user.Messages().size(), std::size_t{2});
        QVERIFY(user.ScriptUsedUp());
    }

    void saveOnUntitledAsksForAName() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(dir.File("My.Skin.pdb"));
        SkinEditorWindow w(&user, nw.Marker());
        w.Document().MarkModified();
        Button(w, ObjectName(ControlId::Save))->click();
        QCOMPARE(user.FileCalls().size(), std::size_t{1});
        const auto& call = user.FileCalls()[0];
        QVERIFY(call.save);
        QCOMPARE(call.prompt.filter, std::string("Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||"));
        QCOMPARE(call.prompt.defaultExtension, std::string("pdb"));
        QCOMPARE(call.prompt.proposedName, std::string("untitled.pdb"));
        QVERIFY(call.prompt.confirmOverwrite);
        QCOMPARE(user.MessageTexts(), std::vector<std::string>{"Skin saved successfully."});
        QCOMPARE(w.windowTitle(), "My.Skin.pdb" + kSuffix);
        QVERIFY(FileExists(dir.File("My.Skin.pdb")));
    }

    void exitQuestionYesNoCancel() {
        NoWelcome nw;
        ScriptedUser user;
        user.Answers(Answer::Cancel).Answers(Answer::Cancel).Answers(Answer::No);
        SkinEditorWindow w(&user, nw.Marker());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.Document().MarkModified();
        Button(w, ObjectName(ControlId::Exit))->click();
        QVERIFY(w.isVisible());
        QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);  // Ctrl+Q asks as Exit does
        QVERIFY(w.isVisible());
        QCOMPARE(user.Messages().size(), std::size_t{2});
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You changed the current skin. Do you want to save your changes before exiting?"));
        QCOMPARE(user.Messages().back().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(user.Messages().back().icon, MessageIcon::Question);
        QCOMPARE(*user.Messages().back().caption, std::string("corvane-desktop"));
        QTest::keyClick(&w, Qt::Key_Escape);  // No
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void yesWithSaveCancelledStaysOpenYesWithSaveLeaves() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.Answers(Answer::Yes).ChoosesFile(std::nullopt).Answers(Answer::Yes).ChoosesFile(dir.File("a.pdb"));
        SkinEditorWindow w(&user, nw.Marker());
        w.show();
        w.Document().MarkModified();
        Action(w, ObjectName(ControlId::Accept))->trigger();
        QVERIFY(w.isVisible());
        QVERIFY(w.Document().IsModified());
        Action(w, ObjectName(ControlId::Accept))->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(FileExists(dir.File("a.pdb")));
        QVERIFY(user.ScriptUsedUp());
    }

    void yesWithFailedWriteStaysOpen() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.Answers(Answer::Yes);
        SkinEditorWindow w(&user, nw.Marker());
        w.show();
        w.Document().SetFilePath(dir.File("b.pdb"));
        w.Document().MarkModified();
        {
            const FileSizeLimit full;  // the disk takes no more bytes
            Button(w, ObjectName(ControlId::Exit))->click();
        }
        QVERIFY(w.isVisible());
        QCOMPARE(user.MessageTexts().back(), std::string("Error writing skin file."));
        QCOMPARE(w.windowTitle(), "b.pdb*" + kSuffix);
    }

    void welcomeComesFirstAndOkWithTickCreatesMarker() {
        QTemporaryDir program, config;
        WelcomeMarker marker(program.path(), config.path());
        ScriptedUser user;
        SkinEditorWindow w(&user, marker);
        QString firstTitle;
        bool editorVisibleDuringWelcome = true;
        WhenModal([&](QWidget* welcome) {
            firstTitle = welcome->windowTitle();
            editorVisibleDuringWelcome = w.isVisible();
            Widget<QCheckBox>(welcome, ObjectName(ControlId::DoNotShowAgain))->setChecked(true);
            WhenModal([](QWidget* editor) { Widget<QPushButton>(editor, ObjectName(ControlId::Exit))->click(); });
            Widget<QPushButton>(welcome, ObjectName(ControlId::Accept))->click();
        });
        QCOMPARE(w.exec(), int(QDialog::Rejected));
        QCOMPARE(firstTitle, QString("Welcome"));
        QVERIFY(!editorVisibleDuringWelcome);
        QVERIFY(marker.Exists());
    }

    void alternatingEditorsKeepsNothingAlive() {
        NoWelcome nw;
        ScriptedUser user;
        auto runBoth = [&] {
            for (int i = 0; i < 2; ++i) {
                {
                    SkinEditorWindow skin(&user, nw.Marker());
                    WhenModal([](QWidget* w) { Widget<QAction>(w, ObjectName(ControlId::Accept))->trigger(); });
                    QCOMPARE(skin.exec(), int(QDialog::Accepted));
                }
                {
                    SplashEditorWindow splash(&user);
                    WhenModal([](QWidget* w) { Widget<QAction>(w, ObjectName(ControlId::Accept))->trigger(); });
                    QCOMPARE(splash.exec(), int(QDialog::Accepted));
                }
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        runBoth();
        const auto widgetsAfterFirst = QApplication::allWidgets().size();
        for (int round = 0; round < 5; ++round) runBoth();
        QCOMPARE(QApplication::allWidgets().size(), widgetsAfterFirst);
    }
};

QTEST_MAIN(SkinEditorTest)
#include "SkinEditorTest.moc"
