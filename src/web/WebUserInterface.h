// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The user interface of the browser edition. A page cannot hold a command
// while it shows a dialog, so a command runs on answers given beforehand:
// the paths for its file and folder prompts and the answers to its questions,
// queued by the page. A prompt without a path is cancelled; a question
// without an answer gets the one that stops the command (No, Cancel), which
// every question of the core asks before it changes anything, and is handed
// back so that the page can ask it and run the command again.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "model/UserInterface.h"

namespace corvane {

class WebUserInterface : public UserInterface {
public:
    // For the next file or folder prompt; nothing cancels it.
    void QueuePath(std::optional<std::string> path) { paths_.push_back(std::move(path)); }
    // For the next question; false for a name that is no answer.
    bool QueueAnswer(const std::string& name);

    std::string ApplicationName() const override;
    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> AskOpenFile(const FilePrompt& prompt) override;
    std::optional<std::string> AskSaveFile(const FilePrompt& prompt) override;
    std::optional<std::string> AskFolder(const std::string& title) override;

    // What the command did, for the page: {outcome, messages, question,
    // prompts}. Ends the command: what it left unused is dropped.
    emscripten::val Finish(const std::string& outcome);

private:
    struct Shown {
        Message message;
        Answer answer;
    };
    struct Prompted {
        std::string kind;
        FilePrompt prompt;
        std::optional<std::string> answered;
    };
    std::optional<std::string> NextPath(std::string kind, const FilePrompt& prompt);

    std::deque<std::optional<std::string>> paths_;
    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
    std::optional<Message> question_;
    std::vector<Prompted> prompts_;
};

// The page's names of the core's message kinds and answers.
const char* AnswerName(Answer answer);

}  // namespace corvane
