#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "editor/CSkinEditorDlg.h"
#include "io/FileAccess.h"
#include "model/PreviewComposition.h"
#include "model/SkinFile.h"
#include "splash/CCarrierDlg.h"
#include "support/FindWidget.h"
#include "support/ModalDriver.h"
#include "support/NoWelcome.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/UnexpectedPrompt.h"
#include "widgets/CIntroDlg.h"
#include "widgets/QtImage.h"

using namespace corvane;
using corvane::testing::FailOnUnexpectedPrompts;
using corvane::testing::NoWelcome;
using corvane::testing::ScriptedUser;
using corvane::testing::TempDir;
using corvane::testing::WhenModal;
using corvane::testing::Widget;

namespace {

const QString kSuffix = " - Corvane Desktop for Treo 650/700p";
constexpr Colour kRed{255, 0, 0};

QImage Shown(const CSkinEditorDlg& w, const char* id) { return Widget<QLabel>(w, id)->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }
QPushButton* Button(const CSkinEditorDlg& w, const char* id) { return Widget<QPushButton>(w, id); }
QAction* Action(const CSkinEditorDlg& w, const char* id) { return Widget<QAction>(w, id); }

// Both pictures show exactly the document's canvases composed at the depth.
void ExpectPreviewsComposedAt(CSkinEditorDlg& w, int depth) {
    SkinDocument copy = w.Document();
    ComposePreviews(copy, depth);
    QCOMPARE(Shown(w, "1001"), ToQImage(copy.ReleasedPreview()));
    QCOMPARE(Shown(w, "1005"), ToQImage(copy.PressedPreview()));
}

// A skin file whose title bar is red at both depths.
std::string WriteRedTitleSkin(const TempDir& dir, int depth) {
    SkinDocument source;
    Image red(320, 30, kRed);
    source.Slot(depth, 33).CopyFrom(red, 0, 0, depth);
    const auto bytes = EncodeSkinFile(source.Set(depth), depth, "Red", 0);
    const std::string path = dir.File("Red.pdb");
    WriteFileReplacing(path, *bytes);
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
        CSkinEditorDlg w(&user, nw.Marker());
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);
        QVERIFY(Button(w, "1072")->isChecked());
        QVERIFY(!Button(w, "1071")->isChecked());
        QCOMPARE(w.Document().TargetDepth(), 16);
        ExpectPreviewsComposedAt(w, 16);
        QCOMPARE(Shown(w, "1001").size(), QSize(320, 320));
        QCOMPARE(Button(w, "57601")->text(), QString("Open Skin"));
        // The menu shows "E&xit\tEsc"; the key is the item's shortcut, not part of its name.
        QCOMPARE(Action(w, "2")->text() + '\t' + Action(w, "2")->shortcut().toString(), QString("E&xit\tEsc"));
        QCOMPARE(Action(w, "32779")->text(), QString("Save &as..."));
    }

    void openingASkinChangesBothPreviews() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(WriteRedTitleSkin(dir, 8));
        CSkinEditorDlg w(&user, nw.Marker());
        const QImage before = Shown(w, "1001"), beforePressed = Shown(w, "1005");
        Button(w, "57601")->click();
        QVERIFY(user.Messages().empty());
        QCOMPARE(w.windowTitle(), "Red.pdb" + kSuffix);
        QVERIFY(Shown(w, "1001") != before);
        QVERIFY(Shown(w, "1005") != beforePressed);
        // The file's 8-bit red, reduced once more for the 16-bit set on the screen.
        QCOMPARE(Shown(w, "1001").pixelColor(10, 40), QColor(248, 0, 0));
        ExpectPreviewsComposedAt(w, 16);
    }

    void depthSwitchRecomposesWithoutMarkingModified() {
        NoWelcome nw;
        ScriptedUser user;
        CSkinEditorDlg w(&user, nw.Marker());
        // Make the sets differ so the switch must show in the picture.
        w.Document().Slot(8, 33).CopyFrom(Image(320, 30, kRed), 0, 0, 8);
        Button(w, "1071")->click();
        QCOMPARE(w.Document().TargetDepth(), 8);
        QVERIFY(Button(w, "1071")->isChecked() && !Button(w, "1072")->isChecked());
        ExpectPreviewsComposedAt(w, 8);
        QCOMPARE(Shown(w, "1001").pixelColor(10, 40), QColor(255, 0, 0));
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);
        Button(w, "1072")->click();
        ExpectPreviewsComposedAt(w, 16);
        QVERIFY(!w.Document().IsModified());
    }

    void resetAsksOnlyWhenModified() {
        NoWelcome nw;
        ScriptedUser user;
        user.Answers(Answer::No).Answers(Answer::Yes);
        CSkinEditorDlg w(&user, nw.Marker());
        w.Document().Slot(16, 33).CopyFrom(Image(320, 30, kRed), 0, 0, 16);
        w.Document().MarkModified();
        w.Document().SetFilePath("/tmp/x/Mine.pdb");
        w.UpdateTitle();
        QCOMPARE(w.windowTitle(), "Mine.pdb*" + kSuffix);

        Action(w, "57600")->trigger();  // No
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You changed the current skin and did not save your changes. Reset all bitmaps anyway?"));
        QCOMPARE(w.windowTitle(), "Mine.pdb*" + kSuffix);

        Action(w, "57600")->trigger();  // Yes
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);
        QVERIFY(!w.Document().IsModified());
        ExpectPreviewsComposedAt(w, 16);
        QVERIFY(Shown(w, "1001").pixelColor(10, 40) != QColor(255, 0, 0));

        Action(w, "57600")->trigger();  // unmodified: no question
        QCOMPARE(user.Messages().size(), std::size_t{2});
        QVERIFY(user.ScriptUsedUp());
    }

    void saveOnUntitledAsksForAName() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(dir.File("My.Skin.pdb"));
        CSkinEditorDlg w(&user, nw.Marker());
        w.Document().MarkModified();
        Button(w, "57603")->click();
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
        user.Answers(Answer::Cancel).Answers(Answer::No);
        CSkinEditorDlg w(&user, nw.Marker());
        w.show();
        w.Document().MarkModified();
        Button(w, "2")->click();
        QVERIFY(w.isVisible());
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
        CSkinEditorDlg w(&user, nw.Marker());
        w.show();
        w.Document().MarkModified();
        Action(w, "1")->trigger();
        QVERIFY(w.isVisible());
        QVERIFY(w.Document().IsModified());
        Action(w, "1")->trigger();
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
        CSkinEditorDlg w(&user, nw.Marker());
        w.show();
        w.Document().SetFilePath(dir.File("b.pdb"));
        w.Document().MarkModified();
        SetWriteFaultForTesting(WriteFault::WriteFails);
        Button(w, "2")->click();
        SetWriteFaultForTesting(WriteFault::None);
        QVERIFY(w.isVisible());
        QCOMPARE(user.MessageTexts().back(), std::string("Error writing skin file."));
        QCOMPARE(w.windowTitle(), "b.pdb*" + kSuffix);
    }

    void welcomeComesFirstAndOkWithTickCreatesMarker() {
        QTemporaryDir program, config;
        WelcomeMarker marker(program.path(), config.path());
        ScriptedUser user;
        CSkinEditorDlg w(&user, marker);
        QString firstTitle;
        bool editorVisibleDuringWelcome = true;
        WhenModal([&](QWidget* welcome) {
            firstTitle = welcome->windowTitle();
            editorVisibleDuringWelcome = w.isVisible();
            Widget<QCheckBox>(welcome, "1082")->setChecked(true);
            WhenModal([](QWidget* editor) { Widget<QPushButton>(editor, "2")->click(); });
            Widget<QPushButton>(welcome, "1")->click();
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
                    CSkinEditorDlg skin(&user, nw.Marker());
                    WhenModal([](QWidget* w) { Widget<QAction>(w, "1")->trigger(); });
                    QCOMPARE(skin.exec(), int(QDialog::Accepted));
                }
                {
                    CCarrierDlg splash(&user);
                    WhenModal([](QWidget* w) { Widget<QAction>(w, "1")->trigger(); });
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
