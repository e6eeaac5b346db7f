// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/StartDialog.h"
#include "support/FindWidget.h"
#include "support/ModalDriver.h"
#include "widgets/AboutDialog.h"
#include "widgets/WelcomeDialog.h"
#include "widgets/WelcomeMarker.h"

using namespace corvane;
using corvane::testing::WhenModal;
using corvane::testing::Widget;

class AppShellTest : public QObject {
    Q_OBJECT
private slots:
    void startDialogShowsChoices() {
        StartDialog start([](EditorKind) { return false; });
        QCOMPARE(start.windowTitle(), QString("Corvane Desktop"));
        auto* skins = Widget<QPushButton>(start, ObjectName(ControlId::StartSkins));
        auto* splash = Widget<QPushButton>(start, ObjectName(ControlId::StartSplash));
        QVERIFY(skins && splash);
        QCOMPARE(skins->text(), QString("Phone Application Skins"));
        QCOMPARE(splash->text(), QString("Splash Images"));
        QStringList labels;
        for (auto* l : start.findChildren<QLabel*>()) labels << l->text();
        QVERIFY(labels.contains("What would you like to work on?"));
        QVERIFY(labels.contains("Corvane Desktop\nVersion 3.3"));
    }

    void editorsAlternateUntilOneEndsTheProgram() {
        QList<EditorKind> runs;
        StartDialog start([&](EditorKind kind) {
            runs << kind;
            return runs.size() < 4;  // switch three times, then exit
        });
        start.show();
        QTest::mouseClick(Widget<QPushButton>(start, ObjectName(ControlId::StartSplash)), Qt::LeftButton);
        QCOMPARE(runs, (QList<EditorKind>{EditorKind::Splash, EditorKind::Skin, EditorKind::Splash, EditorKind::Skin}));
        QVERIFY(start.isHidden());
        QCOMPARE(start.result(), int(QDialog::Rejected));
    }

    void startDialogIsHiddenWhileTheEditorRuns() {
        bool visibleDuringEditor = true;
        StartDialog start([&](EditorKind) {
            visibleDuringEditor = start.isVisible();
            return false;
        });
        start.show();
        QTest::mouseClick(Widget<QPushButton>(start, ObjectName(ControlId::StartSkins)), Qt::LeftButton);
        QVERIFY(!visibleDuringEditor);
    }

    void escapeOnStartDialogStartsNoEditor() {
        int runs = 0;
        StartDialog start([&](EditorKind) { return ++runs, false; });
        WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(start.exec(), int(QDialog::Rejected));
        QCOMPARE(runs, 0);
    }

    void welcomeTickedAndOkCreatesMarkerBesideProgram() {
        QTemporaryDir program, config;
        WelcomeMarker marker(program.path(), config.path() + "/cfg");
        WhenModal([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Welcome"));
            Widget<QCheckBox>(w, ObjectName(ControlId::DoNotShowAgain))->setChecked(true);
            QTest::mouseClick(Widget<QPushButton>(w, ObjectName(ControlId::Accept)), Qt::LeftButton);
        });
        ShowWelcomeIfWanted(marker);
        QVERIFY(QFile::exists(program.filePath("no.welcome")));
        QVERIFY(marker.Exists());
    }

    void welcomeTickedAndEscapeCreatesNoMarker() {
        QTemporaryDir program, config;
        WelcomeMarker marker(program.path(), config.path());
        WhenModal([](QWidget* w) {
            Widget<QCheckBox>(w, ObjectName(ControlId::DoNotShowAgain))->setChecked(true);
            QTest::keyClick(w, Qt::Key_Escape);
        });
        ShowWelcomeIfWanted(marker);
        QVERIFY(!marker.Exists());
        QVERIFY(QDir(program.path()).isEmpty());
    }

    void welcomeOkWithoutTickCreatesNoMarker() {
        QTemporaryDir program, config;
        WelcomeMarker marker(program.path(), config.path());
        WhenModal([](QWidget* w) { QTest::mouseClick(Widget<QPushButton>(w, ObjectName(ControlId::Accept)), Qt::LeftButton); });
        ShowWelcomeIfWanted(marker);
        QVERIFY(!marker.Exists());
    }

    void markerGoesToConfigFolderWhenProgramFolderIsNotWritable() {
        QTemporaryDir base;
        const QString notAFolder = base.filePath("program-file");
        QFile(notAFolder).open(QIODevice::WriteOnly);
        WelcomeMarker marker(notAFolder, base.filePath("config/app"));
        marker.Create();
        QVERIFY(QFile::exists(base.filePath("config/app/no.welcome")));
        QVERIFY(marker.Exists());
    }

    void existingMarkerInEitherFolderSuppressesWelcome() {
        QTemporaryDir program, config;
        QFile(config.filePath("no.welcome")).open(QIODevice::WriteOnly);
        bool shown = false;
        QPointer<QTimer> watch = WhenModal([&](QWidget* w) {
            shown = true;
            w->close();
        });
        ShowWelcomeIfWanted(WelcomeMarker(program.path(), config.path()));
        QVERIFY(!shown);
        delete watch.data();
        QVERIFY(WelcomeMarker(config.path(), program.path()).Exists());
    }

    void aboutBoxTexts() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QString("About Corvane Desktop"));
        QStringList labels;
        for (auto* l : about.findChildren<QLabel*>()) labels << l->text();
        QVERIFY(labels.contains("Corvane Desktop for Treo 650/700p\nVersion 3.3\n\n"
                                "In case of questions, please consult the manual for contact information for support.\n\n"
                                "Free software under the GNU General Public License, version 3 or later. "
                                "It comes with no warranty."));
        QVERIFY(Widget<QPushButton>(about, ObjectName(ControlId::Accept)));
    }
};

QTEST_MAIN(AppShellTest)
#include "AppShellTest.moc"
