// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A user who answers from a script and remembers everything asked of them.
// Each prompt pops the next scripted answer of its kind; a prompt with no
// answer left fails the test, so a command that asks more than expected is caught.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/UserInterface.h"

namespace corvane::testing {

class ScriptedUser : public UserInterface {
public:
    struct FileCall {
        bool save = false;
        FilePrompt prompt;
    };

    // Script
    ScriptedUser& Answers(Answer answer) { answers_.push_back(answer); return *this; }
    ScriptedUser& ChoosesFile(std::optional<std::string> path) { files_.push_back(std::move(path)); return *this; }
    ScriptedUser& ChoosesFolder(std::optional<std::string> path) { folders_.push_back(std::move(path)); return *this; }

    // Record
    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<FileCall>& FileCalls() const { return fileCalls_; }
    const std::vector<std::string>& FolderTitles() const { return folderTitles_; }
    // The texts of all messages shown, in order.
    std::vector<std::string> MessageTexts() const;
    // True when every scripted answer was used.
    bool ScriptUsedUp() const { return answers_.empty() && files_.empty() && folders_.empty(); }
    // Prompts that came when the script had no answer left for them.
    const std::vector<std::string>& Unexpected() const { return unexpected_; }

    // Called for every unexpected prompt; by default a GoogleTest failure.
    // Tests under another framework replace it (and check Unexpected()).
    static void (*onUnexpected)(const std::string& what);

    // UserInterface
    std::string ApplicationName() const override { return "corvane-desktop"; }
    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> AskOpenFile(const FilePrompt& prompt) override;
    std::optional<std::string> AskSaveFile(const FilePrompt& prompt) override;
    std::optional<std::string> AskFolder(const std::string& title) override;

private:
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::deque<std::optional<std::string>> folders_;
    std::vector<Message> messages_;
    std::vector<FileCall> fileCalls_;
    std::vector<std::string> folderTitles_;
    std::vector<std::string> unexpected_;

    void Unexpect(const std::string& what);
};

}  // namespace corvane::testing
