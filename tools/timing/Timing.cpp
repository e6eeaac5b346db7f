// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures the editor's two waits that a user notices:
//  - start: from process start to the start dialog painted on screen;
//  - open: from a skin file's bytes on disk to both previews recomposed and
//    handed to their picture controls (the program's own work in Open).
// Usage: corvane_timing start | open SKIN.pdb [ROUNDS]
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/CStartDlg.h"
#include "io/FileAccess.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"
#include "platform/QtPictureReader.h"
#include "widgets/QtImage.h"

namespace {

// Milliseconds since the kernel started this process.
double MillisecondsSinceProcessStart() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), {});
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) fields >> field;  // field 22: start time in clock ticks after boot
    const double startSeconds = std::stod(field) / double(sysconf(_SC_CLK_TCK));
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return (uptime - startSeconds) * 1000.0;
}

int MeasureStart(QApplication& app) {
    corvane::CStartDlg start([](corvane::EditorKind) { return false; });
    start.show();
    QTimer::singleShot(0, [&] {
        start.repaint();
        std::printf("start dialog shown after %.0f ms\n", MillisecondsSinceProcessStart());
        app.quit();
    });
    return app.exec();
}

int MeasureOpen(const std::string& path, int rounds) {
    QLabel released, pressed;
    double best = 1e9, total = 0, first = 0;
    for (int i = 0; i < rounds; ++i) {
        corvane::SkinDocument document;
        QElapsedTimer timer;
        timer.start();
        const auto bytes = corvane::ReadWholeFile(path);
        if (!bytes) return std::fprintf(stderr, "cannot read %s\n", path.c_str()), 1;
        corvane::ApplyDecodedSkin(corvane::DecodeSkinFile(*bytes), document);
        corvane::ComposePreviews(document, document.TargetDepth());
        released.setPixmap(QPixmap::fromImage(corvane::ToQImage(document.ReleasedPreview())));
        pressed.setPixmap(QPixmap::fromImage(corvane::ToQImage(document.PressedPreview())));
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (i == 0) first = ms;
        best = std::min(best, ms);
        total += ms;
    }
    std::printf("open to previews: first %.2f ms, best %.2f ms, mean %.2f ms over %d rounds\n", first, best,
                total / rounds, rounds);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    corvane::QtPictureReader::Install();
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "start") return MeasureStart(app);
    if (what == "open" && argc > 2) return MeasureOpen(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
    std::fprintf(stderr, "usage: corvane_timing start | open SKIN.pdb [ROUNDS]\n");
    return 2;
}
