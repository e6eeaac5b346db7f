// A contact sheet of the built-in pictures exactly as the core unpacks them:
// the 35 element defaults (small ones enlarged), the empty phone screen, the
// two previews the defaults make on it, and the logo.
//
//   artwork_sheet OUT.png
#include "model/DefaultArtwork.h"
#include "pdb/SkinCatalogue.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

QImage ToQImage(const corvane::Image& image) {
    QImage out(image.Width(), image.Height(), QImage::Format_RGB32);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const auto c = image.At(x, y);
            out.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    return out;
}

// Green is see-through for every default.
void DrawKeyed(corvane::Image& canvas, const corvane::Image& image, int x0, int y0) {
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (canvas.Contains(x0 + x, y0 + y) && image.At(x, y) != corvane::kPureGreen)
                canvas.Set(x0 + x, y0 + y, image.At(x, y));
}

corvane::Image Preview(bool pressed) {
    using corvane::DefaultElementImage;
    auto canvas = corvane::PreviewBackgroundImage();
    const int shift = pressed ? 12 : 0;
    DrawKeyed(canvas, DefaultElementImage(33), 0, 27);
    DrawKeyed(canvas, DefaultElementImage(34), 0, 57);
    const int keyOrder[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 0, 10};
    for (int k = 0; k < 12; ++k) DrawKeyed(canvas, DefaultElementImage(pressed ? 25 : 24), 6 + 102 * (k % 3), 90 + 46 * (k / 3));
    DrawKeyed(canvas, DefaultElementImage(31), 0, 280);
    DrawKeyed(canvas, DefaultElementImage(pressed ? 30 : 29), 2, 288);
    DrawKeyed(canvas, DefaultElementImage(pressed ? 30 : 29), 161, 288);
    DrawKeyed(canvas, DefaultElementImage(32), 150, 310);
    for (int k = 0; k < 12; ++k)
        DrawKeyed(canvas, DefaultElementImage(keyOrder[k] + shift), 6 + 102 * (k % 3), 90 + 46 * (k / 3));
    return canvas;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork_sheet OUT.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::vector<std::pair<QString, QImage>> items;
    for (int index : corvane::kBitmapSetOrder) {
        const auto* element = corvane::ElementByIndex(index);
        QImage picture = ToQImage(corvane::DefaultElementImage(index));
        const int scale = picture.width() <= 30 ? 4 : picture.width() <= 160 ? 2 : 1;
        picture = picture.scaled(picture.size() * scale);
        items.emplace_back(QString::fromUtf8(element->name.data(), static_cast<int>(element->name.size())) +
                               (scale > 1 ? QStringLiteral("  (x%1)").arg(scale) : QString()),
                           picture);
    }
    items.emplace_back(QStringLiteral("preview background"), ToQImage(corvane::PreviewBackgroundImage()));
    items.emplace_back(QStringLiteral("defaults, released"), ToQImage(Preview(false)));
    items.emplace_back(QStringLiteral("defaults, pressed"), ToQImage(Preview(true)));
    items.emplace_back(QStringLiteral("logo"), ToQImage(corvane::LogoPictureImage()));

    constexpr int kSheetWidth = 1400;
    constexpr int kGap = 14;
    constexpr int kCaption = 18;
    // lay out in rows, wrapping at the sheet width
    std::vector<QPoint> at;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const auto& [caption, picture] : items) {
        if (x + picture.width() > kSheetWidth - kGap) {
            x = kGap;
            y += rowHeight + kCaption + kGap;
            rowHeight = 0;
        }
        at.emplace_back(x, y);
        x += picture.width() + kGap;
        rowHeight = std::max(rowHeight, picture.height());
    }
    QImage sheet(kSheetWidth, y + rowHeight + kCaption + kGap, QImage::Format_RGB32);
    sheet.fill(QColor(236, 236, 236));
    QPainter p(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    p.setFont(font);
    for (std::size_t i = 0; i < items.size(); ++i) {
        p.drawImage(at[i], items[i].second);
        p.drawText(at[i].x(), at[i].y() + items[i].second.height() + 14, items[i].first);
    }
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
