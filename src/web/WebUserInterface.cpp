// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/WebUserInterface.h"

#include <array>
#include <utility>

#include "model/ProgramText.h"
#include "web/PageFiles.h"

namespace corvane {
namespace {

using emscripten::val;

constexpr std::array<std::pair<Answer, const char*>, 5> kAnswerNames{{
    {Answer::Ok, "Ok"}, {Answer::Cancel, "Cancel"}, {Answer::Yes, "Yes"}, {Answer::No, "No"}, {Answer::YesToAll, "YesToAll"},
}};

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None: return "None";
        case MessageIcon::Information: return "Information";
        case MessageIcon::Warning: return "Warning";
        case MessageIcon::Error: return "Error";
        case MessageIcon::Question: return "Question";
    }
    return "None";
}

const char* ButtonsName(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return "Ok";
        case MessageButtons::OkCancel: return "OkCancel";
        case MessageButtons::YesNo: return "YesNo";
        case MessageButtons::YesNoCancel: return "YesNoCancel";
        case MessageButtons::YesYesToAllNoCancel: return "YesYesToAllNoCancel";
    }
    return "Ok";
}

// The answer that lets a command go no further: the core asks before it changes anything.
Answer Stopping(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return Answer::Ok;
        case MessageButtons::YesNo: return Answer::No;
        case MessageButtons::OkCancel:
        case MessageButtons::YesNoCancel:
        case MessageButtons::YesYesToAllNoCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

val MessageObject(const Message& message) {
    val object = val::object();
    object.set("text", WithUserNames(message.text));
    object.set("caption", message.caption ? val(*message.caption) : val::null());
    object.set("icon", IconName(message.icon));
    object.set("buttons", ButtonsName(message.buttons));
    object.set("defaultButton", AnswerName(message.defaultButton));
    object.set("details", WithUserNames(message.details));
    return object;
}

val OptionalText(const std::optional<std::string>& text) { return text ? val(*text) : val::null(); }

}  // namespace

const char* AnswerName(Answer answer) {
    for (const auto& [value, name] : kAnswerNames)
        if (value == answer) return name;
    return "Cancel";
}

bool WebUserInterface::QueueAnswer(const std::string& name) {
    for (const auto& [value, known] : kAnswerNames)
        if (name == known) {
            answers_.push_back(value);
            return true;
        }
    return false;
}

std::string WebUserInterface::ApplicationName() const { return std::string(kProgramCaption); }

Answer WebUserInterface::ShowMessage(const Message& message) {
    Answer answer = Answer::Ok;
    if (message.buttons != MessageButtons::Ok) {
        if (answers_.empty()) {
            // The page's to ask, not one of the messages the command showed.
            if (!question_) question_ = message;
            return Stopping(message.buttons);
        }
        answer = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({message, answer});
    return answer;
}

std::optional<std::string> WebUserInterface::NextPath(std::string kind, const FilePrompt& prompt) {
    std::optional<std::string> path;
    if (!paths_.empty()) {
        path = std::move(paths_.front());
        paths_.pop_front();
    }
    prompts_.push_back({std::move(kind), prompt, path});
    return path;
}

std::optional<std::string> WebUserInterface::AskOpenFile(const FilePrompt& prompt) { return NextPath("open", prompt); }

std::optional<std::string> WebUserInterface::AskSaveFile(const FilePrompt& prompt) { return NextPath("save", prompt); }

std::optional<std::string> WebUserInterface::AskFolder(const std::string& title) {
    FilePrompt prompt;
    prompt.title = title;
    return NextPath("folder", prompt);
}

val WebUserInterface::Finish(const std::string& outcome) {
    val result = val::object();
    result.set("outcome", outcome);
    val messages = val::array();
    for (const Shown& shown : shown_) {
        val object = MessageObject(shown.message);
        object.set("answer", AnswerName(shown.answer));
        messages.call<void>("push", object);
    }
    result.set("messages", messages);
    result.set("question", question_ ? MessageObject(*question_) : val::null());
    val prompts = val::array();
    for (const Prompted& p : prompts_) {
        val object = val::object();
        object.set("kind", p.kind);
        object.set("title", p.prompt.title);
        object.set("filter", p.prompt.filter);
        object.set("defaultExtension", p.prompt.defaultExtension);
        object.set("proposedName", p.prompt.proposedName);
        object.set("answered", OptionalText(p.answered));
        prompts.call<void>("push", object);
    }
    result.set("prompts", prompts);
    paths_.clear();
    answers_.clear();
    shown_.clear();
    question_.reset();
    prompts_.clear();
    return result;
}

}  // namespace corvane
