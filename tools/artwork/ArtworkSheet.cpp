// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A contact sheet of the built-in pictures exactly as the core unpacks them:
// the 35 element defaults (small ones enlarged), the empty phone screen, the
// two previews the defaults make on it, and the logo.
//
//   artwork_sheet OUT.png
#include "model/DefaultArtwork.h"
#include "model/PreviewComposition.h"
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

// The previews as the editor composes them from the default pictures.
corvane::Image Preview(bool pressed) {
    std::vector<corvane::Image> defaults;
    corvane::ElementPictures elements{};
    for (const auto& e : corvane::kSkinElements) defaults.push_back(corvane::DefaultElementImage(e.element));
    for (std::size_t i = 0; i < defaults.size(); ++i) elements[i] = {&defaults[i], corvane::kPureGreen};
    corvane::Image canvas;
    corvane::ComposePreview(canvas, corvane::PreviewBackgroundImage(), elements, pressed);
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
    for (const corvane::Element e : corvane::kBitmapSetOrder) {
        const auto* element = &corvane::ElementInfo(e);
        QImage picture = ToQImage(corvane::DefaultElementImage(e));
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
