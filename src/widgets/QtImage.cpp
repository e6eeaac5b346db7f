// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/QtImage.h"

namespace corvane {

QImage ToQImage(const Image& image) {
    QImage out(image.Width(), image.Height(), QImage::Format_RGB32);
    for (int y = 0; y < image.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return out;
}

}  // namespace corvane
