// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <algorithm>
#include <span>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "imaging/Png.h"
#include "io/FileAccess.h"
#include "platform/QtPictureReader.h"

namespace corvane {
namespace {

// The toolkit's own cap on a decoded picture, in MiB: 4 bytes a pixel for the
// largest picture accepted. Formats the header check does not know are held to it.
constexpr int kDecodedLimitMiB = static_cast<int>(kMaxPicturePixels * 4 >> 20);
// Rows converted at a time: the picture is never held twice by the toolkit.
constexpr std::size_t kBandPixels = std::size_t{1} << 20;

ImageFileResult Refused(ImageFileProblem problem, std::uint64_t width = 0, std::uint64_t height = 0) {
    ImageFileResult result;
    result.problem = problem;
    result.width = width;
    result.height = height;
    return result;
}

ImageFileProblem FromReadProblem(ReadProblem problem) {
    switch (problem) {
        case ReadProblem::NotRegularFile: return ImageFileProblem::NotRegularFile;
        case ReadProblem::TooLarge: return ImageFileProblem::FileTooLarge;
        default: return ImageFileProblem::CouldNotOpen;
    }
}

// Naming the two everyday formats up front spares the reader from loading
// every image-format plugin to sniff the content, which costs more than the decoding.
QByteArray FormatOf(std::span<const std::uint8_t> head) {
    if (IsBmp(head)) return "bmp";
    if (IsPng(head)) return "png";
    return {};
}

// Rows of `rgb` from its top, as many as fit, into the image from row `top` on.
void CopyRows(const QImage& rgb, int top, Image& image) {
    const int rows = std::min(rgb.height(), image.Height() - top);
    const int columns = std::min(rgb.width(), image.Width());
    for (int y = 0; y < rows; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < columns; ++x)
            image.Set(x, top + y, Colour{static_cast<std::uint8_t>(qRed(line[x])), static_cast<std::uint8_t>(qGreen(line[x])),
                                         static_cast<std::uint8_t>(qBlue(line[x]))});
    }
}

// Not premultiplied: a pixel's colour stays what the file says, whatever its alpha,
// as the alpha byte of a 32-bit BMP has always been ignored.
Image ToImage(const QImage& decoded, int maxWidth, int maxHeight) {
    // The size comes from the decoded picture: the reader reports top-down files with a negative height.
    Image image(std::min(decoded.width(), maxWidth), std::min(decoded.height(), maxHeight));
    if (decoded.format() == QImage::Format_RGB32 || decoded.format() == QImage::Format_ARGB32) {
        CopyRows(decoded, 0, image);
        return image;
    }
    if (image.Empty()) return image;
    const int band = static_cast<int>(std::max<std::size_t>(1, kBandPixels / static_cast<std::size_t>(image.Width())));
    for (int top = 0; top < image.Height(); top += band) {
        const int rows = std::min(band, image.Height() - top);
        CopyRows(decoded.copy(0, top, image.Width(), rows).convertToFormat(QImage::Format_ARGB32), top, image);
    }
    return image;
}

}  // namespace

ImageFileResult QtPictureReader::Read(const std::string& path, int maxWidth, int maxHeight) const {
    FileRead read = ReadFileAtMost(path, kPictureFileLimit);
    if (!read.Ok()) {
        ImageFileResult refused = Refused(FromReadProblem(read.problem));
        refused.error = read.error;
        return refused;
    }
    const PictureHeader header = CheckPictureFile(read.bytes);
    if (auto refused = RefusalOf(header)) return std::move(*refused);
    // Qt shifts bit-field channels where they must be scaled (a 16-bit white would read as
    // F8 FC F8), so those BMPs are read by our own reader.
    if (auto bitFields = DecodeBitFieldBmp(read.bytes, maxWidth, maxHeight)) return std::move(*bitFields);

    // The toolkit reads the file itself, so the file's bytes, its decoded copy
    // and ours are never all held at once.
    const QByteArray format = FormatOf(read.bytes);
    read.bytes = std::vector<std::uint8_t>();  // gives the memory back, as clear() would not
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly)) return Refused(ImageFileProblem::CouldNotOpen);
    QImageReader reader(&file, format);
    if (!format.isEmpty()) reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kDecodedLimitMiB);
    if (header.check == PictureCheck::NotChecked) {
        const QSize size = reader.size();
        if (size.isValid() && std::uint64_t(size.width()) * std::uint64_t(size.height()) > kMaxPicturePixels)
            return Refused(ImageFileProblem::TooManyPixels, std::uint64_t(size.width()), std::uint64_t(size.height()));
    }
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull()) return Refused(ImageFileProblem::NotAPicture);
    return DecodedPicture(ToImage(decoded, std::max(maxWidth, 0), std::max(maxHeight, 0)), 0, 0);
}

void QtPictureReader::Install() {
    static const QtPictureReader reader;
    SetPictureReader(&reader);
}

}  // namespace corvane
