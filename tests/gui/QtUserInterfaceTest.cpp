// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "support/ModalDriver.h"
#include "widgets/QtUserInterface.h"

using namespace corvane;
using corvane::testing::WhenModal;

class QtUserInterfaceTest : public QObject {
    Q_OBJECT
private slots:
    void filtersBecomeQtNameFilters() {
        QCOMPARE(QtNameFilters("Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||"),
                 (QStringList{"Skin File (*.pdb)", "All files (*)"}));
        QCOMPARE(QtNameFilters("Jpeg Image (*.jpg)|*.jpg|All files (*.*)|*.*||"),
                 (QStringList{"Jpeg Image (*.jpg)", "All files (*)"}));
    }

    // One caption for every box, also those whose text names their own.
    void applicationNameIsTheCaptionTheProgramShows() {
        QtUserInterface ui;
        QCOMPARE(QString::fromStdString(ui.ApplicationName()), QString("Corvane Desktop"));
    }

    void messageBoxShowsTextCaptionIconAndButtons() {
        QtUserInterface ui;
        QString text, title;
        QMessageBox::Icon icon{};
        QMessageBox::StandardButtons buttons;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* no = nullptr;
        WhenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            defaultButton = box->defaultButton();
            no = box->button(QMessageBox::No);
            box->button(QMessageBox::No)->click();
        });
        const Answer a = ui.ShowMessage(Message{"Reset all bitmaps anyway?", "corvane-desktop", MessageIcon::Question,
                                                MessageButtons::YesNo, Answer::No, true, {}});
        QCOMPARE(a, Answer::No);
        QCOMPARE(text, QString("Reset all bitmaps anyway?"));
        QCOMPARE(title, QString("corvane-desktop"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(defaultButton, no);
    }

    void yesNoCancelAnswersAndEscapeMeansCancel() {
        QtUserInterface ui;
        const Message question{"Save?", std::nullopt, MessageIcon::Question, MessageButtons::YesNoCancel, Answer::Yes,
                               false, {}};
        WhenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
        QCOMPARE(ui.ShowMessage(question), Answer::Yes);
        WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(ui.ShowMessage(question), Answer::Cancel);
    }

    // One question of many: four buttons, No the default; Esc stops as Cancel does.
    // The details go below the text, shown on request.
    void overwriteQuestionOffersYesToAllAndDetails() {
        QtUserInterface ui;
        const Message question{"Overwrite?", "Corvane Desktop", MessageIcon::Question, MessageButtons::YesYesToAllNoCancel,
                               Answer::No, false, "/tmp/x/0.bmp"};
        QString details;
        WhenModal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QCOMPARE(box->standardButtons(),
                     QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            details = box->detailedText();
            box->button(QMessageBox::YesToAll)->click();
        });
        QCOMPARE(ui.ShowMessage(question), Answer::YesToAll);
        QCOMPARE(details, QString("/tmp/x/0.bmp"));
        WhenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(ui.ShowMessage(question), Answer::Cancel);
    }

    void okCancelOffersBothAndEscapeMeansCancel() {
        QtUserInterface ui;
        const Message warning{"Backup?", std::nullopt, MessageIcon::Information, MessageButtons::OkCancel, Answer::Ok,
                              false, {}};
        WhenModal([](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QCOMPARE(ui.ShowMessage(warning), Answer::Cancel);
    }

    void saveDialogTakesDefaultExtensionAndConfirmation() {
        QtUserInterface ui;
        QTemporaryDir dir;
        bool confirms = false;
        QString suffix;
        QStringList filters;
        WhenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            suffix = dialog->defaultSuffix();
            filters = dialog->nameFilters();
            // Typed into the name field, as a user types: selectFile leaves that
            // field alone once it has the focus, which it gains sooner or later
            // depending on how busy the machine is.
            dialog->setDirectory(dir.path());
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText("Mine");
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto chosen = ui.AskSaveFile(FilePrompt{"", "Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||", "pdb",
                                                      "untitled.pdb", true, false, true});
        QVERIFY(chosen.has_value());
        QCOMPARE(QString::fromStdString(*chosen), dir.filePath("Mine.pdb"));
        QVERIFY(confirms);
        QCOMPARE(suffix, QString("pdb"));
        QCOMPARE(filters, (QStringList{"Skin File (*.pdb)", "All files (*)"}));
    }

    void cancelledOpenDialogGivesNothing() {
        QtUserInterface ui;
        WhenModal([](QWidget* w) { QMetaObject::invokeMethod(w, "reject"); });
        QVERIFY(!ui.AskOpenFile(FilePrompt{"Select image for '5'", "Windows Bitmap (*.bmp)|*.bmp|All files (*.*)|*.*||",
                                           "", "", false, true, true})
                     .has_value());
    }
};

QTEST_MAIN(QtUserInterfaceTest)
#include "QtUserInterfaceTest.moc"
