// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "io/FileAccess.h"
#include "splash/SplashEditorWindow.h"
#include "support/FindWidget.h"
#include "support/ModalDriver.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/UnexpectedPrompt.h"

using namespace corvane;
using corvane::testing::FailOnUnexpectedPrompts;
using corvane::testing::ScriptedUser;
using corvane::testing::TempDir;
using corvane::testing::WhenModal;
using corvane::testing::Widget;

namespace {

const std::string kData = std::string(CORVANE_SOURCE_DIR) + "/tests/data/splash/";
const QString kUntitledTitle = "untitled.pdb - Corvane Desktop for Treo 650/700p";

QString LabelText(const SplashEditorWindow& w, const QString& id) { return Widget<QLabel>(w, id)->text(); }
QPushButton* Button(const SplashEditorWindow& w, const QString& id) { return Widget<QPushButton>(w, id); }
QAction* Action(const SplashEditorWindow& w, const QString& id) { return Widget<QAction>(w, id); }
void Click(const SplashEditorWindow& w, const QString& id) { Button(w, id)->click(); }

}  // namespace

class SplashEditorTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FailOnUnexpectedPrompts(); }

    void startsEmptyWithSaveCommandsDisabled() {
        ScriptedUser user;
        SplashEditorWindow w(&user);
        QCOMPARE(w.windowTitle(), kUntitledTitle);
        QCOMPARE(LabelText(w, ObjectName(ControlId::WelcomeSource)), QString("(no image)"));
        QCOMPARE(LabelText(w, ObjectName(ControlId::GoodbyeSource)), QString("(no image)"));
        QVERIFY(!Button(w, ObjectName(ControlId::SaveWelcome))->isEnabled());
        QVERIFY(!Button(w, ObjectName(ControlId::SaveGoodbye))->isEnabled());
        QVERIFY(!Button(w, ObjectName(ControlId::Save))->isEnabled());
        QVERIFY(!Action(w, ObjectName(ControlId::Save))->isEnabled());
        QVERIFY(!Action(w, ObjectName(ControlId::SaveAs))->isEnabled());
        QVERIFY(Action(w, ObjectName(ControlId::Open))->isEnabled());
        // The menu shows "E&xit\tEsc"; the key is the item's shortcut, not part of its name.
        QCOMPARE(Action(w, ObjectName(ControlId::Exit))->text() + '\t' + Action(w, ObjectName(ControlId::Exit))->shortcut().toString(), QString("E&xit\tEsc"));
        QCOMPARE(Action(w, ObjectName(ControlId::Accept))->text(), QString("&Work on Phone Application Skins"));
    }

    void loadingWelcomeEnablesOnlyItsSaveButtonAndMarksTitle() {
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg");
        SplashEditorWindow w(&user);
        Click(w, ObjectName(ControlId::LoadWelcome));
        // The label may shorten a long path in its middle, wherever the checkout lies; its tooltip keeps it whole.
        const auto* label = Widget<QLabel>(w, ObjectName(ControlId::WelcomeSource));
        QVERIFY(label);
        QCOMPARE(label->toolTip(), QString::fromStdString(kData + "baseline-320x320.jpg"));
        QVERIFY(label->text().endsWith("/baseline-320x320.jpg"));
        QVERIFY(Button(w, ObjectName(ControlId::SaveWelcome))->isEnabled());
        QVERIFY(!Button(w, ObjectName(ControlId::SaveGoodbye))->isEnabled());
        QVERIFY(!Button(w, ObjectName(ControlId::Save))->isEnabled());
        QCOMPARE(w.windowTitle(), QString("untitled.pdb* - Corvane Desktop for Treo 650/700p"));
        QVERIFY(user.Unexpected().empty());
    }

    void wrongSizeShowsMessageAndNoImage() {
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x240.jpg");
        SplashEditorWindow w(&user);
        Click(w, ObjectName(ControlId::LoadWelcome));
        QCOMPARE(LabelText(w, ObjectName(ControlId::WelcomeSource)), QString("(no image)"));
        QCOMPARE(user.MessageTexts(),
                 std::vector<std::string>{"File " + kData + "baseline-320x240.jpg does not have dimension 320x320 (it has 320x240)."});
        QVERIFY(!Button(w, ObjectName(ControlId::SaveWelcome))->isEnabled());
    }

    void savingBothAsksForNameThenShowsIt() {
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg")
            .ChoosesFile(kData + "progressive-320x320.jpg")
            .ChoosesFile(dir.File("Summer.pdb"));
        SplashEditorWindow w(&user);
        Click(w, ObjectName(ControlId::LoadWelcome));
        Click(w, ObjectName(ControlId::LoadGoodbye));
        QVERIFY(Button(w, ObjectName(ControlId::Save))->isEnabled());
        QVERIFY(Action(w, ObjectName(ControlId::SaveAs))->isEnabled());
        Click(w, ObjectName(ControlId::Save));
        QCOMPARE(user.FileCalls().back().save, true);
        QCOMPARE(user.FileCalls().back().prompt.proposedName, std::string("untitled.pdb"));
        QCOMPARE(w.windowTitle(), QString("Summer.pdb - Corvane Desktop for Treo 650/700p"));
        QVERIFY(FileExists(dir.File("Summer.pdb")));
        QCOMPARE(user.MessageTexts().back(), std::string("Splash saved successfully."));
    }

    void saveWithoutImagesExplains() {
        ScriptedUser user;
        SplashEditorWindow w(&user);
        Action(w, ObjectName(ControlId::SaveAs))->setEnabled(true);  // the menu is greyed; reach the command anyway
        Action(w, ObjectName(ControlId::SaveAs))->trigger();
        Button(w, ObjectName(ControlId::SaveGoodbye))->setEnabled(true);
        Click(w, ObjectName(ControlId::SaveGoodbye));
        QCOMPARE(user.MessageTexts(),
                 (std::vector<std::string>{"You need to select both a welcome and a goodbye image prior to saving.",
                                           "You need to select a goodbye image prior to saving."}));
        QCOMPARE(user.Messages()[0].icon, MessageIcon::Warning);
        QCOMPARE(*user.Messages()[0].caption, std::string("corvane-desktop"));
    }

    void leavingUnchangedEndsAtOnce() {
        ScriptedUser user;
        SplashEditorWindow w(&user);
        Action(w, ObjectName(ControlId::Accept))->trigger();
        QCOMPARE(w.result(), int(QDialog::Accepted));
        SplashEditorWindow w2(&user);
        Click(w2, ObjectName(ControlId::Exit));
        QCOMPARE(w2.result(), int(QDialog::Rejected));
        QVERIFY(user.Messages().empty());
    }

    void exitQuestionCancelStaysNoLeaves() {
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg").Answers(Answer::Cancel).Answers(Answer::No);
        SplashEditorWindow w(&user);
        w.show();
        Click(w, ObjectName(ControlId::LoadWelcome));
        Click(w, ObjectName(ControlId::Exit));
        QVERIFY(w.isVisible());
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You changed the current splash file. Do you want to save your changes before exiting?"));
        QCOMPARE(user.Messages().back().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(user.Messages().back().icon, MessageIcon::Question);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void switchQuestionHasItsOwnText() {
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg").Answers(Answer::No);
        SplashEditorWindow w(&user);
        Click(w, ObjectName(ControlId::LoadGoodbye));
        Action(w, ObjectName(ControlId::Accept))->trigger();
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You changed the current splash. Do you want to save your changes before exiting?"));
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void yesWithAnImageMissingKeepsTheWindowOpen() {
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg").Answers(Answer::Yes);
        SplashEditorWindow w(&user);
        w.show();
        Click(w, ObjectName(ControlId::LoadWelcome));
        Click(w, ObjectName(ControlId::Exit));
        QCOMPARE(user.MessageTexts().back(),
                 std::string("You need to select both a welcome and a goodbye image prior to saving."));
        QVERIFY(w.isVisible());
    }

    void yesWithSaveCancelledKeepsTheWindowOpen() {
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg")
            .ChoosesFile(kData + "baseline-320x320.jpg")
            .Answers(Answer::Yes)
            .ChoosesFile(std::nullopt);
        SplashEditorWindow w(&user);
        w.show();
        Click(w, ObjectName(ControlId::LoadWelcome));
        Click(w, ObjectName(ControlId::LoadGoodbye));
        Click(w, ObjectName(ControlId::Exit));
        QVERIFY(w.isVisible());
        QVERIFY(w.Splash().IsModified());
        QVERIFY(user.ScriptUsedUp());
    }

    void yesAndSavedLeaves() {
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg")
            .ChoosesFile(kData + "baseline-320x320.jpg")
            .Answers(Answer::Yes)
            .ChoosesFile(dir.File("x.pdb"));
        SplashEditorWindow w(&user);
        w.show();
        Click(w, ObjectName(ControlId::LoadWelcome));
        Click(w, ObjectName(ControlId::LoadGoodbye));
        Action(w, ObjectName(ControlId::Accept))->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QVERIFY(FileExists(dir.File("x.pdb")));
    }

    void labelsNameTheImageHeldWithLongPathsElided() {
        TempDir dir;
        const auto folder = dir.Path() / std::string(120, 'd') / std::string(120, 'e');
        std::filesystem::create_directories(folder);
        const std::string longPath = (folder / "welcome.jpg").string();
        std::filesystem::copy_file(kData + "baseline-320x320.jpg", longPath);
        ScriptedUser user;
        user.ChoosesFile(longPath).ChoosesFile(kData + "baseline-320x240.jpg").ChoosesFile(kData + "baseline-320x240.jpg");
        SplashEditorWindow w(&user);
        Click(w, ObjectName(ControlId::LoadWelcome));
        auto* label = Widget<QLabel>(w, ObjectName(ControlId::WelcomeSource));
        QVERIFY(label->text().contains(QChar(0x2026)));
        QVERIFY(label->text().startsWith(QString::fromStdString(longPath.substr(0, 10))));
        QVERIFY(label->text().endsWith("welcome.jpg"));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
        QCOMPARE(label->toolTip(), QString::fromStdString(longPath));
        const QString shown = label->text();

        Click(w, ObjectName(ControlId::LoadWelcome));  // refused: the image held before stays, and so does its name
        QCOMPARE(label->text(), shown);
        QCOMPARE(label->toolTip(), QString::fromStdString(longPath));
        Click(w, ObjectName(ControlId::LoadGoodbye));  // refused with nothing held
        QCOMPARE(LabelText(w, ObjectName(ControlId::GoodbyeSource)), QString("(no image)"));
        QVERIFY(user.ScriptUsedUp());
    }

    void openingShowsSourcesAndFailedOpenKeepsThem() {
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFile(kData + "baseline-320x320.jpg")
            .ChoosesFile(kData + "progressive-320x320.jpg")
            .ChoosesFile(dir.File("Summer.pdb"));
        {
            SplashEditorWindow w(&user);
            Click(w, ObjectName(ControlId::LoadWelcome));
            Click(w, ObjectName(ControlId::LoadGoodbye));
            Click(w, ObjectName(ControlId::Save));
        }
        ScriptedUser reader;
        reader.ChoosesFile(dir.File("Summer.pdb")).ChoosesFile(kData + "baseline-320x320.jpg");
        SplashEditorWindow w(&reader);
        Click(w, ObjectName(ControlId::Open));
        QCOMPARE(LabelText(w, ObjectName(ControlId::WelcomeSource)), QString("(welcome image from Summer splash file)"));
        QCOMPARE(LabelText(w, ObjectName(ControlId::GoodbyeSource)), QString("(goodbye image from Summer splash file)"));
        QCOMPARE(w.windowTitle(), QString("Summer.pdb - Corvane Desktop for Treo 650/700p"));
        Action(w, ObjectName(ControlId::Open))->trigger();  // a JPEG is not a splash file
        QCOMPARE(reader.MessageTexts().back(), std::string("This is not a splash image file."));
        // The images held before stay, and the labels keep naming them.
        QCOMPARE(LabelText(w, ObjectName(ControlId::WelcomeSource)), QString("(welcome image from Summer splash file)"));
        QCOMPARE(LabelText(w, ObjectName(ControlId::GoodbyeSource)), QString("(goodbye image from Summer splash file)"));
        QVERIFY(Button(w, ObjectName(ControlId::SaveWelcome))->isEnabled());
    }
};

QTEST_MAIN(SplashEditorTest)
#include "SplashEditorTest.moc"
