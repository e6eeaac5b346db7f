#include <QImage>
#include <QImageReader>
#include <QString>

#include "imaging/ImageFile.h"

namespace corvane {

std::optional<Image> DecodeImageFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(false);
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return std::nullopt;
    // The size comes from the decoded picture: the reader reports top-down files with a negative height.
    const QImage rgb = decoded.convertToFormat(QImage::Format_RGB32);
    Image image(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(qRed(line[x])), static_cast<std::uint8_t>(qGreen(line[x])),
                                   static_cast<std::uint8_t>(qBlue(line[x]))});
    }
    return image;
}

}  // namespace corvane
