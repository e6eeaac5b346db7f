// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin editor's "&Import/Export" menu: its items, and how each command
// refreshes the window.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "editor/SkinEditorWindow.h"
#include "exchange/BitmapSet.h"
#include "imaging/Bmp.h"
#include "io/FileAccess.h"
#include "model/PreviewComposition.h"
#include "support/FindWidget.h"
#include "support/NoWelcome.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/UnexpectedPrompt.h"
#include "imaging/Reduce.h"
#include "widgets/QtImage.h"
#include "widgets/RecentFiles.h"
#include "widgets/UndoHistory.h"

using namespace corvane;
using corvane::testing::FailOnUnexpectedPrompts;
using corvane::testing::NoWelcome;
using corvane::testing::ScriptedUser;
using corvane::testing::TempDir;
using corvane::testing::Widget;

namespace {

const QString kSuffix = " - Corvane Desktop for Treo 650/700p";

QImage Shown(const SkinEditorWindow& w, const QString& id) {
    return Widget<QLabel>(w, id)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}
QAction* Action(const SkinEditorWindow& w, const QString& id) { return Widget<QAction>(w, id); }

// Both pictures show the document's canvases as composed from the set of the depth.
void ExpectShownComposedAt(SkinEditorWindow& w, Depth depth) {
    SkinDocument copy = w.Document();
    ComposePreviews(copy, depth);
    QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)), ToQImage(copy.ReleasedPreview()));
    QCOMPARE(Shown(w, ObjectName(ControlId::PressedPreview)), ToQImage(copy.PressedPreview()));
}

}  // namespace

class ExchangeMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FailOnUnexpectedPrompts(); }

    void menuSitsBetweenFileAndAboutWithItsItems() {
        NoWelcome nw;
        ScriptedUser user;
        SkinEditorWindow w(&user, nw.Marker());
        QStringList menus;
        for (QAction* a : w.findChild<QMenuBar*>()->actions()) menus << a->text();
        QCOMPARE(menus, QStringList({"&File", "&Edit", "&View", "&Import/Export", "&?"}));

        const QList<QAction*> items = w.findChild<QMenuBar*>()->actions()[3]->menu()->actions();
        QStringList shown;
        for (QAction* a : items) shown << (a->isSeparator() ? "-" : a->objectName() + " " + a->text());
        QCOMPARE(shown, QStringList({"32781 &Export Bitmaps...", "32798 E&xport Dialpad Bitmaps...",
                                     "32787 Ex&port Preview...", "-", "32780 &Import Bitmaps...",
                                     "32810 Export &Layered Image...", "32811 Import L&ayered Image...",
                                     "32797 I&mport Dialpad Bitmaps...", "32796 I&nsert Background Image...", "-",
                                     "dither pictures &Dither Pictures"}));
    }

    // Over a folder holding a set, one answer can do for all, and Cancel
    // stops with what was written so far and no warning.
    void overwriteQuestionsAnswerForAllOrStop() {
        const struct {
            const char* name;
            std::vector<Answer> answers;
            int rewritten;
        } rows[] = {
            {"Yes to All", {Answer::YesToAll}, kElementCount},
            {"Yes, then Cancel", {Answer::Yes, Answer::Cancel}, 1},
            {"No, then Cancel", {Answer::No, Answer::Cancel}, 0},
            {"Cancel", {Answer::Cancel}, 0},
        };
        for (const auto& row : rows) {
            NoWelcome nw;
            TempDir dir;
            const std::vector<std::uint8_t> old{'o', 'l', 'd'};
            for (const SkinElement& e : kSkinElements) testing::WriteBytes(dir.File(std::string(e.name) + ".bmp"), old);
            ScriptedUser user;
            user.ChoosesFolder(dir.Path().string());
            for (Answer a : row.answers) user.Answers(a);
            SkinEditorWindow w(&user, nw.Marker());
            Action(w, ObjectName(ControlId::ExportBitmaps))->trigger();
            int rewritten = 0;
            for (const SkinElement& e : kSkinElements)
                rewritten += testing::ReadBytes(dir.File(std::string(e.name) + ".bmp")) != old;
            QVERIFY2(rewritten == row.rewritten, row.name);
            QVERIFY2(user.Messages().size() == row.answers.size(), row.name);  // the questions, no warning
            QCOMPARE(user.Messages().front().buttons, MessageButtons::YesYesToAllNoCancel);
            QVERIFY2(user.ScriptUsedUp(), row.name);
        }
    }

    // Export, change one file outside, import: both previews show the change.
    void importBitmapsMarksModifiedAndRecomposesBothPreviews() {
        NoWelcome nw;
        TempDir dir;
        ScriptedUser user;
        user.ChoosesFolder(dir.Path().string()).ChoosesFolder(dir.Path().string()).ChoosesFolder(std::nullopt);
        SkinEditorWindow w(&user, nw.Marker());
        Action(w, ObjectName(ControlId::ExportBitmaps))->trigger();
        QVERIFY(FileExists(dir.File("titlebar.bmp")));
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);  // exporting changes nothing
        QVERIFY(WriteBmpFile(Image(320, 30, Colour{255, 0, 0}), dir.File("titlebar.bmp")));

        Action(w, ObjectName(ControlId::ImportBitmaps))->trigger();
        QCOMPARE(w.windowTitle(), "untitled.pdb*" + kSuffix);
        QCOMPARE(Shown(w, ObjectName(ControlId::ReleasedPreview)).pixelColor(10, 40), QColor(248, 0, 0));
        QCOMPARE(Shown(w, ObjectName(ControlId::PressedPreview)).pixelColor(10, 40), QColor(248, 0, 0));
        ExpectShownComposedAt(w, Depth::Sixteen);

        w.Document().ClearModified();
        w.Refresh();
        Action(w, ObjectName(ControlId::ImportBitmaps))->trigger();  // browser cancelled
        QCOMPARE(w.windowTitle(), "untitled.pdb*" + kSuffix);
        QVERIFY(user.Messages().empty());
        QVERIFY(user.ScriptUsedUp());
    }

    // A layered image painted outside: one undo step back to the skin before it.
    void importLayeredImageIsOneUndoStepAndRecomposesThePreviews() {
        NoWelcome nw;
        TempDir dir;
        const std::string path = dir.File("skin.ora");
        ScriptedUser user;
        user.ChoosesFile(path).ChoosesFile(path).ChoosesFile(std::nullopt);
        SkinEditorWindow w(&user, nw.Marker());
        Action(w, ObjectName(ControlId::ExportLayered))->trigger();
        QVERIFY(FileExists(path));
        QCOMPARE(w.windowTitle(), "untitled.pdb" + kSuffix);

        // What the file holds: the default pictures as the phone shows them at 16 bits.
        SkinDocument before = w.Document();
        for (ImageSlot& slot : before.Set(Depth::Sixteen)) slot.ReduceToDepth(Depth::Sixteen);
        w.Document().Slot(Depth::Sixteen, 33).CopyFrom(Image(320, 30, Colour{255, 0, 0}), 0, 0, Depth::Sixteen);
        Action(w, ObjectName(ControlId::ImportLayered))->trigger();
        QCOMPARE(w.windowTitle(), "untitled.pdb*" + kSuffix);
        QVERIFY(w.Document().Set(Depth::Sixteen) == before.Set(Depth::Sixteen));
        ExpectShownComposedAt(w, Depth::Sixteen);
        QVERIFY(user.Messages().empty());

        w.History().Undo();
        QCOMPARE(w.Document().Slot(Depth::Sixteen, 33).Picture().At(0, 0), (Colour{248, 0, 0}));
        Action(w, ObjectName(ControlId::ImportLayered))->trigger();  // prompt cancelled: nothing recorded
        QVERIFY(user.ScriptUsedUp());
    }

    // "Dither Pictures" is remembered for the next window, reduces what Import
    // Bitmaps brings in from then on, and stays as it is when the import is undone.
    void ditherPicturesIsRememberedAndAppliesToLaterImports() {
        // The other tests' windows read the setting too: none is left behind, whatever happens here.
        struct Forget {
            Forget() { QSettings(kSettingsOrganisation, kSettingsApplication).remove("options/dither"); }
            ~Forget() { QSettings(kSettingsOrganisation, kSettingsApplication).remove("options/dither"); }
        } forget;
        NoWelcome nw;
        TempDir dir;
        Image gradient(320, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 320; ++x)
                gradient.Set(x, y, Colour{static_cast<std::uint8_t>(x * 255 / 319), 90, static_cast<std::uint8_t>(y * 8)});
        ScriptedUser user;
        user.ChoosesFolder(dir.Path().string()).ChoosesFolder(dir.Path().string()).ChoosesFolder(dir.Path().string());
        {
            SkinEditorWindow w(&user, nw.Marker());
            QVERIFY(!Action(w, "dither pictures")->isChecked());
            QCOMPARE(w.Session().Dithering(), Dither::None);
            Action(w, ObjectName(ControlId::ExportBitmaps))->trigger();
            QVERIFY(WriteBmpFile(gradient, dir.File("titlebar.bmp")));
            Action(w, "dither pictures")->trigger();
            QCOMPARE(QSettings(kSettingsOrganisation, kSettingsApplication).value("options/dither").toString(),
                     QString("diffusion"));
        }
        SkinEditorWindow w(&user, nw.Marker());
        QVERIFY(Action(w, "dither pictures")->isChecked());
        const ImageSlot before = w.Document().Slot(Depth::Eight, Element::TitleBar);
        Action(w, ObjectName(ControlId::ImportBitmaps))->trigger();
        for (const Depth depth : kDepths) {
            Image expected = gradient;
            Colour transparent = kPureGreen;
            ReduceImageToDepth(expected, transparent, depth, Dither::Diffusion);
            QVERIFY(w.Document().Slot(depth, Element::TitleBar).Picture() == expected);
        }
        w.History().Undo();
        QVERIFY(w.Document().Slot(Depth::Eight, Element::TitleBar) == before);
        QVERIFY(Action(w, "dither pictures")->isChecked());

        // Off again: the next import is today's nearest-colour reduction.
        Action(w, "dither pictures")->trigger();
        QCOMPARE(QSettings(kSettingsOrganisation, kSettingsApplication).value("options/dither").toString(), QString("none"));
        Action(w, ObjectName(ControlId::ImportBitmaps))->trigger();
        Image exact = gradient;
        Colour transparent = kPureGreen;
        ReduceImageToDepth(exact, transparent, Depth::Eight);
        QVERIFY(w.Document().Slot(Depth::Eight, Element::TitleBar).Picture() == exact);
        QVERIFY(user.ScriptUsedUp());
        QVERIFY(user.Messages().empty());
    }

    // The dial-pad commands show the 16-bit composition; the title marks the change.
    void insertBackgroundShowsTheSixteenBitSetAndMarksTheTitle() {
        NoWelcome nw;
        TempDir dir;
        QVERIFY(WriteBmpFile(Image(306, 184, Colour{0, 0, 200}), dir.File("blue.bmp")));
        ScriptedUser user;
        user.Answers(Answer::Ok).ChoosesFile(dir.File("blue.bmp"));
        SkinEditorWindow w(&user, nw.Marker());
        Widget<QPushButton>(w, ObjectName(ControlId::EightBits))->click();
        // Sets that differ, so the picture tells which one was composed.
        w.Document().Slot(Depth::Eight, 33).CopyFrom(Image(320, 30, Colour{255, 0, 0}), 0, 0, Depth::Eight);
        const QImage before = Shown(w, ObjectName(ControlId::PressedPreview));

        Action(w, ObjectName(ControlId::InsertBackground))->trigger();
        QVERIFY(w.Document().IsModified());
        QCOMPARE(w.windowTitle(), "untitled.pdb*" + kSuffix);
        QVERIFY(Shown(w, ObjectName(ControlId::PressedPreview)) != before);
        ExpectShownComposedAt(w, Depth::Sixteen);
    }
};

QTEST_MAIN(ExchangeMenuTest)
#include "ExchangeMenuTest.moc"
