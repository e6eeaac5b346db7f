// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Draws the program's built-in pictures and writes them in the packed form
// that src/model/DefaultArtwork.cpp embeds, plus the application icon as PNG.
//
//   draw_artwork REPO_ROOT
//
// Run by hand after changing a drawing; commit what it writes. The output
// depends on the font files named below, which is why the core never draws.
//
// Pictures that the phone keys with pure green (the key labels, the edge strip,
// the arrow) are drawn as a hard-edged mask over green: a pixel is either
// green or fully the artwork's own colour. A blended green-grey pixel would be
// opaque on the phone and show as a fringe around every glyph.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

namespace {

const QColor kGreen(0, 255, 0);

const char* const kBoldFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const kBookFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

QString g_boldFamily;
QString g_bookFamily;

QString LoadFont(const char* file) {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
    if (id < 0) {
        std::fprintf(stderr, "cannot load font %s\n", file);
        std::exit(1);
    }
    return QFontDatabase::applicationFontFamilies(id).value(0);
}

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath TextPath(const QFont& font, const QString& text) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Moves the path so that its bounding box is centred on (cx, cy).
QPainterPath CentredAt(const QPainterPath& path, double cx, double cy) {
    const QRectF box = path.boundingRect();
    return path.translated(cx - box.center().x(), cy - box.center().y());
}

// 0..255 per pixel: how much of the pixel the path covers.
std::vector<int> Coverage(const QPainterPath& path, int width, int height) {
    QImage mask(width, height, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(path, Qt::white);
    }
    std::vector<int> cover(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) cover[static_cast<std::size_t>(y * width + x)] = qAlpha(mask.pixel(x, y));
    return cover;
}

int Mix(int from, int to, int amount) { return from + ((to - from) * amount + 127) / 255; }

QColor MixColour(const QColor& from, const QColor& to, double t) {
    return QColor(static_cast<int>(std::lround(from.red() + (to.red() - from.red()) * t)),
                  static_cast<int>(std::lround(from.green() + (to.green() - from.green()) * t)),
                  static_cast<int>(std::lround(from.blue() + (to.blue() - from.blue()) * t)));
}

QImage Filled(int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// ---- key labels -------------------------------------------------------------

constexpr int kKeyWidth = 102;
constexpr int kKeyHeight = 46;
constexpr double kKeyMiddle = 22.5;  // the face's optical centre sits a little high of its shadow
constexpr double kDigitColumn = 29.0;
constexpr double kLettersLeft = 47.0;

constexpr int kDigitGrey = 38;
constexpr int kLettersGrey = 84;
constexpr int kEngraveGrey = 252;

// The glyph in dark greys over a light lip one pixel lower, which reads as
// lettering engraved into the key face. Both parts are greys, so blending
// between them is harmless; only the outline against green is hard.
QImage KeyLabel(const QPainterPath& major, const QPainterPath& minor) {
    const auto majorCover = Coverage(major, kKeyWidth, kKeyHeight);
    const auto minorCover = Coverage(minor, kKeyWidth, kKeyHeight);
    QPainterPath lip = major.united(minor).translated(0, 1);
    const auto lipCover = Coverage(lip, kKeyWidth, kKeyHeight);

    QImage image = Filled(kKeyWidth, kKeyHeight, kGreen);
    for (int y = 0; y < kKeyHeight; ++y) {
        for (int x = 0; x < kKeyWidth; ++x) {
            const auto i = static_cast<std::size_t>(y * kKeyWidth + x);
            if (std::max({majorCover[i], minorCover[i], lipCover[i]}) < 128) continue;
            int grey = kEngraveGrey;
            grey = Mix(grey, kLettersGrey, minorCover[i]);
            grey = Mix(grey, kDigitGrey, majorCover[i]);
            image.setPixelColor(x, y, QColor(grey, grey, grey));
        }
    }
    return image;
}

QPainterPath DigitPath(const QString& digit) {
    return CentredAt(TextPath(PixelFont(g_boldFamily, 31, true), digit), kDigitColumn, kKeyMiddle);
}

QPainterPath LettersPath(const QString& letters) {
    QPainterPath path = TextPath(PixelFont(g_boldFamily, 13, true), letters);
    const QRectF box = path.boundingRect();
    return path.translated(kLettersLeft - box.left(), kKeyMiddle - box.center().y());
}

// Two reels joined along their bottoms, the usual voicemail sign.
QPainterPath VoicemailPath() {
    const double r = 4.6;
    const double left = kLettersLeft + r + 1;
    const double right = left + 15;
    QPainterPath outline;
    outline.addEllipse(QPointF(left, kKeyMiddle), r, r);
    outline.addEllipse(QPointF(right, kKeyMiddle), r, r);
    outline.moveTo(left, kKeyMiddle + r);
    outline.lineTo(right, kKeyMiddle + r);
    QPainterPathStroker stroker;
    stroker.setWidth(2.4);
    return stroker.createStroke(outline).simplified();
}

QPainterPath PlusPath() {
    QPainterPath path = TextPath(PixelFont(g_boldFamily, 18, true), QStringLiteral("+"));
    const QRectF box = path.boundingRect();
    return path.translated(kLettersLeft - box.left(), kKeyMiddle - box.center().y());
}

QPainterPath AsteriskPath() {
    QPainterPath spokes;
    const double radius = 10.5;
    for (int k = 0; k < 3; ++k) {
        const double a = (90.0 + 60.0 * k) * M_PI / 180.0;
        spokes.moveTo(-radius * std::cos(a), -radius * std::sin(a));
        spokes.lineTo(radius * std::cos(a), radius * std::sin(a));
    }
    QPainterPathStroker stroker;
    stroker.setWidth(4.6);
    stroker.setCapStyle(Qt::RoundCap);
    return CentredAt(stroker.createStroke(spokes).simplified(), kKeyWidth / 2.0, kKeyMiddle);
}

QPainterPath HashPath() {
    return CentredAt(TextPath(PixelFont(g_boldFamily, 31, true), QStringLiteral("#")), kKeyWidth / 2.0, kKeyMiddle);
}

// ---- dial buttons -----------------------------------------------------------

const QRectF kFace(2.5, 2.5, 97.0, 40.0);
constexpr double kFaceRadius = 9.0;

QPainterPath FacePath(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, kFaceRadius, kFaceRadius);
    return path;
}

// The face is opaque: outside its rounded corners it shows the white of the
// phone screen rather than a see-through colour.
QImage DialButton(bool pressed) {
    QImage image = Filled(kKeyWidth, kKeyHeight, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    if (!pressed) {
        // a soft shadow under the raised face
        p.fillPath(FacePath(kFace.translated(0, 1.5)), QColor(150, 150, 150));
        p.fillPath(FacePath(kFace.translated(0, 0.8)), QColor(120, 120, 120));
    }
    const QRectF face = pressed ? kFace.translated(0, 1) : kFace;
    QLinearGradient shade(0, face.top(), 0, face.bottom());
    if (pressed) {
        shade.setColorAt(0, QColor(178, 178, 178));
        shade.setColorAt(1, QColor(192, 192, 192));
    } else {
        shade.setColorAt(0, QColor(252, 252, 252));
        shade.setColorAt(0.5, QColor(232, 232, 232));
        shade.setColorAt(1, QColor(208, 208, 208));
    }
    p.fillPath(FacePath(face), shade);

    // a bright rim along the upper edge of a raised face, a dark one inside a pressed one
    p.save();
    p.setClipRect(QRectF(0, 0, kKeyWidth, face.top() + face.height() * 0.45));
    p.setPen(QPen(pressed ? QColor(150, 150, 150) : QColor(255, 255, 255), 1.2));
    p.drawPath(FacePath(face.adjusted(1.2, 1.2, -1.2, -1.2)));
    p.restore();

    p.setPen(QPen(pressed ? QColor(96, 96, 96) : QColor(136, 136, 136), 1.0));
    p.drawPath(FacePath(face));
    return image;
}

// ---- speed dial -------------------------------------------------------------

constexpr int kBarWidth = 156;
constexpr int kBarHeight = 32;

// Square bars: the screen's own frame lines run along their sides.
QImage SpeedDialBar(const QColor& top, const QColor& bottom, const QColor& rim, const QColor& border) {
    QImage image = Filled(kBarWidth, kBarHeight, border);
    for (int y = 1; y < kBarHeight - 1; ++y) {
        const QColor row = y == 1 ? rim : MixColour(top, bottom, (y - 2) / double(kBarHeight - 4));
        for (int x = 1; x < kBarWidth - 1; ++x) image.setPixelColor(x, y, row);
    }
    return image;
}

// A hard-edged mask over green, coloured row by row.
QImage OnGreen(const QPainterPath& shape, int width, int height, const std::function<QColor(int x, int y)>& colourAt) {
    const auto cover = Coverage(shape, width, height);
    QImage image = Filled(width, height, kGreen);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (cover[static_cast<std::size_t>(y * width + x)] >= 128) image.setPixelColor(x, y, colourAt(x, y));
    return image;
}

QImage SpeedDialEdge() {
    QPainterPath strip;
    strip.addRoundedRect(QRectF(0, 0, 320, 8), 4, 4);
    const QColor top(150, 190, 245);
    const QColor bottom(30, 80, 190);
    return OnGreen(strip, 320, 8, [&](int, int y) { return y == 0 ? QColor(200, 225, 255) : MixColour(top, bottom, (y - 1) / 6.0); });
}

// White-rimmed so that it stands out on the light and on the dark buttons.
QImage SpeedDialArrow() {
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(18, 0);
    arrow.lineTo(9, 10);
    arrow.closeSubpath();
    QPainterPath inner;
    inner.moveTo(3.2, 1.4);
    inner.lineTo(14.8, 1.4);
    inner.lineTo(9, 7.9);
    inner.closeSubpath();
    const auto innerCover = Coverage(inner, 18, 10);
    return OnGreen(arrow, 18, 10, [&](int x, int y) {
        return innerCover[static_cast<std::size_t>(y * 18 + x)] >= 128 ? QColor(20, 60, 200) : QColor(255, 255, 255);
    });
}

// ---- preview background -----------------------------------------------------

QImage PreviewBackground() {
    QImage image = Filled(320, 320, Qt::white);
    QPainter p(&image);

    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(TextPath(PixelFont(g_boldFamily, 13, true), QString::fromUtf8("Network Search\u2026")).translated(5, 17),
               Qt::black);

    // battery, three bars full
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(289, 7, 23, 11);
    p.fillRect(313, 10, 3, 6, Qt::black);
    for (int k = 0; k < 3; ++k) p.fillRect(291 + 7 * k, 9, 6, 8, Qt::black);

    p.setPen(QColor(200, 200, 200));
    p.drawLine(0, 24, 319, 24);

    // the frames the two speed-dial buttons sit in
    p.setPen(QColor(0, 0, 200));
    p.drawRect(1, 286, 157, 33);
    p.drawRect(160, 286, 157, 33);
    return image;
}

// ---- logo and icon ----------------------------------------------------------

// A phone with a keypad on a blue tile: the mark of the logo and the icon.
void DrawMark(QPainter& p, const QRectF& tile) {
    const double u = tile.width() / 96.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient blue(0, tile.top(), 0, tile.bottom());
    blue.setColorAt(0, QColor(82, 160, 245));
    blue.setColorAt(1, QColor(18, 64, 172));
    QPainterPath tilePath;
    tilePath.addRoundedRect(tile, 20 * u, 20 * u);
    p.fillPath(tilePath, blue);

    const QRectF phone(tile.left() + 26 * u, tile.top() + 12 * u, 44 * u, 72 * u);
    QPainterPath body;
    body.addRoundedRect(phone, 9 * u, 9 * u);
    p.fillPath(body, Qt::white);

    const QRectF screen(phone.left() + 6 * u, phone.top() + 8 * u, phone.width() - 12 * u, 22 * u);
    QLinearGradient glass(0, screen.top(), 0, screen.bottom());
    glass.setColorAt(0, QColor(60, 130, 230));
    glass.setColorAt(1, QColor(20, 70, 180));
    QPainterPath screenPath;
    screenPath.addRoundedRect(screen, 3 * u, 3 * u);
    p.fillPath(screenPath, glass);

    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QPointF centre(screen.left() + (6 + col * 10) * u, screen.bottom() + (9 + row * 9.5) * u);
            QPainterPath dot;
            dot.addEllipse(centre, 3.2 * u, 3.2 * u);
            p.fillPath(dot, QColor(30, 80, 185));
        }
    p.restore();
}

QImage Logo() {
    QImage image = Filled(349, 122, Qt::white);
    QPainter p(&image);
    DrawMark(p, QRectF(12, 13, 96, 96));
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(TextPath(PixelFont(g_boldFamily, 46, true), QStringLiteral("Corvane")).translated(122, 64),
               QColor(22, 45, 95));
    p.fillPath(TextPath(PixelFont(g_bookFamily, 31, false), QStringLiteral("Desktop")).translated(124, 102),
               QColor(38, 108, 208));
    p.fillRect(QRectF(124, 76, 212, 2), QColor(38, 108, 208));
    return image;
}

QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const double margin = size >= 32 ? size / 32.0 : 0;
    DrawMark(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
    return image;
}

// ---- packed output ----------------------------------------------------------

// One line per row of (run length, palette index) pairs, so that a change
// to the drawing shows as a change to the rows it touched.
bool WritePacked(const QString& path, const QString& name, const QString& what, const QImage& image) {
    std::map<QRgb, int> indexOf;
    std::vector<QRgb> palette;
    auto index = [&](QRgb c) {
        c &= 0xFFFFFF;
        auto [it, added] = indexOf.try_emplace(c, static_cast<int>(palette.size()));
        if (added) palette.push_back(c);
        return it->second;
    };
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QStringList runs;
        int x = 0;
        while (x < image.width()) {
            const QRgb c = image.pixel(x, y);
            int n = 1;
            while (x + n < image.width() && image.pixel(x + n, y) == c) ++n;
            runs << QStringLiteral("%1,%2").arg(n).arg(index(c));
            x += n;
        }
        rows << QStringLiteral("    ") + runs.join(QLatin1Char(',')) + QLatin1Char(',');
    }
    if (palette.size() > 65535) return false;

