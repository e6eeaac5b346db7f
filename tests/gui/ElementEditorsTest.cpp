// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QDropEvent>
#include <QGroupBox>
#include <QLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include "editor/ChooserPicture.h"
#include "editor/ColourSwatch.h"
#include "editor/ElementEditor.h"
#include "model/SkinSession.h"
#include "editor/ElementPicture.h"
#include "editor/SkinEditorWindow.h"
#include "editor/ColourChooser.h"
#include "imaging/Bmp.h"
#include "support/FindWidget.h"
#include "support/ModalDriver.h"
#include "support/NoWelcome.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/UnexpectedPrompt.h"

using namespace corvane;
using corvane::testing::FailOnUnexpectedPrompts;
using corvane::testing::NoWelcome;
using corvane::testing::ScriptedUser;
using corvane::testing::TempDir;
using corvane::testing::WhenModal;
using corvane::testing::RowControl;
using corvane::testing::Widget;

namespace {

constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kYellow{255, 255, 0};

template <class T = QPushButton>
T* Child(const QWidget* w, const QString& id) {
    return Widget<T>(w, id);
}

void Click(QWidget* w, const QString& id) { QTest::mouseClick(Child(w, id), Qt::LeftButton); }

// (QTest clicks the centre for a null point, so no test clicks at (0, 0).)
// Clicks screen point `at` of the chooser's picture, then closes the chooser with `button`.
void PickAndClose(QPoint at, const QString& button) {
    WhenModal([at, button](QWidget* chooser) {
        if (at.x() >= 0) QTest::mouseClick(Child<ChooserPicture>(chooser, ObjectName(ControlId::ChooserPicture)), Qt::LeftButton, {}, at);
        Click(chooser, button);
    });
}

// Three columns: red, blue, yellow; the slot's transparent colour stays green.
ImageSlot StripedSlot(int width = 3, int height = 2) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.Set(x, y, x == 0 ? kRed : x == 1 ? kBlue : kYellow);
    return ImageSlot(image, kPureGreen);
}

}  // namespace

class ElementEditorsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FailOnUnexpectedPrompts(); }

    void chooserPicksTheBlockUnderTheClick_data() {
        QTest::addColumn<QList<QPoint>>("clicks");
        QTest::addColumn<QString>("closeWith");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("offset 0 is column 0") << QList<QPoint>{{0, 1}} << ObjectName(ControlId::Accept) << true << QColor(255, 0, 0);
        QTest::newRow("offset 3 is column 0") << QList<QPoint>{{3, 7}} << ObjectName(ControlId::Accept) << true << QColor(255, 0, 0);
        QTest::newRow("offset 4 is column 1") << QList<QPoint>{{4, 0}} << ObjectName(ControlId::Accept) << true << QColor(0, 0, 255);
        QTest::newRow("offset 7 is column 1") << QList<QPoint>{{7, 4}} << ObjectName(ControlId::Accept) << true << QColor(0, 0, 255);
        QTest::newRow("OK without a click") << QList<QPoint>{} << ObjectName(ControlId::Accept) << true << QColor(0, 255, 0);
        // A yellow pick first, which clicks beside the 12 x 8 enlarged image must not replace.
        QTest::newRow("beside the image picks nothing") << QList<QPoint>{{10, 2}, {12, 0}, {40, 2}, {1, 8}} << ObjectName(ControlId::Accept)
                                                        << true << QColor(255, 255, 0);
        QTest::newRow("above the image picks nothing") << QList<QPoint>{{10, 2}, {2, -1}} << ObjectName(ControlId::Accept) << true
                                                       << QColor(255, 255, 0);
        QTest::newRow("Cancel after clicks") << QList<QPoint>{{0, 1}, {9, 1}} << ObjectName(ControlId::Exit) << false << QColor(0, 255, 0);
        QTest::newRow("Esc after a click") << QList<QPoint>{{5, 5}} << "esc" << false << QColor(0, 255, 0);
    }
    void chooserPicksTheBlockUnderTheClick() {
        QFETCH(QList<QPoint>, clicks);
        QFETCH(QString, closeWith);
        QFETCH(bool, stored);
        QFETCH(QColor, expected);
        ImageSlot slot = StripedSlot();
        ColourChooser chooser(slot);
        chooser.show();
        auto* picture = Child<ChooserPicture>(&chooser, ObjectName(ControlId::ChooserPicture));
        auto* swatch = Child<ColourSwatch>(&chooser, ObjectName(ControlId::ChosenColour));
        QCOMPARE(swatch->GetColour(), kPureGreen);
        for (const QPoint& p : clicks) QTest::mouseClick(picture, Qt::LeftButton, {}, p);
        const Colour shown = swatch->GetColour();
        if (closeWith == "esc") QTest::keyClick(&chooser, Qt::Key_Escape);
        else Click(&chooser, closeWith);
        QCOMPARE(chooser.result(), int(stored ? QDialog::Accepted : QDialog::Rejected));
        if (stored) QCOMPARE(shown, (Colour{uchar(expected.red()), uchar(expected.green()), uchar(expected.blue())}));
        const Colour want = stored ? shown : kPureGreen;
        QCOMPARE(slot.Transparent(), want);
    }

    // One colour, one name: the swatches of the editors and of the chooser
    // show the colour as the skin file stores it at the depth.
    void swatchesShowTheColourAsStored() {
        const struct {
            Depth depth;
            Colour transparent;
            const char* shown;
        } rows[] = {
            {Depth::Sixteen, kWhite, "#F8FCF8"},
            {Depth::Sixteen, Colour{248, 252, 248}, "#F8FCF8"},
            {Depth::Eight, kWhite, "#FFFFFF"},
            {Depth::Sixteen, kPureGreen, "#00FC00"},
            {Depth::Eight, kPureGreen, "#00FF00"},
            {Depth::Eight, Colour{250, 3, 7}, "#FF0000"},
        };
        constexpr Element kTitleBar = Element::TitleBar;
        for (const auto& row : rows) {
            const QString where = QString("%1 at %2 bits").arg(row.shown).arg(Bits(row.depth));
            ScriptedUser user;
            SkinSession session(user);
            SkinDocument& doc = session.Document();
            doc.SetTargetDepth(row.depth);
            doc.Slot(row.depth, kTitleBar).SetTransparent(row.transparent);
            ElementEditor editor(kTitleTable, session);
            auto* swatch = Widget<ColourSwatch>(editor, QString("swatch %1").arg(Index(kTitleBar)).toUtf8().constData());
            QVERIFY2(swatch, qPrintable(where));
            QVERIFY2(swatch->accessibleName() == row.shown, qPrintable(where));
            QVERIFY2(QColor(swatch->Shown().r, swatch->Shown().g, swatch->Shown().b).name().toUpper() == row.shown,
                     qPrintable(where));
            ColourChooser chooser(doc.Slot(row.depth, kTitleBar), nullptr, row.depth);
            QVERIFY2(Child<ColourSwatch>(&chooser, ObjectName(ControlId::ChosenColour))->accessibleDescription() == row.shown, qPrintable(where));
        }
    }

    // The instruction speaks of the arrow keys and Space: the first key already moves.
    void chooserTakesTheKeyboardAtOnce() {
        Image image(3, 2, kWhite);
        image.Set(1, 0, Colour{0, 0, 255});
        ImageSlot slot(image, kPureGreen);
        ColourChooser chooser(slot);
        chooser.show();
        QVERIFY(QTest::qWaitForWindowActive(&chooser));
        QCOMPARE(QApplication::focusWidget(), Child<ChooserPicture>(&chooser, ObjectName(ControlId::ChooserPicture)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        Click(&chooser, ObjectName(ControlId::Accept));
        QCOMPARE(slot.Transparent(), (Colour{0, 0, 255}));
    }

    void keypadTextGroupsSitInKeypadOrder() {
        ScriptedUser user;
        SkinSession session(user);
        SkinDocument& document = session.Document();
        ElementEditor dialog(kKeypadTextTable, session);
        dialog.show();
        dialog.layout()->activate();
        QMap<std::pair<int, int>, QString> titles;  // by row, then column
        for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
            titles[{group->y(), group->x()}] = group->title();
        QCOMPARE(titles.values(), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "Star", "0", "#"}));
    }

    void chooserReachesTheLastPixelOfAWideElement() {
        ImageSlot slot = StripedSlot(320, 30);
        Image image = slot.Picture();
        image.Set(319, 29, Colour{1, 2, 3});
        slot = ImageSlot(image, kPureGreen);
        ColourChooser chooser(slot);
        chooser.show();
        auto* scroller = chooser.findChild<QScrollArea*>();
        auto* picture = Child<ChooserPicture>(&chooser, ObjectName(ControlId::ChooserPicture));
        scroller->horizontalScrollBar()->setValue(scroller->horizontalScrollBar()->maximum());
        scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        QWidget* viewport = scroller->viewport();
        // The bottom-right corner the user sees is the last image pixel's block.
        const QPoint corner = picture->mapFrom(viewport, QPoint(viewport->width() - 1, viewport->height() - 1));
        QVERIFY2(corner.x() >= 319 * 4 && corner.y() >= 29 * 4, "the last pixel cannot be scrolled into view");
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(319 * 4 + 1, 29 * 4 + 1));
        Click(&chooser, ObjectName(ControlId::Accept));
        QCOMPARE(slot.Transparent(), (Colour{1, 2, 3}));
    }

    // Button 1068 of each editor that has one: the source's colour reaches its
    // listed elements at the current depth, whether the chooser was confirmed or not.
    void shareButtonCopiesAfterOkAndCancel_data() {
        QTest::addColumn<int>("table");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("bits");
        for (int t = 0; t < 3; ++t)
            for (bool confirm : {false, true}) {
                const int depth = t == 1 ? 8 : 16;
                QTest::newRow(qPrintable(QString("%1 %2").arg(t).arg(confirm ? "OK" : "Cancel")))
                    << t << confirm << depth;
            }
    }
    void shareButtonCopiesAfterOkAndCancel() {
        QFETCH(int, table);
        QFETCH(bool, confirm);
        QFETCH(int, bits);
        const Depth depth = *DepthOfBits(bits);
        const ElementDialogTable* tables[] = {&kKeypadButtonsTable, &kKeypadTextTable, &kSpeedDialTable};
        const ElementDialogTable& t = *tables[table];
        ScriptedUser user;
        SkinSession session(user);
        SkinDocument& doc = session.Document();
        doc.SetTargetDepth(depth);
        const Depth other = depth == Depth::Eight ? Depth::Sixteen : Depth::Eight;
        doc.Slot(depth, t.shareSource).SetTransparent(kBlue);
        ElementEditor dialog(t, session);
        dialog.show();
        // Block (0, 0) of every first element's default picture.
        const Colour firstPixel = doc.Slot(depth, t.shareSource).Picture().At(0, 0);
        PickAndClose(QPoint(1, 1), confirm ? ObjectName(ControlId::Accept) : ObjectName(ControlId::Exit));
        Click(&dialog, QString::number(kShareButtonId));
        const Colour want = confirm ? firstPixel : kBlue;
        QCOMPARE(doc.Slot(depth, t.shareSource).Transparent(), want);
        QCOMPARE(int(t.shareTargets.size()), table == 0 ? 1 : table == 1 ? 23 : 6);
        for (const Element target : t.shareTargets) {
            QCOMPARE(doc.Slot(depth, target).Transparent(), want);
            QCOMPARE(doc.Slot(other, target).Transparent(), SkinDocument().Slot(other, target).Transparent());
        }
        // The "*" follows the content: after Cancel too the others took a new colour.
        QVERIFY(doc.IsModified());
    }

    void loadButtonsAskForTheirOwnElement_data() {
        QTest::addColumn<int>("table");
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("title");
        QTest::newRow("schighlighted") << 2 << RowControl(Element::SpeedDialHighlighted, &ElementRow::load) << "Select image for 'Button highlighted'";
        QTest::newRow("eventbar") << 3 << RowControl(Element::EventBar, &ElementRow::load) << "Select image for 'Event Bar'";
        QTest::newRow("starpressed") << 1 << RowControl(Element::KeyStarPressed, &ElementRow::load) << "Select image for 'Star pressed'";
        QTest::newRow("dialbuttonpressed") << 0 << RowControl(Element::DialButtonPressed, &ElementRow::load) << "Select image for 'Button pressed'";
    }
    void loadButtonsAskForTheirOwnElement() {
        QFETCH(int, table);
        QFETCH(QString, load);
        QFETCH(QString, title);
        const ElementDialogTable* tables[] = {&kKeypadButtonsTable, &kKeypadTextTable, &kSpeedDialTable, &kTitleTable};
        ScriptedUser user;
        user.ChoosesFile(std::nullopt);
        SkinSession session(user);
        const SkinDocument& doc = session.Document();
        ElementEditor dialog(*tables[table], session);
        Click(&dialog, load);
        QCOMPARE(user.FileCalls().size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(user.FileCalls()[0].prompt.title), title);
        QVERIFY(!doc.IsModified());
    }

    void dropOfABmpLoadsLikeLoadImage() {
        TempDir dir;
        const std::string path = dir.File("red.bmp");
        QVERIFY(WriteBmpFile(Image(102, 46, kRed), path));
        ScriptedUser user;
        SkinSession session(user);
        SkinDocument& doc = session.Document();
        ElementEditor dialog(kKeypadTextTable, session);
        dialog.show();
        auto* picture = Child<ElementPicture>(&dialog, RowControl(Element::Key5, &ElementRow::picture));  // "5"
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &drop);
        QCOMPARE(doc.Slot(Depth::Eight, 5).Picture().At(50, 20), kRed);
        QCOMPARE(doc.Slot(Depth::Sixteen, 5).Picture().At(50, 20), (Colour{248, 0, 0}));
        QVERIFY(doc.IsModified());
        QCOMPARE(picture->grab().toImage().pixelColor(50, 20), QColor(248, 0, 0));
        // Nothing but the pictures takes drops.
        for (QWidget* w : dialog.findChildren<QWidget*>())
            if (w->acceptDrops()) QVERIFY(qobject_cast<ElementPicture*>(w));
        QVERIFY(!dialog.acceptDrops());
    }

    // From the main window: load "5" at 16 bits and pick its colour; the title
    // gains "*", and the 8-bit previews show the new picture too.
    void editKeypadTextThenSwitchDepth() {
        NoWelcome nw;
        TempDir dir;
        const std::string path = dir.File("red.bmp");
        QVERIFY(WriteBmpFile(Image(102, 46, kRed), path));
        ScriptedUser user;
        user.ChoosesFile(path);
        SkinEditorWindow w(&user, nw.Marker());
        const QString clean = w.windowTitle();

        WhenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        Click(&w, ObjectName(ControlId::EditTitleBars));  // nothing changed
        QCOMPARE(w.windowTitle(), clean);

        WhenModal([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Edit Keypad Text"));
            Click(dialog, RowControl(Element::Key5, &ElementRow::load));
            PickAndClose(QPoint(1, 1), ObjectName(ControlId::Accept));
            Click(dialog, RowControl(Element::Key5, &ElementRow::transparent));
            Click(dialog, ObjectName(ControlId::Accept));
        });
        Click(&w, ObjectName(ControlId::EditKeypadText));
        QVERIFY(user.ScriptUsedUp());
        QVERIFY(user.Messages().empty());
        QCOMPARE(w.windowTitle(), "untitled.pdb*" + clean.mid(12));
        QCOMPARE(w.Document().Slot(Depth::Sixteen, 5).Transparent(), (Colour{248, 0, 0}));
        QCOMPARE(w.Document().Slot(Depth::Eight, 5).Transparent(), kPureGreen);

        // Key "5" sits at (108, 136): see-through at 16 bits, where red is now
        // its transparent colour; solid red at 8 bits, where it is not.
        const auto shownAt = [&w](int x, int y) {
            return Widget<QLabel>(w, ObjectName(ControlId::ReleasedPreview))->pixmap().toImage().pixelColor(x, y);
        };
        QVERIFY(shownAt(158, 156) != QColor(248, 0, 0));
        Click(&w, ObjectName(ControlId::EightBits));
        QCOMPARE(shownAt(158, 156), QColor(255, 0, 0));
    }
};

QTEST_MAIN(ElementEditorsTest)
#include "ElementEditorsTest.moc"
