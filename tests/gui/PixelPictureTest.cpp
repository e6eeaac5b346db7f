// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Pictures at display scale factors above 1: every screen pixel must take
// the colour of a picture pixel, never a blend of neighbours.
#include <QApplication>
#include <QLabel>
#include <QSet>
#include <QStyle>
#include <QtTest>
#include <cstdlib>
#include <string>

#include "app/StartDialog.h"
#include "editor/ElementEditor.h"
#include "model/SkinSession.h"
#include "editor/SkinEditorWindow.h"
#include "editor/ColourChooser.h"
#include "support/FindWidget.h"
#include "support/ScriptedUser.h"
#include "support/Subprocess.h"
#include "widgets/QtImage.h"
#include "widgets/WelcomeMarker.h"

using namespace corvane;
using corvane::testing::ScriptedUser;
using corvane::testing::RowControl;
using corvane::testing::Widget;

namespace {

QSet<QRgb> ColoursOf(const QImage& image) {
    QSet<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) colours.insert(rgb.pixel(x, y));
    return colours;
}

// The colours the label shows on screen inside its picture, a device pixel
// clear of the picture's edges.
QSet<QRgb> ColoursShown(QLabel& label) {
    const QPixmap screen = label.grab();
    const qreal ratio = screen.devicePixelRatio();
    const QSize logical = label.pixmap().size();
    const QRect picture = QStyle::alignedRect(label.layoutDirection(), label.alignment(), logical, label.contentsRect());
    const QRect inside(QPoint(qCeil(picture.left() * ratio) + 1, qCeil(picture.top() * ratio) + 1),
                       QPoint(qFloor((picture.right() + 1) * ratio) - 2, qFloor((picture.bottom() + 1) * ratio) - 2));
    return ColoursOf(screen.toImage().copy(inside));
}

}  // namespace

class PixelPictureTest : public QObject {
    Q_OBJECT
private slots:
    void picturesAreNeverSmoothed() {
        QVERIFY2(QWidget().devicePixelRatio() > 1, "the display scale factor did not take effect");
        ScriptedUser user;
        QTemporaryDir marker;
        SkinEditorWindow editor(&user, WelcomeMarker(marker.path(), marker.path()));
        StartDialog start([](EditorKind) { return false; });

        QLabel* logo = nullptr;
        for (auto* label : start.findChildren<QLabel*>())
            if (!label->pixmap().isNull()) logo = label;
        QVERIFY(logo);

        for (QLabel* label : {Widget<QLabel>(editor, ObjectName(ControlId::ReleasedPreview)), Widget<QLabel>(editor, ObjectName(ControlId::PressedPreview)), logo}) {
            const QSet<QRgb> source = ColoursOf(label->pixmap().toImage());
            const QSet<QRgb> shown = ColoursShown(*label);
            QVERIFY2(!shown.isEmpty(), qPrintable(label->objectName()));
            QVERIFY2(source.contains(shown), qPrintable(QString("%1: %2 colours shown that the picture does not have")
                                                            .arg(label->objectName())
                                                            .arg((shown - source).size())));
        }
    }

    // The element editors' pictures (one image pixel per logical pixel) and the
    // chooser's (four per image pixel) draw their own slots.
    void elementPicturesAreNeverSmoothed() {
        ScriptedUser user;
        SkinSession session(user);
        SkinDocument& doc = session.Document();
        ElementEditor editor(kKeypadTextTable, session);
        ColourChooser chooser(doc.Slot(Depth::Sixteen, 5));
        editor.show();
        chooser.show();
        const QSet<QRgb> source = ColoursOf(ToQImage(doc.Slot(Depth::Sixteen, 5).Picture()));
        for (QWidget* picture : {Widget<QWidget>(editor, RowControl(Element::Key5, &ElementRow::picture)), Widget<QWidget>(chooser, ObjectName(ControlId::ChooserPicture))}) {
            const QPixmap screen = picture->grab();
            const qreal ratio = screen.devicePixelRatio();
            const int zoom = picture == Widget<QWidget>(editor, RowControl(Element::Key5, &ElementRow::picture)) ? 1 : 4;
            const QSize logical(102 * zoom, 46 * zoom);
            const QSet<QRgb> shown =
                ColoursOf(screen.toImage().copy(QRect(QPoint(0, 0), (QSizeF(logical) * ratio).toSize())));
            QVERIFY2(source.contains(shown), qPrintable(QString("%1: %2 colours shown that the picture does not have")
                                                            .arg(picture->objectName())
                                                            .arg((shown - source).size())));
        }
    }
};

// A display scale factor holds from the application's start: each factor
// runs in a process of its own.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) {
        int failures = 0;
        for (const char* factor : {"1.25", "1.5", "2"}) {
            const std::string run = std::string("QT_SCALE_FACTOR=") + factor + " " + corvane::testing::ShellQuote(argv[0]);
            failures += std::system(run.c_str()) != 0;
        }
        return failures == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    PixelPictureTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "PixelPictureTest.moc"