    QStringList colours;
    for (std::size_t i = 0; i < palette.size(); i += 8) {
        QStringList line;
        for (std::size_t j = i; j < std::min(i + 8, palette.size()); ++j)
            line << QStringLiteral("0x%1").arg(palette[j], 6, 16, QLatin1Char('0'));
        colours << QStringLiteral("    ") + line.join(QStringLiteral(", ")) + QLatin1Char(',');
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
    QTextStream out(&file);
    // The licence lines every source file opens with (split, so that this
    // file's own are the only ones a licence checker reads here).
    out << "// SPDX-" "FileCopyrightText: 2026 The Corvane Desktop developers\n"
           "// SPDX-" "License-Identifier: GPL-3.0-or-later\n\n"
        << "// " << what << ", " << image.width() << " x " << image.height() << ".\n"
        << "// Drawn by tools/artwork/DrawArtwork.cpp: change the drawing there and rerun it.\n"
        << "inline constexpr std::uint32_t k" << name << "Palette[] = {\n"
        << colours.join(QLatin1Char('\n')) << "\n};\n"
        << "inline constexpr std::uint16_t k" << name << "Runs[] = {\n"
        << rows.join(QLatin1Char('\n')) << "\n};\n"
        << "inline constexpr PackedPicture k" << name << "{" << image.width() << ", " << image.height() << ", k" << name
        << "Palette, k" << name << "Runs};\n";
    return out.status() == QTextStream::Ok && file.flush();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_artwork REPO_ROOT\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_boldFamily = LoadFont(kBoldFontFile);
    g_bookFamily = LoadFont(kBookFontFile);

    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString packedDir = root.filePath(QStringLiteral("src/model/artwork"));
    const QString iconDir = root.filePath(QStringLiteral("src/resources"));
    QDir().mkpath(packedDir);
    QDir().mkpath(iconDir);

    struct Picture {
        QString name;
        QString what;
        QImage image;
    };
    const char* const kLetters[10] = {"", "", "ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ"};
    std::vector<Picture> pictures;
    for (int d = 0; d <= 9; ++d) {
        QPainterPath minor = d == 0   ? PlusPath()
                             : d == 1 ? VoicemailPath()
                                      : LettersPath(QString::fromLatin1(kLetters[d]));
        pictures.push_back({QStringLiteral("Key%1").arg(d), QStringLiteral("Key label \"%1\"").arg(d),
                            KeyLabel(DigitPath(QString::number(d)), minor)});
    }
    pictures.push_back({QStringLiteral("KeyHash"), QStringLiteral("Key label \"#\""), KeyLabel(HashPath(), {})});
    pictures.push_back({QStringLiteral("KeyStar"), QStringLiteral("Key label star"), KeyLabel(AsteriskPath(), {})});
    pictures.push_back({QStringLiteral("DialButton"), QStringLiteral("Dial button, released"), DialButton(false)});
    pictures.push_back({QStringLiteral("DialButtonPressed"), QStringLiteral("Dial button, pressed"), DialButton(true)});
    pictures.push_back({QStringLiteral("SpeedDialLight"), QStringLiteral("Speed-dial button, light"),
                        SpeedDialBar(QColor(212, 232, 255), QColor(172, 208, 250), QColor(236, 245, 255), QColor(80, 130, 205))});
    pictures.push_back({QStringLiteral("SpeedDialMiddle"), QStringLiteral("Speed-dial button, middle"),
                        SpeedDialBar(QColor(110, 160, 240), QColor(70, 120, 220), QColor(150, 190, 250), QColor(30, 70, 170))});
    pictures.push_back({QStringLiteral("SpeedDialDark"), QStringLiteral("Speed-dial button, dark"),
                        SpeedDialBar(QColor(30, 62, 190), QColor(10, 34, 150), QColor(70, 100, 210), QColor(0, 16, 110))});
    pictures.push_back({QStringLiteral("SpeedDialEdge"), QStringLiteral("Speed-dial edge strip"), SpeedDialEdge()});
    pictures.push_back({QStringLiteral("SpeedDialArrow"), QStringLiteral("Speed-dial arrow"), SpeedDialArrow()});
    pictures.push_back({QStringLiteral("PreviewBackground"), QStringLiteral("The empty phone screen"), PreviewBackground()});
    pictures.push_back({QStringLiteral("Logo"), QStringLiteral("Product logo"), Logo()});

    for (const auto& picture : pictures) {
        const QString file = QDir(packedDir).filePath(picture.name + QStringLiteral(".inc"));
        if (!WritePacked(file, picture.name, picture.what, picture.image)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    for (int size : {256, 48, 32, 16}) {
        const QString file = QDir(iconDir).filePath(QStringLiteral("app-icon-%1.png").arg(size));
        if (!Icon(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
