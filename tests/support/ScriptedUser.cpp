// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/ScriptedUser.h"

#include <gtest/gtest.h>

namespace corvane::testing {

namespace {
void FailTest(const std::string& what) { ADD_FAILURE() << what; }
}  // namespace

void (*ScriptedUser::onUnexpected)(const std::string& what) = FailTest;

void ScriptedUser::Unexpect(const std::string& what) {
    unexpected_.push_back(what);
    if (onUnexpected) onUnexpected(what);
}

std::vector<std::string> ScriptedUser::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages_) texts.push_back(m.text);
    return texts;
}

Answer ScriptedUser::ShowMessage(const Message& message) {
    messages_.push_back(message);
    if (message.buttons == MessageButtons::Ok) {
        // An OK-only box needs no script: it can only be acknowledged.
        return Answer::Ok;
    }
    if (answers_.empty()) {
        Unexpect("unexpected question: " + message.text);
        return Answer::Cancel;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<std::string> ScriptedUser::AskOpenFile(const FilePrompt& prompt) {
    fileCalls_.push_back({false, prompt});
    if (files_.empty()) {
        Unexpect("unexpected open-file prompt: " + prompt.filter);
        return std::nullopt;
    }
    auto f = files_.front();
    files_.pop_front();
    return f;
}

std::optional<std::string> ScriptedUser::AskSaveFile(const FilePrompt& prompt) {
    fileCalls_.push_back({true, prompt});
    if (files_.empty()) {
        Unexpect("unexpected save-file prompt: " + prompt.filter);
        return std::nullopt;
    }
    auto f = files_.front();
    files_.pop_front();
    return f;
}

std::optional<std::string> ScriptedUser::AskFolder(const std::string& title) {
    folderTitles_.push_back(title);
    if (folders_.empty()) {
        Unexpect("unexpected folder prompt: " + title);
        return std::nullopt;
    }
    auto f = folders_.front();
    folders_.pop_front();
    return f;
}

}  // namespace corvane::testing
