#include "support/ScriptedUser.h"

#include <gtest/gtest.h>

namespace corvane::testing {

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
        ADD_FAILURE() << "unexpected question: " << message.text;
        return Answer::Cancel;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<std::string> ScriptedUser::AskOpenFile(const FilePrompt& prompt) {
    fileCalls_.push_back({false, prompt});
    if (files_.empty()) {
        ADD_FAILURE() << "unexpected open-file prompt: " << prompt.title;
        return std::nullopt;
    }
    auto f = files_.front();
    files_.pop_front();
    return f;
}

std::optional<std::string> ScriptedUser::AskSaveFile(const FilePrompt& prompt) {
    fileCalls_.push_back({true, prompt});
    if (files_.empty()) {
        ADD_FAILURE() << "unexpected save-file prompt: " << prompt.title;
        return std::nullopt;
    }
    auto f = files_.front();
    files_.pop_front();
    return f;
}

std::optional<std::string> ScriptedUser::AskFolder(const std::string& title) {
    folderTitles_.push_back(title);
    if (folders_.empty()) {
        ADD_FAILURE() << "unexpected folder prompt: " << title;
        return std::nullopt;
    }
    auto f = folders_.front();
    folders_.pop_front();
    return f;
}

}  // namespace corvane::testing
