// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser edition's view of the core: the module's functions, and the
// parts of both sessions that the page uses alike. The sessions themselves
// are in SkinBindings.cpp and SplashBindings.cpp; what they decide is the
// model's (SkinSession, SplashSession), what the page is asked comes through
// WebUserInterface.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "imaging/ImageFile.h"
#include "model/ProgramText.h"
#include "model/SplashFile.h"
#include "web/PageFiles.h"
#include "web/PageValues.h"

namespace corvane {

using emscripten::val;

val RgbaArray(const Image& image) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.Pixels().size() * 4);
    for (const Colour c : image.Pixels()) bytes.insert(bytes.end(), {c.r, c.g, c.b, 255});
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

val ByteArray(const std::vector<std::uint8_t>& bytes) {
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

std::optional<std::string> OptionalPath(const val& path) {
    return path.isString() ? std::optional(path.as<std::string>()) : std::nullopt;
}

namespace {

std::string UntitledPath() { return std::string(kUntitledPath); }
// The editor a staged file opens in, as the desktop's: "splash" or "skin".
std::string EditorFor(const std::string& path) { return OpensInSplashEditor(path) ? "splash" : "skin"; }
std::string Version() { return CORVANE_VERSION; }
std::string UserNamesIn(std::string text) { return WithUserNames(text); }
val PictureExtensions() {
    val extensions = val::array();
    for (const std::string_view extension : CorePictureExtensions()) extensions.call<void>("push", std::string(extension));
    return extensions;
}

}  // namespace
}  // namespace corvane

EMSCRIPTEN_BINDINGS(corvane) {
    using namespace emscripten;
    using namespace corvane;
    function("fileLimit", &FileLimit);
    function("tooLargeText", &TooLargeText);
    function("untitledPath", &UntitledPath);
    function("version", &Version);
    function("stageOversized", &StageOversized);
    function("editorFor", &EditorFor);
    function("endCommand", &EndCommand);
    function("withUserNames", &UserNamesIn);
    function("moduleMemory", &ModuleMemory);
    function("zipFolder", &ZipFolder);
    function("pictureExtensions", &PictureExtensions);
}
