#include <algorithm>
#include <span>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include "exchange/BmpFile.h"
#include "imaging/ImageFile.h"
#include "pdb/FileAccess.h"

namespace corvane {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::optional<Image> DecodeWithQt(const std::vector<std::uint8_t>& bytes) {
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer);
    // Naming the two everyday formats up front spares the reader from loading
    // every image-format plugin to sniff the content, which costs more than the decoding.
    const std::span<const std::uint8_t> head(bytes.data(), std::min<std::size_t>(bytes.size(), 8));
    const bool bmp = head.size() >= 2 && head[0] == 'B' && head[1] == 'M';
    const bool png = head.size() == 8 && std::equal(head.begin(), head.end(), kPngSignature);
    if (bmp || png) {
        reader.setFormat(bmp ? "bmp" : "png");
        reader.setAutoDetectImageFormat(false);
    }
    reader.setAutoTransform(false);
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return std::nullopt;

    // Not premultiplied: a pixel's colour stays what the file says, whatever its alpha,
    // as the alpha byte of a 32-bit BMP has always been ignored.
    const QImage rgb = decoded.convertToFormat(QImage::Format_ARGB32);
    // The size comes from the decoded picture: the reader reports top-down files with a negative height.
    Image image(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(qRed(line[x])), static_cast<std::uint8_t>(qGreen(line[x])),
                                   static_cast<std::uint8_t>(qBlue(line[x]))});
    }
    return image;
}

}  // namespace

std::optional<Image> DecodeImageFile(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    // Qt shifts bit-field channels where they must be scaled (a 16-bit white would read as
    // F8 FC F8), so those BMPs are read by our own reader.
    auto bitFields = DecodeBitFieldBmp(*bytes);
    switch (bitFields.outcome) {
        case BitFieldBmp::Decoded: return std::move(bitFields.image);
        case BitFieldBmp::Refused: return std::nullopt;
        case BitFieldBmp::NotBitFields: break;
    }
    return DecodeWithQt(*bytes);
}

}  // namespace corvane
