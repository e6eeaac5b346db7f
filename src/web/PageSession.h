// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What both of the page's sessions share: the user's answers queued for the
// next command, the undo steps and the names the page shows. Session is
// SkinSession or SplashSession; it decides, this only hands over.
#pragma once

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <string>

#include "web/WebUserInterface.h"

namespace corvane {

template <class Session>
class PageSession {
public:
    PageSession() = default;
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // A path for the next prompt; null or undefined cancels it.
    void Choose(emscripten::val path) {
        user_.QueuePath(path.isString() ? std::optional(path.as<std::string>()) : std::nullopt);
    }
    bool Answer(std::string name) { return user_.QueueAnswer(name); }
    bool Modified() const { return session_.Document().IsModified(); }
    bool CanUndo() const { return session_.History().CanUndo(); }
    bool CanRedo() const { return session_.History().CanRedo(); }
    std::string UndoText() const { return session_.History().UndoText(); }
    std::string RedoText() const { return session_.History().RedoText(); }
    std::string Title() const { return session_.Title(); }
    std::string ShownName() const { return session_.ShownName(); }
    std::string FilePath() const { return session_.FilePath(); }
    bool SaveNeedsName() const { return session_.SaveNeedsName(); }

    // Binds these under `name`, the base the session's own class names.
    static void Bind(const char* name) {
        emscripten::class_<PageSession>(name)
            .function("choose", &PageSession::Choose)
            .function("answer", &PageSession::Answer)
            .function("modified", &PageSession::Modified)
            .function("canUndo", &PageSession::CanUndo)
            .function("canRedo", &PageSession::CanRedo)
            .function("undoText", &PageSession::UndoText)
            .function("redoText", &PageSession::RedoText)
            .function("title", &PageSession::Title)
            .function("fileName", &PageSession::ShownName)
            .function("filePath", &PageSession::FilePath)
            .function("saveNeedsName", &PageSession::SaveNeedsName);
    }

protected:
    emscripten::val Finish(const char* outcome) { return user_.Finish(outcome); }

    WebUserInterface user_;
    Session session_{user_};
};

}  // namespace corvane
