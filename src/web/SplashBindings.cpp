// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page's splash session: the splash editor's commands over SplashSession.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "model/SplashSession.h"
#include "web/PageSession.h"
#include "web/PageValues.h"

namespace corvane {

using emscripten::val;

class PageSplashSession : public PageSession<SplashSession> {
public:
    bool HasPicture(int which) const {
        const auto id = SplashPictureId(which);
        return id && session_.Document().HasImage(*id);
    }
    val PictureBytes(int which) const {
        const auto id = SplashPictureId(which);
        return id ? ByteArray(session_.Document().Picture(*id)->bytes) : val::null();
    }
    std::string PictureSource(int which) const {
        const auto id = SplashPictureId(which);
        return id ? session_.Document().Source(*id) : std::string();
    }

    val LoadPicture(int which) {
        const auto id = SplashPictureId(which);
        return Finish(Name(id ? session_.LoadPicture(*id) : SplashLoadOutcome::UnknownId));
    }
    val SavePicture(int which) {
        const auto id = SplashPictureId(which);
        return Finish(Name(id ? session_.SavePicture(*id) : SplashImageSaveOutcome::UnknownId));
    }
    val Open(val path) { return Finish(Name(session_.Open(OptionalPath(path)))); }
    val Save() { return Finish(Name(session_.Save())); }
    val SaveAs() { return Finish(Name(session_.SaveAs())); }
    // Exit (switching false) or the skin editor (true), each with its own question.
    val Close(bool switching) {
        return Finish(session_.MayLeave(switching ? Leaving::ToOtherEditor : Leaving::Program) ? "Closed" : "Stayed");
    }
    val Undo() { return Finish(session_.Undo() ? "Ok" : "Nothing"); }
    val Redo() { return Finish(session_.Redo() ? "Ok" : "Nothing"); }
};

}  // namespace corvane

EMSCRIPTEN_BINDINGS(corvane_splash) {
    using namespace emscripten;
    using namespace corvane;
    PageSession<SplashSession>::Bind("SplashSessionCommon");
    class_<PageSplashSession, base<PageSession<SplashSession>>>("SplashSession")
        .constructor<>()
        .function("hasPicture", &PageSplashSession::HasPicture)
        .function("pictureBytes", &PageSplashSession::PictureBytes)
        .function("pictureSource", &PageSplashSession::PictureSource)
        .function("loadPicture", &PageSplashSession::LoadPicture)
        .function("savePicture", &PageSplashSession::SavePicture)
        .function("open", &PageSplashSession::Open)
        .function("save", &PageSplashSession::Save)
        .function("saveAs", &PageSplashSession::SaveAs)
        .function("close", &PageSplashSession::Close)
        .function("undo", &PageSplashSession::Undo)
        .function("redo", &PageSplashSession::Redo);
}
